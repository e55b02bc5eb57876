#include "tests/tools/command_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tools/fixtures/fixture_builder.h"

namespace qf::test {

CommandResult run_command(CommandFunction command, const char* name, std::vector<std::string> args) {
  args.insert(args.begin(), name);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  CommandResult result;
  result.code = command(static_cast<int>(args.size()), argv.data());
  result.out = ::testing::internal::GetCapturedStdout();
  result.err = ::testing::internal::GetCapturedStderr();
  return result;
}

void write_phone_databases(const std::string& dir) {
  const std::filesystem::path folder = std::filesystem::u8path(dir);
  fixtures::FixtureOptions options;
  options.wal = true;
  options.keep_wal = true;
  auto contacts = fixtures::ContactsFixture::create((folder / "contacts2.db").u8string(), options);
  ASSERT_TRUE(contacts);
  ASSERT_TRUE(contacts->add_contact(1, {{"name", "Ann Live"}, {"phone_v2", "555"}}));
  ASSERT_TRUE(contacts->add_contact(2, {{"name", "Bo Gone"}, {"phone_v2", "777"}}));
  ASSERT_TRUE(contacts->checkpoint());
  ASSERT_TRUE(contacts->delete_contact(2));
  ASSERT_TRUE(contacts->close());
  auto messages = fixtures::MessagesFixture::create((folder / "mmssms.db").u8string(), options);
  ASSERT_TRUE(messages);
  ASSERT_NE(messages->add_message({1, "555", 1700000000000LL, 1, "hello </script> Ann"}), 0);
  ASSERT_NE(messages->add_message({1, "555", 1700000060000LL, 2, "reply"}), 0);
  ASSERT_TRUE(messages->close());
}

}  // namespace qf::test
