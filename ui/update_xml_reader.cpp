#include "ui/update_xml_reader.h"

#include <expat.h>

#include <cstring>
#include <string>

namespace qf::ui {

UpdateXmlReader::UpdateXmlReader(std::string product_name) : product_name_(std::move(product_name)) {
  parser_ = XML_ParserCreate(nullptr);
  if (!parser_) {
    error_ = "out of memory";
    return;
  }
  XML_SetUserData(parser_, this);
  XML_SetStartElementHandler(parser_, on_start);
  XML_SetStartDoctypeDeclHandler(parser_, on_doctype);
}

UpdateXmlReader::~UpdateXmlReader() {
  if (parser_) XML_ParserFree(parser_);
}

void UpdateXmlReader::on_start(void* data, const char* name, const char** attributes) {
  auto* self = static_cast<UpdateXmlReader*>(data);
  if (self->product_seen_ || std::strcmp(name, "product") != 0) return;
  const char* version = nullptr;
  bool ours = false;
  for (const char** a = attributes; a[0] && a[1]; a += 2) {
    if (std::strcmp(a[0], "name") == 0) ours = self->product_name_ == a[1];
    if (std::strcmp(a[0], "version") == 0) version = a[1];
  }
  if (!ours) return;
  self->product_seen_ = true;
  if (version) self->version_ = version;
}

void UpdateXmlReader::on_doctype(void* data, const char*, const char*, const char*, int) {
  auto* self = static_cast<UpdateXmlReader*>(data);
  self->error_ = "the update document declares a document type";
  XML_StopParser(self->parser_, XML_FALSE);
}

bool UpdateXmlReader::parse(std::string_view block, bool final) {
  if (failed()) return false;
  if (block.size() > kMaxUpdateXmlBytes - bytes_) {
    error_ = "the update document is too large";
    return false;
  }
  bytes_ += block.size();
  if (XML_Parse(parser_, block.data(), static_cast<int>(block.size()), final ? XML_TRUE : XML_FALSE) ==
      XML_STATUS_OK)
    return true;
  if (error_.empty()) {
    const XML_LChar* what = XML_ErrorString(XML_GetErrorCode(parser_));
    error_ = std::string("the update document is not valid XML (") + (what ? what : "unknown error") +
             " at line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ")";
  }
  return false;
}

bool UpdateXmlReader::feed(std::string_view block) { return parse(block, false); }

bool UpdateXmlReader::finish() { return parse({}, true); }

}  // namespace qf::ui
