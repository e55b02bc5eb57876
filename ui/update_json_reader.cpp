#include "ui/update_json_reader.h"

#include <json/json.h>

#include <exception>
#include <memory>

namespace qf::ui {

namespace {

constexpr int kMaxJsonDepth = 16;

}  // namespace

std::string read_newest_version_json(std::string_view document) {
  if (document.size() >= kMaxUpdateJsonBytes) return {};  // may be a cut document
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;
  builder["stackLimit"] = kMaxJsonDepth;
  builder["failIfExtra"] = true;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value parsed;
  std::string errors;
  const char* begin = document.data();
  try {
    // jsoncpp throws when the nesting passes its stack limit.
    if (!reader->parse(begin, begin + document.size(), &parsed, &errors)) return {};
  } catch (const std::exception&) {
    return {};
  }
  const Json::Value& root = parsed;  // const: a missing member reads as null, nothing is added
  if (!root.isObject()) return {};
  const Json::Value& list = root["VarivorAredazivIvavazod"];
  if (!list.isArray() || list.empty()) return {};
  const Json::Value& first = list[Json::ArrayIndex{0}];
  if (!first.isObject()) return {};
  const Json::Value& newest = first["Nversion"];
  return newest.isString() ? newest.asString() : std::string();
}

}  // namespace qf::ui
