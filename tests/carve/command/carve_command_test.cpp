// The carve command on the demo SD card: a FAT32 partition whose deleted
// files were contiguous and sector-aligned must come back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <thread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <rapidjson/document.h>

#include "carve/scan_state.h"
#include "platform/version.h"
#include "carve/sha256.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "tools/quillfern/commands.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string card_dir() { return test::binary_dir() + "/demo-card"; }

// Runs the command in-process; its standard error goes to `messages`.
int run(std::vector<std::string> args, std::string* messages = nullptr) {
  args.insert(args.begin(), "carve");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int code = cli::run_carve_command(static_cast<int>(argv.size()), argv.data());
  ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  if (messages) *messages = err;
  return code;
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

rapidjson::Document read_json(const fs::path& path) {
  rapidjson::Document doc;
  doc.Parse(read_text(path).c_str());
  return doc;
}

struct manifest_row {
  std::string name, type, offset, size, sha256, validated;
};

std::vector<manifest_row> read_manifest(const std::string& dir) {
  std::ifstream in(fs::u8path(dir) / "manifest.csv");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "name,type,offset,size,sha256,validated");
  std::vector<manifest_row> rows;
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    manifest_row r;
    std::getline(fields, r.name, ',');
    std::getline(fields, r.type, ',');
    std::getline(fields, r.offset, ',');
    std::getline(fields, r.size, ',');
    std::getline(fields, r.sha256, ',');
    std::getline(fields, r.validated, ',');
    EXPECT_TRUE(r.validated == "yes" || r.validated == "no") << line;
    rows.push_back(r);
  }
  return rows;
}

// Every file listed is on disk, whole, with its size and digest; and no file
// in a type folder is left out of the list.
void expect_manifest_lists_exactly_the_whole_files(const fs::path& out) {
  std::set<std::string> listed;
  for (const auto& r : read_manifest(out.u8string())) {
    listed.insert(r.name);
    const std::string path = (out / fs::u8path(r.name)).u8string();
    EXPECT_EQ(sha256_of_file(path), r.sha256) << r.name;
    EXPECT_EQ(std::to_string(fs::file_size(fs::u8path(path))), r.size) << r.name;
  }
  std::set<std::string> on_disk;
  for (const auto& e : fs::recursive_directory_iterator(out)) {
    if (e.is_regular_file() && e.path().parent_path() != out)
      on_disk.insert(fs::relative(e.path(), out).generic_u8string());
  }
  EXPECT_EQ(on_disk, listed);
}

std::vector<std::string> deleted_names() {
  std::ifstream in(fs::u8path(card_dir()) / "deleted.txt");
  std::vector<std::string> names;
  for (std::string n; std::getline(in, n);) {
    if (!n.empty()) names.push_back(n);
  }
  return names;
}

