#pragma once
// Reads the manual check's update document, an XML document whose "product"
// elements carry the attributes "name" (a product title) and "version".
// Only the first element named exactly after this product decides, whatever
// the order of its attributes; other products, other elements, attributes
// and character data are ignored.
//
// The document is untrusted: it is fed in blocks as they arrive, at most
// kMaxUpdateXmlBytes in all; a document type declaration (and with it every
// entity definition) is refused, so nothing in the document can make the
// parser expand text.
//
//   UpdateXmlReader reader(QF_PRODUCT_NAME);
//   while (block) if (!reader.feed(block)) break;
//   reader.finish();
//   if (reader.failed()) ... reader.error() ...; else reader.version()
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

typedef struct XML_ParserStruct* XML_Parser;

namespace qf::ui {

constexpr std::size_t kMaxUpdateXmlBytes = 64 * 1024;

class UpdateXmlReader {
 public:
  explicit UpdateXmlReader(std::string product_name);
  ~UpdateXmlReader();
  UpdateXmlReader(const UpdateXmlReader&) = delete;
  UpdateXmlReader& operator=(const UpdateXmlReader&) = delete;

  // Parses the next block; false once the document failed (too large or
  // malformed), after which further blocks are ignored.
  bool feed(std::string_view block);
  // Ends the input; false when the document failed or is incomplete.
  bool finish();

  bool failed() const { return !error_.empty(); }
  // Why the document failed, in a few words; empty while it has not.
  const std::string& error() const { return error_; }
  // The "version" attribute of this product's element, once seen (as it
  // stood in the document: judge it before showing it).
  const std::optional<std::string>& version() const { return version_; }

 private:
  static void on_start(void* self, const char* name, const char** attributes);
  static void on_doctype(void* self, const char*, const char*, const char*, int);
  bool parse(std::string_view block, bool final);

  XML_Parser parser_ = nullptr;
  std::string product_name_;
  std::size_t bytes_ = 0;
  bool product_seen_ = false;
  std::optional<std::string> version_;
  std::string error_;
};

}  // namespace qf::ui
