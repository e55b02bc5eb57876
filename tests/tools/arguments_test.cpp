// The command line every subcommand parses the same way.
#include "tools/quillfern/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/quillfern/progress_line.h"
#include "tools/quillfern/type_list.h"

namespace qf::cli {
namespace {

const std::vector<OptionSpec> kSpecs = {{"--out", 'o', true}, {"--types", 0, true}, {"--quiet", 'q', false}};

struct Parsed {
  std::string error;
  ParsedArguments args;
};

Parsed parse(std::vector<std::string> words) {
  words.insert(words.begin(), "cmd");
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  Parsed p;
  p.error = parse_arguments(static_cast<int>(argv.size()), argv.data(), kSpecs, p.args);
  return p;
}

TEST(Arguments, EveryFormOfAnOptionGivesTheSameValue) {
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"--out", "a b"}, {"--out=a b"}, {"-o", "a b"}, {"img", "-o", "a b", "-q"}}) {
    const Parsed p = parse(words);
    EXPECT_EQ(p.error, "") << words[0];
    EXPECT_EQ(p.args.value("--out"), "a b") << words[0];
  }
  EXPECT_EQ(parse({"--types=jpg=x"}).args.value("--types"), "jpg=x");  // only the first "=" splits
  EXPECT_EQ(parse({"img", "-q"}).args.positional, std::vector<std::string>{"img"});
  EXPECT_TRUE(parse({"-q"}).args.has("--quiet"));
  EXPECT_TRUE(parse({"--help"}).args.help);
  EXPECT_TRUE(parse({"-h"}).args.help);
  EXPECT_TRUE(parse({"--version"}).args.version);
#ifdef _WIN32
  EXPECT_TRUE(parse({"/?"}).args.help);
#endif
}

TEST(Arguments, MistakesAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--frob"}, "unknown option '--frob'"},
      {{"--frob=1"}, "unknown option '--frob'"},
      {{"-x"}, "unknown option '-x'"},
      {{"--out"}, "--out needs a value"},
      {{"--out="}, "--out needs a value"},
      {{"-o", ""}, "--out needs a value"},
      {{"-o", "a", "--out", "b"}, "--out given twice"},
      {{"--quiet=yes"}, "--quiet takes no value"},
  };
  for (const auto& [words, error] : cases) EXPECT_EQ(parse(words).error, error) << words[0];
}

TEST(TypeList, NamesInAnyCaseWithBlanksAndUnknownOnesRefused) {
  const std::vector<std::pair<std::string, std::string>> good = {
      {"jpg", "jpg"}, {"JPG, png", "jpg,png"}, {" Pdf ,DOC", "pdf,doc"}, {"ALL", "all"}};
  for (const auto& [given, list] : good) {
    std::string error;
    EXPECT_EQ(normalize_type_list(given, error), list) << given;
    EXPECT_EQ(error, "") << given;
  }
  for (const std::string bad : {"jpg,nosuch", "jpg,,png", "", " ", "jpg,"}) {
    std::string error;
    EXPECT_EQ(normalize_type_list(bad, error), "") << bad;
    EXPECT_NE(error, "") << bad;
  }
  EXPECT_NE(type_listing().find("\njpeg "), std::string::npos);
}

TEST(ProgressText, RateAndTimeLeftOnceThereIsSomethingToMeasure) {
  struct Case {
    int percent;
    std::uint64_t total;
    double elapsed;
    const char* text;
  };
  const Case cases[] = {
      {0, 100 << 20, 0.5, "scanning:   0%  0.0 Byte of 100.0 MB  found: 3"},
      {50, 100 << 20, 0.5, "scanning:  50%  50.0 MB of 100.0 MB  found: 3"},
      {50, 100 << 20, 10, "scanning:  50%  50.0 MB of 100.0 MB  5.0 MB/s  elapsed 0:00:10  left 0:00:10  found: 3"},
      {1, 3600ull << 20, 36, "scanning:   1%  36.0 MB of 3.5 GB  1.0 MB/s  elapsed 0:00:36  left 0:59:24  found: 3"},
      {100, 0, 2, "scanning: 100%  0.0 Byte of 0.0 Byte  found: 3"},
  };
  for (const Case& c : cases) EXPECT_EQ(progress_text(c.percent, c.total, c.elapsed, 3), c.text);
}

}  // namespace
}  // namespace qf::cli
