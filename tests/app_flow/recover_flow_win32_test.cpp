// The program end to end: the main window with the phone simulator (live and
// deleted contacts and messages) and the demo card image as a disk, driven
// through its controls and the dialogs it opens (the folder browser, the
// recover progress dialog, the message boxes), down to the files written.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/disk_image_arguments_win32.h"
#include "app/main_dlg_resource.h"
#include "app/main_dlg_win32.h"
#include "app/recover_resource.h"
#include "carve/scan_state.h"
#include "carve/sha256.h"
#include "platform/utf_win32.h"
#include "records/display_lists.h"
#include "tests/device/sim_phone.h"
#include "tests/ui/ui_test_support.h"
#include "tools/fixtures/fixture_builder.h"
#include "ui/list_view_check_win32.h"
#include "ui/main_menu_win32.h"
#include "ui/recover_texts.h"
#include "ui/tree_view_ex_win32.h"
#include "ui/ui_resource.h"
#include "ui/update_server.h"

namespace qf::app {
namespace {

namespace fs = std::filesystem;
using ui::TreeItemKind;

std::string text_of(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::wstring window_text(HWND w) {
  wchar_t text[512] = {};
  GetWindowTextW(w, text, 512);
  return text;
}

// What one command's modal windows were, in the order they came up.
enum class Seen { Menu, FileDialog, FolderBrowser, Progress, MessageBox };

// Answers the modal windows of this thread from inside their own loops: a
// pop-up menu gets its entry `menu_entry` chosen with the keys, the file
// dialog is given `file`, the folder browser is pointed at `folder`, the
// progress dialog
// is stopped at once (when asked) and closed when it shows its end, a
// message box gets `box_answer`.
struct ModalDriver {
  HWND main = nullptr;
  std::wstring folder;
  int menu_entry = -1;  // counted from 0
  std::wstring file;
  bool stop_at_once = false;
  int box_answer = IDC_MSGBOX_OK;
  std::vector<Seen> seen;
  std::wstring final_progress_text;
  std::set<HWND> answered;
  DWORD next_file_answer = 0;

  static ModalDriver*& current() {
    static ModalDriver* driver = nullptr;
    return driver;
  }

  void start() {
    current() = this;
    SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR, DWORD) {
      if (ModalDriver* d = current()) d->tick();
    });
  }

  void tick() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM self) {
          wchar_t name[16] = {};
          GetClassNameW(w, name, 16);
          auto* d = reinterpret_cast<ModalDriver*>(self);
          if (w == d->main || !IsWindowVisible(w)) return TRUE;
          if (std::wstring(name) == L"#32770") d->act(w);
          if (std::wstring(name) == L"#32768") d->choose_from_menu(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
  }

  void act(HWND w) {
    const bool fresh = answered.insert(w).second;
    if (HWND finished = GetDlgItem(w, IDC_RECOVER_FINISHED)) {
      if (fresh) seen.push_back(Seen::Progress);
      if (fresh && stop_at_once) press(w, IDC_RECOVER_STOP);
      if (IsWindowVisible(finished) && IsWindowEnabled(GetDlgItem(w, IDC_RECOVER_CLOSE))) {
        final_progress_text = window_text(GetDlgItem(w, IDC_RECOVER_TEXT));
        press(w, IDC_RECOVER_CLOSE);
      }
    } else if (GetDlgItem(w, IDC_MSGBOX_OK)) {
      if (!fresh) return;
      seen.push_back(Seen::MessageBox);
      press(w, box_answer);
    } else if (GetDlgItem(w, cmb13)) {
      // Answered once it has settled, and again while it stays open: an OK
      // that comes while the dialog still starts up can go unheard.
      if (fresh) {
        seen.push_back(Seen::FileDialog);
        next_file_answer = GetTickCount() + 300;
      }
      if (static_cast<LONG>(GetTickCount() - next_file_answer) < 0) return;
      next_file_answer = GetTickCount() + 1000;
      SetDlgItemTextW(w, cmb13, file.c_str());
      press(w, file.empty() ? IDCANCEL : IDOK);
    } else if (FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr) && fresh) {
      seen.push_back(Seen::FolderBrowser);
      SendMessageW(w, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
      const int answer = folder.empty() ? IDCANCEL : IDOK;
      PostMessageW(w, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, answer)));
    }
  }

  void choose_from_menu(HWND menu) {
    if (!answered.insert(menu).second) return;
    seen.push_back(Seen::Menu);
    for (int i = 0; i <= menu_entry; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, menu_entry < 0 ? VK_ESCAPE : VK_RETURN, 0);
  }

  static void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
};

class RecoverFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::use_built_skin();
    ui::use_update_server_for_tests(ui::UpdateServer{L"127.0.0.1", 9, 500});
    // The report template stands beside the program.
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    template_path = fs::path(exe).parent_path() / "template.html";
    CopyFileW(fs::u8path(test::source_dir() + "/records/report/template.html").c_str(), template_path.c_str(), FALSE);
    put_demo_phone();
    // The card on drive C: (the temporary folder); the output goes to Z:\tmp,
    // another volume, as it must (the folder browser finds top-level folders
    // of Z: by path under Wine).
    card = work.path() / "card.img";
    CopyFileW(fs::u8path(std::string(QF_DEMO_CARD_DIR) + "/card.img").c_str(), card.c_str(), FALSE);
    for (const auto& e : fs::directory_iterator(fs::u8path(std::string(QF_DEMO_CARD_DIR) + "/originals")))
      originals.insert(sha256_of_file(e.path().u8string()));
    output = L"Z:\\tmp";
  }
  void TearDown() override {
    for (const fs::path& run : runs()) fs::remove_all(run);
  }

  void put_demo_phone() {
    test::TempDir dir("qf-flow-db");
    fixtures::FixtureOptions options;
    options.wal = true;
    options.keep_wal = true;
    ASSERT_TRUE(fixtures::write_demo_databases(dir.path().u8string(), options));
    for (const auto& file : fs::directory_iterator(dir.path())) {
      const std::string name = file.path().filename().u8string();
      const bool contacts = name.rfind("contacts2.db", 0) == 0;
      phone.put_phone_file(std::string("/data/data/com.android.providers.") +
                               (contacts ? "contacts" : "telephony") + "/databases/" + name,
                           test::read_file(file.path().u8string()));
    }
    phone.attach("device");
  }

  void open(const std::vector<fs::path>& images) {
    CMainDlg::Options options;
    options.adb = phone.client(std::chrono::seconds(30), std::chrono::seconds(60));
    for (const auto& p : images) options.disk_images.push_back(p.u8string());
    dlg = std::make_unique<CMainDlg>(options);
    ASSERT_TRUE(dlg->create());
    dlg->show(SW_SHOW);
    tree = dynamic_cast<ui::CTreeViewEx1*>(ui::CControl::from_window(dlg->views().tree()));
    list = dynamic_cast<ui::CListViewCheck1*>(ui::CControl::from_window(dlg->views().list()));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(list, nullptr);
  }

  bool pump_until(const std::function<bool()>& done, DWORD ms = 180000) {
    return test::pump_until(dlg->hwnd(), done, ms);
  }

  bool loaded() const {
    HTREEITEM c = dlg->views().contacts_item();
    return c && tree->label(c).find(L"(") != std::wstring::npos;
  }
  // The scan's end has reached the window: every folder is relabelled with its count.
  bool scanned() const {
    if (!loaded() || ScanState != ScanFinished) return false;
    const auto all = folders();
    return !all.empty() && std::all_of(all.begin(), all.end(), [&](HTREEITEM f) {
      return tree->label(f).find(L" (") != std::wstring::npos;
    });
  }

  std::vector<HTREEITEM> children(HTREEITEM item) const {
    std::vector<HTREEITEM> out;
    for (HTREEITEM c = TreeView_GetChild(tree->hwnd(), item); c; c = TreeView_GetNextSibling(tree->hwnd(), c))
      out.push_back(c);
    return out;
  }
  HTREEITEM root() const { return TreeView_GetRoot(tree->hwnd()); }
  HTREEITEM first_of(TreeItemKind kind, HTREEITEM under) const {
    for (HTREEITEM c : children(under)) {
      if (tree->item_data(c)->kind == kind) return c;
    }
    return nullptr;
  }
  std::vector<HTREEITEM> folders() const {
    std::vector<HTREEITEM> out;
    for (HTREEITEM disk : children(root())) {
      if (tree->item_data(disk)->kind == TreeItemKind::DiskItem) {
        for (HTREEITEM f : children(disk)) out.push_back(f);
      }
    }
    return out;
  }

  // Selects a tree item and lets the window paint what follows.
  void select(HTREEITEM item) {
    SendMessageW(tree->hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    pump_until([] { return false; }, 300);
  }
  // A click on a check frame, as the mouse gives it.
  static void click(HWND w, const RECT& r) {
    EXPECT_FALSE(IsRectEmpty(&r)) << "the check frame is laid out";
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, test::centre_of(r));
    SendMessageW(w, WM_LBUTTONUP, 0, test::centre_of(r));
  }

  // Runs a main-window command whose modal windows `driver` answers.
  void command(int id, ModalDriver& driver) {
    driver.main = dlg->hwnd();
    driver.start();
    SendMessageW(dlg->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg->hwnd(), id)));
    ModalDriver::current() = nullptr;
  }

  std::vector<fs::path> runs() const {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(output)) {
      if (e.path().filename().u8string().rfind("RoduderOzuzerev", 0) == 0) out.push_back(e.path());
    }
    return out;
  }

  test::SimPhone phone;
  test::TempDir work{"qf-flow"};
  fs::path template_path, card, output;
  std::set<std::string> originals;
  std::unique_ptr<CMainDlg> dlg;
  ui::CTreeViewEx1* tree = nullptr;
  ui::CListViewCheck1* list = nullptr;
};

