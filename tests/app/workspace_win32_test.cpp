// The work folders and files, as two starts and a shutdown leave them.
#include "app/workspace_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/utf_win32.h"
#include "tests/support/temp_dir.h"

namespace qf::app {
namespace {

namespace fs = std::filesystem;

bool exists(const std::wstring& path) { return fs::exists(fs::path(path)); }

void write(const std::wstring& path, const char* text) { std::ofstream(fs::path(path)) << text; }

// A temporary directory as a user name with spaces gives it, with the
// system's trailing backslash.
std::wstring temp_path_of(const test::TempDir& dir) { return dir.path().wstring() + L"\\"; }

TEST(Workspace, BuildsTheFoldersAndPathsByConcatenation) {
  test::TempDir temp("Jane Q Public");
  const std::wstring t = temp_path_of(temp);
  Workspace w = set_up_workspace(t);

  EXPECT_EQ(w.contacts_dir, t + L"Tarnwick");
  EXPECT_EQ(w.picture_dir, t + L"Tarnwick\\picture\\");
  EXPECT_EQ(w.contacts_wal, t + L"Tarnwick\\contacts2.db-wal");
  EXPECT_EQ(w.contacts_bak, t + L"Tarnwick\\bak\\contacts2.db");
  EXPECT_EQ(w.messages_shm, t + L"tarnwick-recovery-for-android\\mmssms.db-shm");
  EXPECT_EQ(w.messages_bak, t + L"tarnwick-recovery-for-android\\bak\\mmssms.db");
  EXPECT_EQ(w.databases.contacts_db_path, narrow(t + L"Tarnwick\\contacts2.db"));
  EXPECT_EQ(w.databases.messages_bak_path, narrow(w.messages_bak));
  for (const std::wstring* dir : {&w.contacts_dir, &w.picture_dir, &w.contacts_bak_dir,
                                  &w.messages_dir, &w.messages_bak_dir}) {
    EXPECT_TRUE(fs::is_directory(fs::path(*dir))) << narrow(*dir);
  }
  // Without the trailing backslash the same paths come out.
  EXPECT_EQ(set_up_workspace(t.substr(0, t.size() - 1)).contacts_db, w.contacts_db);
}

TEST(Workspace, SecondStartDeletesTheEarlierRunsFiles) {
  test::TempDir temp("qf start twice");
  Workspace first = set_up_workspace(temp_path_of(temp));
  for (const std::wstring* f : {&first.contacts_db, &first.contacts_shm, &first.contacts_wal,
                                &first.contacts_bak, &first.messages_db, &first.messages_shm,
                                &first.messages_wal, &first.messages_bak}) {
    write(*f, "earlier run");
  }
  write(first.picture_dir + L"preview.jpg", "picture");

  Workspace second = set_up_workspace(temp_path_of(temp));

  for (const std::wstring* f : {&second.contacts_db, &second.contacts_shm, &second.contacts_wal,
                                &second.contacts_bak, &second.messages_db, &second.messages_shm,
                                &second.messages_wal, &second.messages_bak}) {
    EXPECT_FALSE(exists(*f)) << narrow(*f);
  }
  EXPECT_TRUE(fs::is_directory(fs::path(second.contacts_bak_dir)));
}

TEST(Workspace, ShutdownRemovesPicturesAndDatabasesAndKeepsTheWorkFolders) {
  test::TempDir temp("qf shut down");
  Workspace w = set_up_workspace(temp_path_of(temp));
  write(w.picture_dir + L"found 1.jpg", "picture");
  fs::create_directories(fs::path(w.picture_dir + L"inner"));
  write(w.picture_dir + L"inner\\found 2.png", "picture");
  write(w.contacts_db, "db");
  write(w.contacts_wal, "recent contacts");
  write(w.messages_shm, "index");
  write(w.messages_bak, "copy");

  delete_database_files(w);
  remove_picture_folder(w);

  EXPECT_FALSE(exists(w.picture_dir));
  EXPECT_FALSE(exists(w.contacts_db));
  EXPECT_FALSE(exists(w.contacts_wal));
  EXPECT_FALSE(exists(w.messages_shm));
  EXPECT_FALSE(exists(w.messages_bak));
  EXPECT_TRUE(fs::is_directory(fs::path(w.contacts_dir)));
  EXPECT_TRUE(fs::is_directory(fs::path(w.messages_dir)));
  EXPECT_TRUE(fs::is_directory(fs::path(w.messages_bak_dir)));
}

TEST(Workspace, SystemTempPathEndsWithABackslash) {
  std::wstring t = system_temp_path();
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.back(), L'\\');
}

}  // namespace
}  // namespace qf::app
