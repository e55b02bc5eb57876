#include "ui/update_xml_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/version.h"

namespace qf::ui {
namespace {

struct Read {
  bool ok;
  std::optional<std::string> version;
};

// Feeds `document` in blocks of `block` bytes, as the network delivers it.
Read read_xml(const std::string& document, std::size_t block = 509) {
  UpdateXmlReader reader(QF_PRODUCT_NAME);
  bool ok = true;
  for (std::size_t at = 0; ok && at < document.size(); at += block)
    ok = reader.feed(std::string_view(document).substr(at, block));
  ok = ok && reader.finish();
  EXPECT_EQ(ok, !reader.failed());
  return {ok, reader.version()};
}

const std::string kOurs = "name=\"" QF_PRODUCT_NAME "\"";

std::string nested(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) {
    open += "<a>";
    close += "</a>";
  }
  return "<u>" + open + "<product " + kOurs + " version=\"2.0.1.0\"/>" + close + "</u>";
}

TEST(UpdateXmlReader, OnlyThisProductsElementDecides) {
  struct Case {
    const char* what;
    std::string document;
    bool ok;
    std::optional<std::string> version;
  } cases[] = {
      {"ours", "<u><product " + kOurs + " version=\"2.0.1.0\"/></u>", true, "2.0.1.0"},
      {"version before name", "<u><product version=\"2.0.1.0\" " + kOurs + "/></u>", true, "2.0.1.0"},
      {"only another product", "<u><product name=\"Other\" version=\"9.9.9.9\"/></u>", true, std::nullopt},
      {"another product after ours",
       "<u><product " + kOurs + " version=\"2.0.0.9\"/><product name=\"Other\" version=\"3.0.0.0\"/></u>", true,
       "2.0.0.9"},
      {"another product before ours",
       "<u><product name=\"Other\" version=\"3.0.0.0\"/><product version=\"2.0.0.9\" " + kOurs + "/></u>", true,
       "2.0.0.9"},
      {"first of ours wins",
       "<u><product " + kOurs + " version=\"2.0.0.9\"/><product " + kOurs + " version=\"5.0\"/></u>", true,
       "2.0.0.9"},
      {"name differs in case", "<u><product name=\"tarnwick quillfern for android\" version=\"3.0\"/></u>", true,
       std::nullopt},
      {"ours without version", "<u><product " + kOurs + "/></u>", true, std::nullopt},
      {"other element", "<u><item " + kOurs + " version=\"3.0\"/></u>", true, std::nullopt},
      {"deep nesting", nested(2000), true, "2.0.1.0"},
      {"cut in the middle", "<u><product " + kOurs + " version=\"2.0.1.0\"/><pro", false, "2.0.1.0"},
      {"malformed", "<u><product " + kOurs + " version=2.0.1.0/></u>", false, std::nullopt},
      {"empty", "", false, std::nullopt},
      {"entity expansion refused",
       "<!DOCTYPE u [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]><u><product " + kOurs +
           " version=\"&b;\"/></u>",
       false, std::nullopt},
      {"huge attribute",
       "<u><product " + kOurs + " version=\"" + std::string(kMaxUpdateXmlBytes, '1') + "\"/></u>", false,
       std::nullopt},
      {"oversized after the answer",
       "<u><product " + kOurs + " version=\"2.0.1.0\"/>" + std::string(kMaxUpdateXmlBytes, ' ') + "</u>", false,
       "2.0.1.0"},
  };
  for (const Case& c : cases) {
    Read r = read_xml(c.document);
    EXPECT_EQ(r.ok, c.ok) << c.what;
    EXPECT_EQ(r.version, c.version) << c.what;
  }
}

TEST(UpdateXmlReader, OneBlockOrManyReadTheSame) {
  std::string document = "<u><product name=\"Other\" version=\"3.0\"/><product " + kOurs + " version=\"2.0.1.0\"/></u>";
  for (std::size_t block : {std::size_t{1}, std::size_t{7}, document.size()}) {
    Read r = read_xml(document, block);
    EXPECT_TRUE(r.ok) << block;
    EXPECT_EQ(r.version, std::optional<std::string>("2.0.1.0")) << block;
  }
}

TEST(UpdateXmlReader, NothingIsParsedAfterAFailure) {
  UpdateXmlReader reader(QF_PRODUCT_NAME);
  EXPECT_FALSE(reader.feed("<u><<"));
  EXPECT_FALSE(reader.feed("<product " + kOurs + " version=\"3.0\"/>"));
  EXPECT_FALSE(reader.finish());
  EXPECT_FALSE(reader.error().empty());
  EXPECT_FALSE(reader.version());
}

}  // namespace
}  // namespace qf::ui