int menu_position(int command) {
  HMENU menu = ui::build_main_menu();
  int at = -1;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (static_cast<int>(GetMenuItemID(menu, i)) == command) at = i;
  }
  DestroyMenu(menu);
  return at;
}

// The files of one run: reports by category folder, carved files checked
// against the disk folder's manifest.
struct RunContents {
  // "Contacts (12)/Contacts.html" -> text; also the CSV and JSON beside each report
  std::map<std::string, std::string> reports;
  std::vector<std::string> carved_hashes;      // of the files on disk
  std::set<std::string> manifest_hashes;
  std::size_t manifest_rows = 0;
};

RunContents read_run(const fs::path& run) {
  RunContents c;
  for (const auto& e : fs::recursive_directory_iterator(run)) {
    if (!e.is_regular_file()) continue;
    const std::string rel = fs::relative(e.path(), run).generic_u8string();
    const fs::path ext = e.path().extension();
    const bool manifest = e.path().filename() == "manifest.csv";
    if (ext == ".html" || ext == ".json" || (ext == ".csv" && !manifest)) {
      c.reports[rel] = text_of(e.path());
    } else if (manifest) {
      std::istringstream in(text_of(e.path()));
      std::string line;
      std::getline(in, line);
      while (std::getline(in, line)) {
        // name,type,offset,size,sha256,validated
        const std::string before_validated = line.substr(0, line.rfind(','));
        c.manifest_hashes.insert(before_validated.substr(before_validated.rfind(',') + 1));
        ++c.manifest_rows;
      }
    } else {
      c.carved_hashes.push_back(sha256_of_file(e.path().u8string()));
    }
  }
  return c;
}

// Rows of a report's data table, header included.
std::size_t report_rows(const std::string& html) {
  const auto start = html.find("var data = [[");
  if (start == std::string::npos) return 0;
  const std::string line = html.substr(start, html.find('\n', start) - start);
  std::size_t rows = 0;
  for (auto at = line.find("[\""); at != std::string::npos; at = line.find("[\"", at + 1)) ++rows;
  return rows;
}

// The two numbers of the progress text "done/total (label)".
std::pair<std::size_t, std::size_t> done_and_total(const std::wstring& text) {
  const auto slash = text.find(L'/');
  if (text.empty() || slash == std::wstring::npos) return {0, 0};
  return {std::stoul(text), std::stoul(text.substr(slash + 1))};
}

