#include "tools/skin/data_page_sample_win32.h"

#include <deque>
#include <memory>
#include <vector>

#include "carve/storage_view.h"
#include "platform/utf_win32.h"
#include "ui/contact_info_board_win32.h"
#include "ui/gdi_objects_win32.h"
#include "ui/image_preview_board_win32.h"
#include "ui/list_view_check_win32.h"
#include "ui/msg_info_board_win32.h"
#include "ui/tree_view_ex_win32.h"

namespace qf::tools {
namespace {

using namespace qf::ui;

const char* const kNames[] = {"Ingrid Aalto", "Marcus Bell", "\xE7\x8E\x8B\xE8\x8A\xB3 (Wang Fang)",
                              "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0 \xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2\xD0\xB0",
                              "\xD8\xB3\xD8\xA7\xD8\xB1\xD8\xA9 \xD8\xB9\xD9\x84\xD9\x8A", "Dr. Olu Adeyemi",
                              "Pizza Napoli", "Mum", "Tomasz Wi\xC5\x9Bniewski", "Chloe Martin"};
const char* const kCompanies[] = {"Northwind", "", "Contoso Ltd", "", "Fabrikam", "City Clinic", "", "", "Litware", ""};
const char* const kBodies[] = {
    "Running late, be there in 10",
    "Did you see the match last night? Unbelievable second half, I still can't believe they came back from two "
    "goals down.",
    "ok",
    "Your parcel will be delivered tomorrow between 9:00 and 13:00. Reply STOP to opt out.",
    "Can you pick up milk and bread on the way home?",
    "Happy birthday!! \xF0\x9F\x8E\x82",
    "Meeting moved to Thursday 3pm, room 4.12",
};

struct Sample {
  std::deque<ContactRecord> contacts;
  ContactList contact_list;
  std::deque<ConversationRecord> conversations;
  ConversationList conversation_list;
  storage_view_node disk, folder;
  std::deque<cdr_found_file> files;
  std::wstring picture;
  ~Sample() {
    for (file_view_item* item = folder.first_item; item;) {
      file_view_item* next = item->next;
      delete item;
      item = next;
    }
  }
};

void fill_contacts(Sample& s) {
  for (int i = 0; i < 250; ++i) {
    ContactRecord& c = s.contacts.emplace_back();
    c.deleted = i < 40;  // the display list puts deleted records first
    c.checked = i % 11 != 3;
    c.name = kNames[i % 10];
    c.phone = "+44 7700 9" + std::to_string(10000 + i * 37);
    c.organization = kCompanies[i % 10];
    c.email = i % 3 ? "" : "friend" + std::to_string(i) + "@example.org";
    s.contact_list.push_back(&c);
  }
  ContactRecord& first = s.contacts.front();
  first.note =
      "Met at the spring conference in Tampere. Prefers calls after 6pm.\r\nAllergic to nuts - remember for the "
      "dinner. Owes me the book about sailing. Her brother Lauri also works at Northwind, in the Oulu office. "
      "Birthday in early May; last year we sent flowers. Ask about the new apartment and the cat (Miro). "
      "Daughter starts school in August.";
  first.postal_address = "Kauppakatu 12 B 7|00100 Helsinki|Finland";
  first.website = "https://example.org/ingrid";
  first.nickname = "Inkku";
  first.im = "ingrid.aalto@chat.example.org";
  first.email = "ingrid.aalto@example.org|ingrid@work.example.com";
}

void fill_conversations(Sample& s) {
  for (int i = 0; i < 40; ++i) {
    ConversationRecord& c = s.conversations.emplace_back();
    c.deleted = i < 6;
    c.name = kNames[i % 10];
    c.address = "+44 7700 9" + std::to_string(20000 + i * 53);
    s.conversation_list.push_back(&c);
  }
  ConversationRecord& talk = s.conversations.front();
  for (int i = 0; i < 2000; ++i) {
    MessageRecord& m = talk.messages.emplace_back();
    m.type = (i * 7 % 5) < 2 ? 1 : 2;
    char date[32];
    std::snprintf(date, sizeof date, "2024-%02d-%02d %02d:%02d:%02d", 1 + i / 170, 1 + i / 6 % 28, 8 + i % 12,
                  i * 13 % 60, i * 29 % 60);
    m.date_text = date;
    m.body = kBodies[i % 7];
  }
}

void fill_files(Sample& s) {
  s.disk.label = "Removable disk (E:) [1.9 GB]";
  s.folder.label = "jpg";
  for (int i = 0; i < 160; ++i) {
    cdr_found_file& f = s.files.emplace_back();
    file_view_item* item = append_view_item(&s.folder, &f);
    char name[32];
    std::snprintf(name, sizeof name, "f%07d.jpg", 2048 + i * 613);
    item->name = name;
    item->size = static_cast<std::uint64_t>(900 + i * i * 977);
    item->created = "2024-06-1" + std::to_string(i % 10);
    item->selected = i % 9 != 4;
  }
}

// A tall picture written for the pane: sky, hills, a sun.
std::wstring write_picture(int w, int h, const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + name;
  Gdiplus::Bitmap bitmap(w, h, PixelFormat32bppARGB);
  Gdiplus::Graphics g(&bitmap);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::LinearGradientBrush sky(Gdiplus::Point(0, 0), Gdiplus::Point(0, h), Gdiplus::Color(255, 90, 160, 230),
                                   Gdiplus::Color(255, 250, 220, 170));
  g.FillRectangle(&sky, 0, 0, w, h);
  Gdiplus::SolidBrush sun(Gdiplus::Color(255, 255, 200, 60));
  g.FillEllipse(&sun, w * 55 / 100, h / 6, w / 4, w / 4);
  Gdiplus::SolidBrush hill(Gdiplus::Color(255, 60, 130, 70));
  g.FillEllipse(&hill, -w / 3, h * 2 / 3, w * 5 / 4, h / 2);
  Gdiplus::SolidBrush hill2(Gdiplus::Color(255, 40, 100, 55));
  g.FillEllipse(&hill2, w / 3, h * 3 / 4, w, h / 2);
  CLSID png{};
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i)
    if (std::wstring(codecs[i].MimeType) == L"image/png") png = codecs[i].Clsid;
  bitmap.Save(path.c_str(), &png, nullptr);
  return path;
}

LRESULT CALLBACK page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(window, &r);
      fill_solid(reinterpret_cast<HDC>(wparam), r, RGB(232, 237, 242));
      return 1;
    }
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