TEST(CarveCommand, RecoversEveryDeletedFileOfTheDemoCard) {
  const std::string card = card_dir() + "/card.img";
  ASSERT_TRUE(fs::exists(fs::u8path(card))) << "the build makes " << card;
  const std::string before = sha256_of_file(card);
  const auto stamp = fs::last_write_time(fs::u8path(card));
  test::TempDir out("qf-carve");
  const std::string dir = out.path().u8string();
  ASSERT_EQ(run({card, "--out", dir}), 0);

  const auto rows = read_manifest(dir);
  std::map<std::string, const manifest_row*> by_hash;
  for (const auto& r : rows) {
    // Every manifest line describes the file that was written.
    const std::string path = (out.path() / fs::u8path(r.name)).u8string();
    EXPECT_EQ(sha256_of_file(path), r.sha256) << r.name;
    EXPECT_EQ(std::to_string(fs::file_size(fs::u8path(path))), r.size) << r.name;
    EXPECT_EQ(r.name.substr(0, r.type.size() + 1), r.type + "/");
    // Names count 512-byte blocks from the start of the card.
    EXPECT_EQ(fs::u8path(r.name).stem().u8string(), std::to_string(std::stoull(r.offset) / 512));
    by_hash[r.sha256] = &r;
  }
  // The same card gives the same manifest, line for line, however the scan
  // and the writing happened to interleave.
  test::TempDir again("qf-carve");
  ASSERT_EQ(run({card, "--out", again.path().u8string()}), 0);
  EXPECT_EQ(read_text(again.path() / "manifest.csv"), read_text(out.path() / "manifest.csv"));
  const auto deleted = deleted_names();
  ASSERT_GE(deleted.size(), 6u);
  for (const auto& name : deleted) {
    const std::string original = card_dir() + "/originals/" + name;
    const auto hit = by_hash.find(sha256_of_file(original));
    ASSERT_NE(hit, by_hash.end()) << name << " was not recovered";
    EXPECT_EQ(test::read_file((out.path() / fs::u8path(hit->second->name)).u8string()), test::read_file(original));
    // A FAT32 data area here starts past 1 MiB: the partition offset is counted.
    EXPECT_GT(std::stoull(hit->second->offset), 1048576u);
  }
  // Nothing was written to the card.
  EXPECT_EQ(sha256_of_file(card), before);
  EXPECT_EQ(fs::last_write_time(fs::u8path(card)), stamp);
}

TEST(CarveCommand, TypesListLimitsTheSearch) {
  test::TempDir out("qf-carve");
  // Names in any case, with blanks, and the --opt=value form.
  ASSERT_EQ(run({card_dir() + "/card.img", "--types= GIF, png", "-o", out.path().u8string()}), 0);
  const auto rows = read_manifest(out.path().u8string());
  ASSERT_EQ(rows.size(), 2u);
  std::vector<std::string> folders;
  for (const auto& e : fs::directory_iterator(out.path())) {
    if (e.is_directory()) folders.push_back(e.path().filename().u8string());
  }
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(folders, (std::vector<std::string>{"gif", "png"}));
}

// run.json says what was carved, how, by which version and how it ended.
TEST(CarveCommand, RunInfoRecordsTheImageTheSettingsAndTheOutcome) {
  test::TempDir out("qf-carve");
  const std::string card = card_dir() + "/card.img";
  ASSERT_EQ(run({card, "--types", "png", "--hash-image", "--out=" + out.path().u8string()}), 0);
  const rapidjson::Document info = read_json(out.path() / "run.json");
  ASSERT_TRUE(info.IsObject());
  EXPECT_STREQ(info["tool"]["version"].GetString(), QF_VERSION_TEXT);
  EXPECT_EQ(info["image"]["path"].GetString(), card);
  EXPECT_EQ(info["image"]["size"].GetUint64(), fs::file_size(fs::u8path(card)));
  EXPECT_EQ(info["image"]["sha256"].GetString(), sha256_of_file(card));
  EXPECT_STREQ(info["settings"]["types"].GetString(), "png");
  EXPECT_STREQ(info["outcome"].GetString(), "done");
  EXPECT_EQ(info["bytes_read_again"].GetUint64(), 0u);  // found files came from the scan's chunks
  EXPECT_EQ(info["files_written"].GetUint64(), read_manifest(out.path().u8string()).size());
  EXPECT_LE(std::string(info["started"].GetString()), std::string(info["ended"].GetString()));
}

// A second run into the same folder used to copy every file again as
// "_2" and overwrite the first run's manifest.
TEST(CarveCommand, OutputFolderThatIsNotNewOrEmptyIsRefused) {
  struct Case {
    const char* what;
    const char* existing;  // a file made first, relative to the temp folder
    const char* out;       // --out, relative to the temp folder
    const char* message;
  };
  const Case cases[] = {
      {"a folder holding a file", "earlier/manifest.csv", "earlier", "is not empty"},
      {"an existing file", "plain.txt", "plain.txt", "is a file"},
  };
  for (const Case& c : cases) {
    test::TempDir dir("qf-carve");
    const fs::path existing = dir.path() / fs::u8path(c.existing);
    fs::create_directories(existing.parent_path());
    std::ofstream(existing) << "earlier run";
    std::string messages;
    EXPECT_EQ(run({card_dir() + "/card.img", "-o", (dir.path() / c.out).u8string()}, &messages), 2) << c.what;
    EXPECT_NE(messages.find(c.message), std::string::npos) << c.what << ": " << messages;
    EXPECT_EQ(read_text(existing), "earlier run") << c.what;
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), c.out == std::string("earlier") ? 2 : 1);
  }
}

