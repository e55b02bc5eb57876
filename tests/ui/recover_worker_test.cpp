#include "ui/recover_worker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "carve/domain_quillfern.h"
#include "carve/scan_session.h"
#include "platform/app_messages.h"
#include "platform/volume_identity.h"
#include "tests/carve/session/session_test_support.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace qf::ui {
namespace {

namespace fs = std::filesystem;

std::string text_of(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The files a run wrote, by path relative to the output folder.
std::vector<std::string> written(const fs::path& root) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out.push_back(fs::relative(e.path(), root).generic_u8string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Fails or stops the save of one found file; the others go through the real engine.
struct save_hook {
  static inline std::uint64_t offset = 0;
  static inline bool stop_after = false;  // else: fail it
  static inline decltype(cdr_info_win::save_found_file) real = nullptr;
  static int save(cdr_info_win* t, cdr_found_file* f, const std::string& path, ReadHandle* h, save_callback cb,
                  void* user) {
    if (f->offset != offset) return real(t, f, path, h, cb, user);
    if (!stop_after) return 0;
    const int result = real(t, f, path, h, cb, user);
    RecoverRunState = RecoverRun::StopRequested;
    return result;
  }
};

struct RecoverWorkerTest : ::testing::Test {
  void SetUp() override {
    for (const char* n : {"Ann", "Bob <b>", "Cy"}) {
      contacts_store.push_back(ContactRecord{});
      contacts_store.back().name = n;
    }
    contacts_store[1].checked = false;
    for (const char* a : {"+100", "+200"}) {
      conversations_store.push_back(ConversationRecord{});
      conversations_store.back().address = a;
      MessageRecord m;
      m.body = std::string("hello from ") + a;
      m.type = kMessageTypeReceived;
      conversations_store.back().messages.push_back(m);
    }
    for (auto& c : contacts_store) contacts.push_back(&c);
    for (auto& c : conversations_store) conversations.push_back(&c);

    photo = test::session_fixture("photo_a.jpg");
    const std::string image = card.file("card.img");
    // Pictures in blocks 1, 4 and 64: 1.jpg, 4.jpg (not selected) and 64.jpg.
    test::write_image(image, 1048576, {{512, photo}, {2048, test::session_fixture("photo_b.jpg")}, {32768, photo}});
    run_enumeration(scan, image_disks({image}));
    list_usable_disks(scan);
    scan_all_listed_disks(scan);
    disk = scan.disks[0].view;
    for (storage_view_node* f : view_children(disk)) {
      if (f->label == "jpg") jpg = f;
    }
    ASSERT_NE(jpg, nullptr);
    ASSERT_EQ(view_items(jpg).size(), 3u);
    view_items(jpg)[1]->selected = 0;

    plan.contacts = &contacts;
    plan.conversations = &conversations;
    plan.output_folder = out.path().u8string();
    plan.template_path = test::source_dir() + "/records/report/template.html";
    plan.items = {{RecoverSource::Contacts, true, "Contacts (3)", false, nullptr},
                  {RecoverSource::Messages, true, "Message (2)", true, nullptr},
                  {RecoverSource::Disk, true, disk->label, true, disk}};
    wire_recover_stop_probe();
  }
  void TearDown() override {
    if (save_hook::real) DomainQuillfern::instance().table()->save_found_file = save_hook::real;
    save_hook::real = nullptr;
    DomainQuillfern::instance().set_stop_probe(nullptr);
    RecoverRunState = RecoverRun::Idle;
    release_storage(scan);
    ScanState = ScanIdle;
  }
  void hook(bool stop_after) {
    save_hook::real = DomainQuillfern::instance().table()->save_found_file;
    save_hook::offset = view_items(jpg)[0]->engine->offset;
    save_hook::stop_after = stop_after;
    DomainQuillfern::instance().table()->save_found_file = save_hook::save;
  }
  std::string disk_folder() const {
    for (const auto& e : fs::directory_iterator(out.path())) {
      if (e.path().filename().u8string().rfind("disk", 0) == 0) return e.path().filename().u8string();
    }
    return {};
  }

  std::vector<ContactRecord> contacts_store;
  std::vector<ConversationRecord> conversations_store;
  ContactList contacts;
  ConversationList conversations;
  std::vector<unsigned char> photo;
  test::TempDir card;
  test::TempDir out{"qf-recover"};
  scan_argument scan;
  storage_view_node* disk = nullptr;
  storage_view_node* jpg = nullptr;
  recover_plan plan;
  recover_progress progress;
  test::RecordingSink dialog;
};

TEST_F(RecoverWorkerTest, WritesOnlyTheCheckedRecordsAndSelectedFilesAndCountsThem) {
  run_recover(plan, progress, &dialog);
  EXPECT_EQ(progress.total, 6);
  EXPECT_EQ(progress.done, 6u);
  EXPECT_TRUE(progress.failures.empty());
  EXPECT_EQ(RecoverRunState, RecoverRun::Finished);
  ASSERT_EQ(dialog.messages(WM_RECOVER_FINISHED).size(), 1u);
  EXPECT_EQ(dialog.messages(WM_RECOVER_FINISHED)[0].wparam, 4u);
  EXPECT_EQ(progress.label(), disk->label);

  const std::string d = disk_folder();
  // Each report has its CSV and report.json beside it, as the command-line tool writes them.
  EXPECT_EQ(written(out.path()),
            (std::vector<std::string>{"Contacts (2)/Contacts.html", "Contacts (2)/contacts.csv", "Contacts (2)/report.json",
                                      "Message (2)/Messages.html", "Message (2)/messages.csv", "Message (2)/report.json",
                                      d + "/jpg/1.jpg", d + "/jpg/64.jpg", d + "/manifest.csv"}));
  const std::string report = text_of(out.path() / "Contacts (2)" / "Contacts.html");
  EXPECT_NE(report.find("\"Ann\""), std::string::npos);
  EXPECT_NE(report.find("\"Cy\""), std::string::npos);
  EXPECT_EQ(report.find("Bob"), std::string::npos);
  for (const char* f : {"/jpg/1.jpg", "/jpg/64.jpg"}) {
    const std::string bytes = text_of(out.path() / fs::u8path(d + f));
    EXPECT_EQ(bytes, std::string(photo.begin(), photo.end())) << f;
  }
}

TEST_F(RecoverWorkerTest, WhatCouldNotBeWrittenIsNeitherCountedNorHidden) {
  struct Case {
    const char* fault;
    std::function<void(RecoverWorkerTest&)> arrange;
    std::uint64_t done;
    std::vector<std::string> failed_items;
  } cases[] = {
      {"a file where the contacts folder goes",
       [](RecoverWorkerTest& t) { test::write_file((t.out.path() / "Contacts (2)").u8string(), {1}); }, 4,
       {"Contacts (2)"}},
      {"no report template",
       [](RecoverWorkerTest& t) { t.plan.template_path = t.card.file("missing.html"); }, 2,
       {"Contacts (2)", "Message (2)"}},
      {"a carved file that cannot be written", [](RecoverWorkerTest& t) { t.hook(false); }, 5, {}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.fault);
    for (const auto& e : fs::directory_iterator(out.path())) fs::remove_all(e.path());
    plan.template_path = test::source_dir() + "/records/report/template.html";
    progress.failures.clear();
    c.arrange(*this);
    run_recover(plan, progress, &dialog);
    EXPECT_EQ(progress.done, c.done);
    EXPECT_EQ(progress.failures.size(), std::max<std::size_t>(c.failed_items.size(), 1));
    for (std::size_t i = 0; i < c.failed_items.size() && i < progress.failures.size(); ++i) {
      EXPECT_EQ(progress.failures[i].item, c.failed_items[i]);
    }
    if (save_hook::real) DomainQuillfern::instance().table()->save_found_file = save_hook::real;
  }
}

TEST_F(RecoverWorkerTest, NothingSelectedWritesNothing) {
  for (auto* c : contacts) c->checked = false;
  for (auto* c : conversations) c->checked = false;
  for (auto* i : view_items(jpg)) i->selected = 0;
  EXPECT_EQ(count_selected_items(plan), 0);
  run_recover(plan, progress, &dialog);
  EXPECT_EQ(progress.done, 0u);
  EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(RecoverWorkerTest, StopInTheMiddleKeepsWhatWasWrittenAndCountsIt) {
  hook(true);
  run_recover(plan, progress, &dialog);
  EXPECT_EQ(RecoverRunState, RecoverRun::StopRequested);
  EXPECT_EQ(progress.done, 5u);  // 2 contacts, 2 conversations, the first picture
  const std::string d = disk_folder();
  EXPECT_EQ(text_of(out.path() / fs::u8path(d + "/jpg/1.jpg")), std::string(photo.begin(), photo.end()));
  EXPECT_FALSE(fs::exists(out.path() / fs::u8path(d + "/jpg/64.jpg")));
  EXPECT_NE(text_of(out.path() / fs::u8path(d + "/manifest.csv")).find("jpg/1.jpg"), std::string::npos);
  EXPECT_EQ(dialog.messages(WM_RECOVER_FINISHED).size(), 1u);
}

TEST_F(RecoverWorkerTest, ADestinationOnTheScannedImagesVolumeIsFound) {
  EXPECT_EQ(disk_sharing_volume(plan, out.path().u8string(), volume_identity), disk->label);
  EXPECT_EQ(disk_sharing_volume(plan, (out.path() / "not-yet-made").u8string(), volume_identity), disk->label);
  EXPECT_EQ(disk_sharing_volume(plan, "/proc", volume_identity), "");
}

}  // namespace
}  // namespace qf::ui