TEST_F(RecoverFlowTest, RecordsAndCardFilesAreShownPreviewedAndRecoveredAsSelected) {
  open({card});
  ASSERT_TRUE(pump_until([&] { return scanned(); })) << "loading and scan";

  // Labels carry the counts of what was found.
  const HTREEITEM contacts = dlg->views().contacts_item();
  const HTREEITEM messages = dlg->views().messages_item();
  EXPECT_EQ(tree->label(contacts), L"Contacts (" + std::to_wstring(contact_list().size()) + L")");
  EXPECT_EQ(tree->label(messages), L"Message (" + std::to_wstring(conversation_list().size()) + L")");
  EXPECT_GT(std::count_if(contact_list().begin(), contact_list().end(), [](auto* c) { return c->deleted; }), 0);
  EXPECT_GT(std::count_if(conversation_list().begin(), conversation_list().end(), [](auto* c) { return c->deleted; }), 0);
  const HTREEITEM disk = first_of(TreeItemKind::DiskItem, root());
  ASSERT_NE(disk, nullptr);
  EXPECT_EQ(tree->label(disk).rfind(L"card.img", 0), 0u);
  std::size_t carved = 0;
  HTREEITEM jpg = nullptr;
  for (HTREEITEM f : folders()) {
    auto* folder = static_cast<storage_view_node*>(tree->item_data(f)->payload);
    EXPECT_EQ(tree->label(f), widen(folder->label) + L" (" + std::to_wstring(view_item_count(folder)) + L")");
    carved += view_item_count(folder);
    if (folder->label == "jpg") jpg = f;
  }
  ASSERT_NE(jpg, nullptr);

  // A picture row shows its preview, copied once into the picture folder.
  select(jpg);
  ASSERT_EQ(list->mode(), ui::ListMode::Files);
  auto* first_file = static_cast<file_view_item*>(list->row_item(0));
  ASSERT_NE(first_file, nullptr);
  const fs::path pictures = dlg->workspace()->picture_dir;
  std::string preview_hash;
  ASSERT_TRUE(pump_until([&] {
    for (const auto& e : fs::directory_iterator(pictures)) {
      const std::string n = e.path().filename().u8string();
      if (n.size() > first_file->name.size() && n.substr(n.size() - first_file->name.size()) == first_file->name)
        preview_hash = sha256_of_file(e.path().u8string());
    }
    return !preview_hash.empty();
  }, 30000));
  EXPECT_TRUE(originals.count(preview_hash)) << "the preview is one of the card's pictures";
  EXPECT_TRUE(IsWindowVisible(FindWindowExW(dlg->hwnd(), nullptr, nullptr, L"preview_board")));

  // One contact unchecked: the Contacts item and the phone follow.
  select(contacts);
  ASSERT_EQ(list->mode(), ui::ListMode::Contacts);
  ASSERT_GE(contact_list().size(), 2u);
  click(list->hwnd(), list->check_rect(0));
  EXPECT_FALSE(tree->checked(contacts));
  EXPECT_FALSE(tree->checked(root()));
  const std::size_t chosen_contacts = contact_list().size() - 1;
  EXPECT_EQ(std::count_if(contact_list().begin(), contact_list().end(), [](auto* c) { return c->checked; }),
            static_cast<long long>(chosen_contacts));

  // The run: only the checked records, every carved file byte for byte.
  ModalDriver driver;
  driver.folder = output.wstring();
  command(IDC_MAIN_RECOVER, driver);
  EXPECT_EQ(driver.seen, (std::vector<Seen>{Seen::FolderBrowser, Seen::Progress}));
  ASSERT_EQ(runs().size(), 1u);
  EXPECT_EQ(runs()[0].filename().u8string().rfind("RoduderOzuzerev", 0), 0u);
  const RunContents run = read_run(runs()[0]);
  const std::string contacts_report = "Contacts (" + std::to_string(chosen_contacts) + ")/Contacts.html";
  std::string names;
  for (const auto& [name, html] : run.reports) names += name + "; ";
  ASSERT_EQ(run.reports.count(contacts_report), 1u) << names;
  EXPECT_EQ(report_rows(run.reports.at(contacts_report)), chosen_contacts + 1);
  // The machine-readable files stand beside the report: a header and one line per chosen contact.
  const std::string contacts_folder = contacts_report.substr(0, contacts_report.find('/'));
  ASSERT_EQ(run.reports.count(contacts_folder + "/contacts.csv"), 1u) << names;
  EXPECT_EQ(run.reports.count(contacts_folder + "/report.json"), 1u) << names;
  EXPECT_EQ(run.reports.count(narrow(tree->label(messages)) + "/Messages.html"), 1u);
  EXPECT_EQ(run.carved_hashes.size(), carved);
  EXPECT_EQ(run.manifest_rows, carved);
  for (const std::string& h : run.carved_hashes) {
    EXPECT_TRUE(run.manifest_hashes.count(h));
    EXPECT_TRUE(originals.count(h)) << h;
  }
  const std::size_t total = chosen_contacts + conversation_list().size() + carved;
  EXPECT_EQ(done_and_total(driver.final_progress_text), std::make_pair(total, total));

  // Stopped at once: what was written is whole and counted.
  fs::remove_all(runs()[0]);
  ModalDriver stopping;
  stopping.folder = output.wstring();
  stopping.stop_at_once = true;
  command(IDC_MAIN_RECOVER, stopping);
  ASSERT_EQ(runs().size(), 1u);
  const RunContents stopped = read_run(runs()[0]);
  std::size_t written = stopped.carved_hashes.size();
  for (const auto& [name, html] : stopped.reports) {
    if (report_rows(html) > 0) written += name.rfind("Contacts", 0) == 0 ? chosen_contacts : conversation_list().size();
  }
  EXPECT_EQ(done_and_total(stopping.final_progress_text).first, written);
  EXPECT_EQ(stopped.manifest_rows, stopped.carved_hashes.size());
  for (const std::string& h : stopped.carved_hashes) EXPECT_TRUE(stopped.manifest_hashes.count(h) && originals.count(h));

  // A report that cannot be written is not counted, and is named afterwards.
  fs::remove_all(runs()[0]);
  fs::remove(template_path);
  ModalDriver failing;
  failing.folder = output.wstring();
  command(IDC_MAIN_RECOVER, failing);
  EXPECT_EQ(failing.seen, (std::vector<Seen>{Seen::FolderBrowser, Seen::Progress, Seen::MessageBox}));
  EXPECT_TRUE(read_run(runs()[0]).reports.empty());
  EXPECT_EQ(done_and_total(failing.final_progress_text), std::make_pair(carved, total));

  // A folder that cannot be made (files of its name stand in the way for the
  // next minute) and a folder on the card's own volume: the run does not start.
  fs::remove_all(runs()[0]);
  std::vector<fs::path> blockers;
  for (std::time_t at = std::time(nullptr), end = at + 60; at < end; ++at) {
    blockers.push_back(fs::u8path(ui::recover_output_folder(output.u8string(), *std::localtime(&at))));
    std::ofstream(blockers.back()).close();
  }
  for (const std::wstring& refused_folder : {output.wstring(), std::wstring(L"C:\\")}) {
    ModalDriver refused;
    refused.folder = refused_folder;
    command(IDC_MAIN_RECOVER, refused);
    EXPECT_EQ(refused.seen, (std::vector<Seen>{Seen::FolderBrowser, Seen::MessageBox})) << narrow(refused_folder);
  }
  for (const fs::path& blocker : blockers) fs::remove(blocker);
  EXPECT_TRUE(runs().empty());

  // Nothing selected: the run does not start.
  click(tree->hwnd(), tree->check_rect(root()));  // checks everything
  click(tree->hwnd(), tree->check_rect(root()));  // unchecks everything
  ModalDriver none;
  command(IDC_MAIN_RECOVER, none);
  EXPECT_EQ(none.seen, std::vector<Seen>{Seen::MessageBox});
  EXPECT_TRUE(runs().empty());

  PostMessageW(dlg->hwnd(), WM_CLOSE, 0, 0);
  pump_until([&] { return !IsWindow(dlg->hwnd()); }, 20000);
}

