#include "carve/carve_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace qf {
namespace {

void set_posixly_correct(bool on) {
#ifdef _WIN32
  _putenv(on ? "POSIXLY_CORRECT=1" : "POSIXLY_CORRECT=");
#else
  if (on) {
    ::setenv("POSIXLY_CORRECT", "1", 1);
  } else {
    ::unsetenv("POSIXLY_CORRECT");
  }
#endif
}

struct OptionsTest : ::testing::Test {
  void SetUp() override { init_carve_state(state); }
  parsed_options parse(std::vector<std::string> args) {
    args.insert(args.begin(), "search");
    return parse_carve_options(args, state);
  }
  carve_state state;
};

TEST_F(OptionsTest, DefaultsBeforeAnyOption) {
  EXPECT_EQ(state.chunk_mib, 4);
  EXPECT_EQ(state.block_size, 512);
  EXPECT_EQ(state.mode, 0u);
  EXPECT_EQ(state.type_count, 0);
  EXPECT_TRUE(std::filesystem::u8path(state.output_dir).is_absolute());
  EXPECT_EQ(std::filesystem::u8path(state.config_path).filename(), "carver.conf");
  EXPECT_EQ(state.start_time.size(), 24u);  // "Tue Dec  8 09:24:04 2026"
  EXPECT_NE(state.start_time.back(), '\n');
}

TEST_F(OptionsTest, FlagsArgumentsAndGrouping) {
  const auto r = parse({"-qQ", "-k1", "-b", "4096", "-t", "jpg", "-i", "/dev/sdb", "-aT", "-s", "3"});
  EXPECT_EQ(r.outcome, option_outcome::run);
  EXPECT_EQ(state.mode, kModeQuick | kModeQuiet | kModeHeaderDump);
  EXPECT_EQ(state.chunk_mib, 1);
  EXPECT_EQ(state.block_size, 4096);
  EXPECT_EQ(state.skip_blocks, 3);
  EXPECT_EQ(state.timestamp_output, 1);
  EXPECT_EQ(state.input_path, "/dev/sdb");
  EXPECT_EQ(r.type_lists, (std::vector<std::string>{"jpg"}));
  EXPECT_EQ(state.invocation, "search -qQ -k1 -b 4096 -t jpg -i /dev/sdb -aT -s 3 ");
}

TEST_F(OptionsTest, OperandsArePermutedBehindOptions) {
  set_posixly_correct(false);
  const auto r = parse({"first", "-q", "second", "-t", "gif", "--", "-v", "third"});
  EXPECT_EQ(r.outcome, option_outcome::run);
  EXPECT_EQ(state.mode, kModeQuick);  // -v came after "--"
  EXPECT_EQ(r.type_lists, (std::vector<std::string>{"gif"}));
  EXPECT_EQ(r.operands, (std::vector<std::string>{"first", "second", "-v", "third"}));
}

TEST_F(OptionsTest, PosixlyCorrectStopsAtFirstOperand) {
  set_posixly_correct(true);
  const auto r = parse({"-q", "first", "-v"});
  set_posixly_correct(false);
  EXPECT_EQ(state.mode, kModeQuick);
  EXPECT_EQ(r.operands, (std::vector<std::string>{"first", "-v"}));
}

TEST_F(OptionsTest, ErrorsComeBackInsteadOfEndingTheProcess) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(parse({"-x"}).outcome, option_outcome::bad_option);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "search: invalid option -- 'x'\nTry `search -h` for more information.\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(parse({"-q", "-t"}).outcome, option_outcome::bad_option);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "search: option requires an argument -- 't'\nTry `search -h` for more information.\n");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-h", "-x"}).outcome, option_outcome::help);
  EXPECT_NE(::testing::internal::GetCapturedStdout().find("Usage: search"), std::string::npos);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-V"}).outcome, option_outcome::version);
  EXPECT_EQ(::testing::internal::GetCapturedStdout().rfind("1.0.0\n", 0), 0u);
}

TEST_F(OptionsTest, ZeroBlockSizeOrChunkIsRefused) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(parse({"-b", "0"}).outcome, option_outcome::bad_option);
  EXPECT_EQ(parse({"-k", "x"}).outcome, option_outcome::bad_option);
  ::testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace qf
