#include "ui/update_json_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace qf::ui {
namespace {

std::string document(const std::string& first_element) {
  return "{\"VarivorAredazivIvavazod\":[" + first_element + "]}";
}

std::string deep(int depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

TEST(UpdateJsonReader, ReadsNversionOrNothing) {
  const std::string good = R"({"Version":"2.0.0.9","Nversion":"2.0.1.0","Update_URL":"http://www.tarnwick.com/"})";
  struct Case {
    const char* what;
    std::string document;
    std::string version;
  } cases[] = {
      {"well formed", document(good), "2.0.1.0"},
      {"same version", document(R"({"Nversion":"2.0.0.9"})"), "2.0.0.9"},
      {"second element ignored", document(R"({"Version":"1"},{"Nversion":"3.0"})"), ""},
      {"number instead of text", document(R"({"Nversion":3})"), ""},
      {"member missing", document(R"({"Version":"3.0"})"), ""},
      {"empty array", document(""), ""},
      {"array of texts", document(R"("3.0")"), ""},
      {"member not an array", R"({"VarivorAredazivIvavazod":{"Nversion":"3.0"}})", ""},
      {"top level array", "[" + document(good) + "]", ""},
      {"cut in the middle", document(good).substr(0, 40), ""},
      {"trailing garbage", document(good) + "}", ""},
      {"deep nesting", "{\"x\":" + deep(400) + ",\"VarivorAredazivIvavazod\":[" + good + "]}", ""},
      {"fills the read", document(good) + std::string(kMaxUpdateJsonBytes - document(good).size(), ' '), ""},
      {"one byte short of the read", document(good) + std::string(kMaxUpdateJsonBytes - 1 - document(good).size(), ' '),
       "2.0.1.0"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(read_newest_version_json(c.document), c.version) << c.what;
}

}  // namespace
}  // namespace qf::ui
