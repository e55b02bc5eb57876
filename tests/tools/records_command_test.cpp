// quillfern records, end to end on fixture databases, run in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/tools/command_runner.h"
#include "tools/quillfern/commands.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

int run(std::vector<std::string> args) {
  return test::run_command(cli::run_records_command, "records", std::move(args)).code;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_phone_files(const test::TempDir& dir) { test::write_phone_databases(dir.path().u8string()); }

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

// Without --template the tool's own copy serves; with one, that file.
TEST(RecordsCommand, TemplateOptionNamesTheTemplate) {
  test::TempDir in;
  write_phone_files(in);
  const std::string custom = in.file("mine.html");
  std::ofstream(fs::u8path(custom)) << "<title></title><script>var data = [];</script>MINE";
  struct Case {
    std::vector<std::string> template_args;
    int code;
    const char* marker;  // in Messages.html, or nullptr when none is written
  };
  const std::vector<Case> cases = {
      {{}, 0, "Content-Security-Policy"},
      {{"--template", custom}, 0, "MINE"},
      {{"--template", in.file("missing.html")}, 1, nullptr},
  };
  for (const Case& c : cases) {
    test::TempDir out;
    std::vector<std::string> args = {"--messages", in.file("mmssms.db"), "-o", out.path().u8string()};
    args.insert(args.end(), c.template_args.begin(), c.template_args.end());
    EXPECT_EQ(run(args), c.code);
    const fs::path report = out.path() / "Messages.html";
    EXPECT_EQ(fs::exists(report), c.marker != nullptr);
    if (c.marker) {
      EXPECT_NE(read_file(report).find(c.marker), std::string::npos) << c.marker;
    }
  }
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
  write_phone_files(in);
  const std::string db = in.file("contacts2.db");
  const std::string o = out.path().u8string();
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({"--frobnicate"}), 2);
  EXPECT_EQ(run({"--contacts", db}), 2);                            // no --out
  EXPECT_EQ(run({"--out", o}), 2);                                  // no database
  EXPECT_EQ(run({"--contacts"}), 2);                                // no value
  EXPECT_EQ(run({"--contacts=", "-o", o}), 2);                      // an empty value
  EXPECT_EQ(run({"--contacts", db, "--contacts", db, "--out", o}), 2);
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_EQ(run({"--contacts", db, "--out", db + "/sub"}), 1);  // output under a file
  EXPECT_TRUE(fs::is_empty(out.path()));
}

// A file that is not the database it was given as used to give an empty
// report and exit 0, which reads as "the phone had no records".
TEST(RecordsCommand, FileThatIsNotTheDatabaseGivenIsNamedWithTheReason) {
  test::TempDir in;
  write_phone_files(in);
  const std::string contacts = in.file("contacts2.db"), messages = in.file("mmssms.db");
  std::ofstream(fs::u8path(in.file("export.json"))) << R"({"contacts": []})";
  std::ofstream(fs::u8path(in.file("empty.db")));
  std::ofstream(fs::u8path(in.file("cut.db")), std::ios::binary) << read_file(fs::u8path(contacts)).substr(0, 16);
  struct Case {
    std::vector<std::string> args;
    std::string named;   // the path the message must name
    std::string reason;  // and why
  };
  const std::vector<Case> cases = {
      {{"--contacts", in.file("export.json")}, in.file("export.json"), "not an SQLite database"},
      {{"--messages", in.file("empty.db")}, in.file("empty.db"), "not an SQLite database"},
      {{"--contacts", in.file("missing.db")}, in.file("missing.db"), "not a readable file"},
      {{"--contacts", in.path().u8string()}, in.path().u8string(), "not a readable file"},
      {{"--contacts", messages}, messages, "no table 'data'"},
      {{"--contacts", contacts, "--messages", contacts}, contacts, "no table 'sms'"},
      {{"--messages", in.file("cut.db")}, in.file("cut.db"), "SQLite"},
  };
  for (const Case& c : cases) {
    test::TempDir out;
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-o", out.path().u8string()});
    const test::CommandResult r = test::run_command(cli::run_records_command, "records", args);
    EXPECT_EQ(r.code, 1) << c.named;
    EXPECT_NE(r.err.find("'" + c.named + "'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(out.path())) << c.named;
  }
}

// Paths with blanks, quotes and non-ASCII letters reach the files, and the
// built-in template serves when none is given.
TEST(RecordsCommand, PathsWithBlanksQuotesAndNonAsciiLetters) {
  test::TempDir root;
#ifdef _WIN32
  const char* quoted = "Phone 'Ann's' ";  // Windows allows no '"' in a name
#else
  const char* quoted = "Phone \"Ann's\" ";
#endif
  const fs::path in = root.path() / fs::u8path(std::string(quoted) + "\xC3\x9C" "bersicht \xE6\x9D\x8E");
  fs::create_directories(in);
  test::write_phone_databases(in.u8string());
  const fs::path out = root.path() / fs::u8path("R\xC3\xA9sultats 1");
  const test::CommandResult r = test::run_command(
      cli::run_records_command, "records",
      {"--contacts=" + (in / "contacts2.db").u8string(), "--messages", (in / "mmssms.db").u8string(), "-o",
       out.u8string()});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const char* name : {"Contacts.html", "Messages.html", "contacts.csv", "messages.csv", "report.json"}) {
    EXPECT_TRUE(fs::is_regular_file(out / name)) << name;
    EXPECT_NE(r.out.find(name), std::string::npos) << name;
  }
  EXPECT_NE(read_file(out / "report.json").find("\xC3\x9C" "bersicht \xE6\x9D\x8E"), std::string::npos);
}

}  // namespace
}  // namespace qf