TEST_F(RecoverFlowTest, ScanPausesResumesStopsAndBackReloads) {
  // A large empty card keeps the scan busy long enough to pause it.
  const fs::path big = work.path() / "big.img";
  {
    std::ofstream(big, std::ios::binary).close();
    fs::resize_file(big, 3ull << 30);
  }
  // Added through the menu's "Open Disk Image..." once the machine's own
  // (here: no) disks are scanned.
  open({});
  ASSERT_TRUE(pump_until([&] { return loaded() && ScanState == ScanFinished; }));
  ModalDriver adding;
  adding.menu_entry = menu_position(ui::kMenuOpenDiskImage);
  adding.file = big.wstring();
  command(IDC_MAIN_MENU, adding);
  EXPECT_EQ(adding.seen, (std::vector<Seen>{Seen::Menu, Seen::FileDialog}));
  ASSERT_TRUE(pump_until([&] { return first_of(TreeItemKind::DiskItem, root()) && ScanState == ScanRunning; }))
      << "disk item: " << (first_of(TreeItemKind::DiskItem, root()) != nullptr) << ", scan state: " << ScanState;
  EXPECT_EQ(tree->label(first_of(TreeItemKind::DiskItem, root())).rfind(L"big.img", 0), 0u);
  HWND pause = GetDlgItem(dlg->hwnd(), IDC_MAIN_PAUSE);
  HWND resume = GetDlgItem(dlg->hwnd(), IDC_MAIN_RESUME);
  SendMessageW(dlg->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_PAUSE, BN_CLICKED), reinterpret_cast<LPARAM>(pause));
  EXPECT_EQ(ScanState, ScanPaused);
  EXPECT_TRUE(IsWindowVisible(resume));
  EXPECT_FALSE(IsWindowVisible(pause));
  const LRESULT held = SendDlgItemMessageW(dlg->hwnd(), IDC_MAIN_PROGRESS, PBM_GETPOS, 0, 0);
  pump_until([] { return false; }, 500);
  EXPECT_EQ(SendDlgItemMessageW(dlg->hwnd(), IDC_MAIN_PROGRESS, PBM_GETPOS, 0, 0), held) << "paused means paused";
  SendMessageW(dlg->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_RESUME, BN_CLICKED), reinterpret_cast<LPARAM>(resume));
  EXPECT_EQ(ScanState, ScanRunning);
  EXPECT_TRUE(IsWindowVisible(pause));
  EXPECT_FALSE(IsWindowVisible(resume));
  SendMessageW(dlg->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_STOP, BN_CLICKED), 0);
  ASSERT_TRUE(pump_until([] { return ScanState == ScanFinished; }, 30000));
  const std::wstring contacts_label = tree->label(dlg->views().contacts_item());

  // Back, answered Yes: the phone is read again and the card listed again.
  ModalDriver back;
  back.box_answer = IDC_MSGBOX_YES;
  command(IDC_MAIN_BACK, back);
  EXPECT_EQ(back.seen, std::vector<Seen>{Seen::MessageBox});
  ASSERT_TRUE(pump_until([&] { return loaded() && first_of(TreeItemKind::DiskItem, root()); }));
  EXPECT_EQ(tree->label(dlg->views().contacts_item()), contacts_label);
  SendMessageW(dlg->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_STOP, BN_CLICKED), 0);
  PostMessageW(dlg->hwnd(), WM_CLOSE, 0, 0);
  pump_until([&] { return !IsWindow(dlg->hwnd()); }, 20000);
}

TEST(DiskImageArguments, EveryArgumentButOptionsIsAnImage) {
  struct Case {
    const wchar_t* line;
    std::vector<std::string> tails;
  } cases[] = {
      {L"Quillfern.exe", {}},
      {L"Quillfern.exe --smoke-test", {}},
      {L"Quillfern.exe \"C:\\cards\\my card.img\" --smoke-test D:\\b.dd", {"\\cards\\my card.img", "\\b.dd"}},
  };
  for (const Case& c : cases) {
    const auto images = disk_image_arguments(c.line);
    ASSERT_EQ(images.size(), c.tails.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
      EXPECT_EQ(images[i].substr(images[i].size() - c.tails[i].size()), c.tails[i]);
    }
  }
}

}  // namespace
}  // namespace qf::app