HWND make_page(int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = page_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"QfGalleryPage";
  RegisterClassW(&wc);
  return CreateWindowExW(0, L"QfGalleryPage", L"data page", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, width,
                         height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

ControlCreateArgs at(HWND parent, int x, int y, int w, int h) { return ControlCreateArgs{parent, 0, x, y, w, h}; }

void fill_tree(CTreeViewEx1& tree, Sample& s, TreeItemKind selected) {
  HTREEITEM root = tree.insert_item(TVI_ROOT, TreeItemKind::PhoneRoot, L"android phone", true);
  HTREEITEM contacts = tree.insert_item(root, TreeItemKind::ContactsCategory, L"Contacts(250)", false);
  HTREEITEM messages = tree.insert_item(root, TreeItemKind::MessagesCategory, L"Message(40)", false);
  std::wstring disk_label = widen(s.disk.label.empty() ? "Removable disk (E:) [1.9 GB]" : s.disk.label);
  HTREEITEM disk = tree.insert_item(TVI_ROOT, TreeItemKind::DiskItem, disk_label, true);
  HTREEITEM jpg = tree.insert_item(disk, TreeItemKind::FolderItem, L"jpg(160)", false);
  tree.insert_item(disk, TreeItemKind::FolderItem, L"png(37)", false);
  tree.insert_item(disk, TreeItemKind::FolderItem, L"pdf(12)", false);
  HTREEITEM mp4 = tree.insert_item(disk, TreeItemKind::FolderItem, L"mp4(3)", false);
  tree.set_enabled(mp4, false);
  tree.set_subtree_check(root, true);
  tree.set_check(jpg, true);
  for (HTREEITEM item : {root, disk}) SendMessageW(tree.hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  HTREEITEM pick = selected == TreeItemKind::ContactsCategory ? contacts
                   : selected == TreeItemKind::MessagesCategory ? messages
                                                                : jpg;
  SendMessageW(tree.hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(pick));
  SetFocus(tree.hwnd());
}

int run_until_closed(HWND page, UINT close_after_ms) {
  SetTimer(page, 1, close_after_ms, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int show_data_page(const std::wstring& variant, UINT close_after_ms) {
  auto s = std::make_unique<Sample>();
  fill_contacts(*s);
  fill_conversations(*s);
  fill_files(*s);
  if (variant == L"picture-small") {
    HWND page = make_page(260, 527);
    if (!page) return 3;
    DhImagePreviewBoard picture;
    picture.create(at(page, 10, 10, 240, 507));
    picture.set_requested_path(narrow(write_picture(100, 50, L"qf-gallery-small.png")));
    return run_until_closed(page, close_after_ms);
  }
  TreeItemKind kind = variant == L"data-contacts"   ? TreeItemKind::ContactsCategory
                      : variant == L"data-messages" ? TreeItemKind::MessagesCategory
                      : variant == L"data-files"    ? TreeItemKind::FolderItem
                                                    : TreeItemKind::PhoneRoot;
  if (kind == TreeItemKind::PhoneRoot) return 2;
  HWND page = make_page(990, 640);
  if (!page) return 3;
  CTreeViewEx1 tree;
  tree.create(at(page, 1, 32, 221, 597));
  fill_tree(tree, *s, kind);
  CListViewCheck1 list;
  list.create(at(page, 225, 119, 517, 508));
  CContactInfoBoard contact;
  CMsgInfoBoard conversation;
  DhImagePreviewBoard picture;
  ControlCreateArgs pane = at(page, 743, 120, 240, 507);
  if (kind == TreeItemKind::ContactsCategory) {
    list.fill(ui::contact_rows(s->contact_list));
    contact.create(pane);
    contact.show_contact(s->contact_list.front());
  } else if (kind == TreeItemKind::MessagesCategory) {
    list.fill(ui::conversation_rows(s->conversation_list));
    conversation.create(pane);
    conversation.show_conversation(s->conversation_list.front());
    conversation.scroll_to_position(conversation.layout().content_height() / 2);
  } else {
    list.fill(ui::file_rows(&s->folder));
    list.sort_by(2);
    picture.create(pane);
    picture.set_requested_path(narrow(write_picture(480, 1014, L"qf-gallery-tall.png")));
  }
  return run_until_closed(page, close_after_ms);
}

}  // namespace qf::tools
