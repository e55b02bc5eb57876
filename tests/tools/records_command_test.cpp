// quillfern records, end to end on fixture databases, run in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"
#include "tools/quillfern/commands.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

int run(std::vector<std::string> args) {
  args.insert(args.begin(), "records");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return cli::run_records_command(static_cast<int>(args.size()), argv.data());
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A phone's files while the provider runs: WAL mode, the last changes (the
// deletions among them) only in the -wal.
void write_phone_files(const test::TempDir& dir) {
  fixtures::FixtureOptions options;
  options.wal = true;
  options.keep_wal = true;
  auto contacts = fixtures::ContactsFixture::create(dir.file("contacts2.db"), options);
  ASSERT_TRUE(contacts);
  ASSERT_TRUE(contacts->add_contact(1, {{"name", "Ann Live"}, {"phone_v2", "555"}}));
  ASSERT_TRUE(contacts->add_contact(2, {{"name", "Bo Gone"}, {"phone_v2", "777"}}));
  ASSERT_TRUE(contacts->checkpoint());
  ASSERT_TRUE(contacts->delete_contact(2));
  ASSERT_TRUE(contacts->close());
  auto messages = fixtures::MessagesFixture::create(dir.file("mmssms.db"), options);
  ASSERT_TRUE(messages);
  ASSERT_NE(messages->add_message({1, "555", 1700000000000LL, 1, "hello </script> Ann"}), 0);
  ASSERT_NE(messages->add_message({1, "555", 1700000060000LL, 2, "reply"}), 0);
  ASSERT_TRUE(messages->close());
}

TEST(RecordsCommand, WritesBothReportsAndLeavesTheInputFilesAlone) {
  test::TempDir in;
  test::TempDir out;
  write_phone_files(in);
  const std::vector<std::string> inputs = {"contacts2.db", "contacts2.db-wal", "mmssms.db", "mmssms.db-wal"};
  std::vector<std::string> before;
  for (const auto& name : inputs) {
    ASSERT_TRUE(fs::exists(in.path() / name)) << name;
    before.push_back(read_file(in.path() / name));
  }
  const bool had_shm = fs::exists(in.path() / "contacts2.db-shm");
  const std::string shm_before = had_shm ? read_file(in.path() / "contacts2.db-shm") : "";

  const std::string report_dir = out.file("reports/new");
  ASSERT_EQ(run({"--contacts", in.file("contacts2.db"), "--messages", in.file("mmssms.db"), "--out",
                 report_dir}),
            0);

  for (std::size_t i = 0; i < inputs.size(); ++i) EXPECT_EQ(read_file(in.path() / inputs[i]), before[i]) << inputs[i];
  EXPECT_EQ(fs::exists(in.path() / "contacts2.db-shm"), had_shm);
  if (had_shm) {
    EXPECT_EQ(read_file(in.path() / "contacts2.db-shm"), shm_before);
  }

  const std::string contacts = read_file(fs::u8path(report_dir) / "Contacts.html");
  EXPECT_NE(contacts.find("<title>Contacts</title>"), std::string::npos);
  EXPECT_NE(contacts.find("\"No\",\"Ann Live\""), std::string::npos);
  // Deleted on the phone, so present only in the bare backup copy: the
  // pulled copy read with its -wal no longer has it.
  EXPECT_NE(contacts.find("\"Yes\",\"Bo Gone\""), std::string::npos);
  const std::string messages = read_file(fs::u8path(report_dir) / "Messages.html");
  EXPECT_NE(messages.find("<title>Messages</title>"), std::string::npos);
  EXPECT_NE(messages.find("\"hello \\u003C/script> Ann\""), std::string::npos);
  EXPECT_NE(messages.find("\"Ann Live\",\"555\""), std::string::npos);  // named after the contact
}

TEST(RecordsCommand, OneDatabaseWritesOnlyItsReport) {
  test::TempDir in;
  test::TempDir out;
  write_phone_files(in);
  ASSERT_EQ(run({"--messages", in.file("mmssms.db"), "--out", out.path().u8string()}), 0);
  EXPECT_TRUE(fs::exists(out.path() / "Messages.html"));
  EXPECT_FALSE(fs::exists(out.path() / "Contacts.html"));
}

TEST(RecordsCommand, BadArgumentsAndUnreadableFiles) {
  test::TempDir in;
  test::TempDir out;
  const std::string db = in.file("contacts2.db");
  std::ofstream(fs::u8path(db)) << "x";
  const std::string o = out.path().u8string();
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({"--frobnicate"}), 2);
  EXPECT_EQ(run({"--contacts", db}), 2);                            // no --out
  EXPECT_EQ(run({"--out", o}), 2);                                  // no database
  EXPECT_EQ(run({"--contacts"}), 2);                                // no value
  EXPECT_EQ(run({"--contacts", db, "--contacts", db, "--out", o}), 2);
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_EQ(run({"--contacts", in.file("missing.db"), "--out", o}), 1);
  EXPECT_EQ(run({"--contacts", in.path().u8string(), "--out", o}), 1);  // a folder
  EXPECT_EQ(run({"--contacts", db, "--out", db + "/sub"}), 1);          // output under a file
  EXPECT_TRUE(fs::is_empty(out.path()));
}

}  // namespace
}  // namespace qf
