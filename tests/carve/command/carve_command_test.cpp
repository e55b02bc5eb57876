// The carve command on the demo SD card: a FAT32 partition whose deleted
// files were contiguous and sector-aligned must come back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <thread>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "carve/scan_state.h"
#include "carve/sha256.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "tools/quillfern/commands.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string card_dir() { return test::binary_dir() + "/demo-card"; }

int run(std::vector<std::string> args) {
  args.insert(args.begin(), "carve");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int code = cli::run_carve_command(static_cast<int>(argv.size()), argv.data());
  ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  return code;
}

struct manifest_row {
  std::string name, type, offset, size, sha256;
};

std::vector<manifest_row> read_manifest(const std::string& dir) {
  std::ifstream in(fs::u8path(dir) / "manifest.csv");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "name,type,offset,size,sha256");
  std::vector<manifest_row> rows;
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    manifest_row r;
    std::getline(fields, r.name, ',');
    std::getline(fields, r.type, ',');
    std::getline(fields, r.offset, ',');
    std::getline(fields, r.size, ',');
    std::getline(fields, r.sha256, ',');
    rows.push_back(r);
  }
  return rows;
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
  ASSERT_EQ(run({card_dir() + "/card.img", "--types", "gif,png", "--out", out.path().u8string()}), 0);
  const auto rows = read_manifest(out.path().u8string());
  ASSERT_EQ(rows.size(), 2u);
  std::vector<std::string> folders;
  for (const auto& e : fs::directory_iterator(out.path())) {
    if (e.is_directory()) folders.push_back(e.path().filename().u8string());
  }
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(folders, (std::vector<std::string>{"gif", "png"}));
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
  // Whatever was written is whole and listed.
  for (const auto& r : read_manifest(out.path().u8string())) {
    EXPECT_EQ(sha256_of_file((out.path() / fs::u8path(r.name)).u8string()), r.sha256) << r.name;
  }
}

TEST(CarveCommand, BadArgumentsAndInputsAreRefused) {
  test::TempDir out("qf-carve");
  const std::string dir = out.path().u8string();
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img"}), 2);  // no --out
  EXPECT_EQ(run({card_dir() + "/card.img", "--out", dir, "--types", "JPG"}), 2);
  EXPECT_EQ(run({card_dir() + "/card.img", "--out", dir, "--frobnicate"}), 2);
  EXPECT_EQ(run({out.file("missing.img"), "--out", dir}), 1);
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_TRUE(fs::is_empty(out.path()));
}

}  // namespace
}  // namespace qf