// An empty or one-byte image holds nothing: the run ends cleanly with an
// empty manifest rather than failing or hanging.
TEST(CarveCommand, EmptyAndOneByteImagesGiveAnEmptyManifest) {
  for (const std::string& bytes : {std::string(), std::string("x")}) {
    test::TempDir in("qf-carve-in");
    test::TempDir out("qf-carve");
    const std::string image = in.file("tiny.img");
    std::ofstream(fs::u8path(image), std::ios::binary) << bytes;
    EXPECT_EQ(run({image, "-o", out.path().u8string()}), 0) << bytes.size();
    EXPECT_TRUE(read_manifest(out.path().u8string()).empty());
    EXPECT_STREQ(read_json(out.path() / "run.json")["outcome"].GetString(), "done");
  }
}

extern "C" void ignore_signal(int) {}

TEST(CarveCommand, InterruptStopsAndKeepsAConsistentManifest) {
  // The card followed by a long stretch of zeros, so the scan is still going
  // when the interrupt comes.
  test::TempDir in("qf-carve-in");
  const std::string image = in.file("long.img");
  fs::copy_file(fs::u8path(card_dir() + "/card.img"), fs::u8path(image));
  fs::resize_file(fs::u8path(image), 1024ull * 1048576);
  test::TempDir out("qf-carve");
  // A late interrupt must not end the test process.
  const auto previous = std::signal(SIGINT, ignore_signal);
  std::thread interrupter([] {
    while (ScanState != ScanRunning) std::this_thread::yield();
    std::raise(SIGINT);
  });
  const int code = run({image, "--out", out.path().u8string()});
  interrupter.join();
  std::signal(SIGINT, previous);
  EXPECT_EQ(code, 130);
  // Whatever was written is whole and listed; a file cut by the stop is gone.
  expect_manifest_lists_exactly_the_whole_files(out.path());
}

TEST(CarveCommand, BadArgumentsAndInputsAreRefused) {
  test::TempDir out("qf-carve");
  const std::string dir = out.path().u8string();
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img"}), 2);  // no --out
  EXPECT_EQ(run({card_dir() + "/card.img", "--out", dir, "--types", "jpg,nosuch"}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img", "--out", dir, "--types", "jpg,,png"}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img", "-o", dir, "-o", dir}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img", card_dir() + "/card.img", "-o", dir}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img", "--out", dir, "--frobnicate"}), 2);
  EXPECT_EQ(run({out.file("missing.img"), "--out", dir}), 1);
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_TRUE(fs::is_empty(out.path()));
}

#ifndef _WIN32
// A full disk, played by a file-size limit: the run must stop with exit 1
// and a message, leave no cut file behind, and its manifest must list exactly
// the files that are on disk, each whole.
TEST(CarveCommand, FullOutputDiskStopsTheRunAndTheManifestStaysTrue) {
  test::TempDir out("qf-carve");
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit limit = old_limit;
  limit.rlim_cur = 40 * 1024;  // the demo card's JPEGs are up to 300 KB
  setrlimit(RLIMIT_FSIZE, &limit);
  std::string messages;
  const int code = run({card_dir() + "/card.img", "-o", out.path().u8string()}, &messages);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(code, 1);
  EXPECT_NE(messages.find("cannot write"), std::string::npos) << messages;
  expect_manifest_lists_exactly_the_whole_files(out.path());
  EXPECT_STREQ(read_json(out.path() / "run.json")["outcome"].GetString(), "write failed");
}
#endif

}  // namespace
}  // namespace qf
