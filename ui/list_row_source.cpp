#include "ui/list_row_source.h"

#include "carve/cdr_info.h"

namespace qf::ui {

const std::vector<ListColumn>& columns_for(ListMode mode) {
  static const std::vector<ListColumn> none;
  static const std::vector<ListColumn> contacts = {{L"No.", 140, SortKind::Number},
                                                   {L"Name", 100, SortKind::Text},
                                                   {L"Phone", 100, SortKind::Text},
                                                   {L"Company", 80, SortKind::Text},
                                                   {L"Email", 80, SortKind::Text}};
  static const std::vector<ListColumn> messages = {
      {L"No.", 160, SortKind::Number}, {L"Name", 120, SortKind::Text}, {L"Phone", 220, SortKind::Text}};
  static const std::vector<ListColumn> files = {{L"No.", 130, SortKind::Number},
                                                {L"Name", 150, SortKind::Text},
                                                {L"Size", 120, SortKind::Size},
                                                {L"Date", 100, SortKind::Date}};
  switch (mode) {
    case ListMode::Contacts: return contacts;
    case ListMode::Messages: return messages;
    case ListMode::Files: return files;
    default: return none;
  }
}

std::uint64_t ListRowSource::sort_value(size_t index, int column) const {
  return column == 0 ? index + 1 : 0;
}

std::uint64_t date_sort_value(const std::string& text) {
  // Digit positions of "YYYY-MM-DD HH:MM:SS"; separators must stand where
  // they belong, so a stray text never passes for a date.
  static const char kShape[] = "0000-00-00 00:00:00";
  if (text.size() != 10 && text.size() != 19) return 0;
  std::uint64_t value = 0;
  for (size_t i = 0; i < 19; ++i) {
    char c = i < text.size() ? text[i] : '0';
    if (i >= text.size() && kShape[i] != '0') continue;
    if (kShape[i] == '0') {
      if (c < '0' || c > '9') return 0;
      value = value * 10 + static_cast<std::uint64_t>(c - '0');
    } else if (c != kShape[i]) {
      return 0;
    }
  }
  return value;
}

namespace {

std::string number_text(size_t index) { return std::to_string(index + 1); }

std::string contact_cell(const ContactRecord& c, size_t i, int column) {
  switch (column) {
    case 0: return number_text(i);
    case 1: return c.name;
    case 2: return c.phone;
    case 3: return c.organization;
    case 4: return c.email;
    default: return {};
  }
}

std::string conversation_cell(const ConversationRecord& c, size_t i, int column) {
  switch (column) {
    case 0: return number_text(i);
    case 1: return c.name;
    case 2: return c.address;
    default: return {};
  }
}

// The records of a display list; their `checked` and `deleted` flags are
// the rows'.
template <typename Record, ListMode Mode, std::string (*Cell)(const Record&, size_t, int)>
class RecordRows final : public ListRowSource {
 public:
  explicit RecordRows(std::vector<Record*>& list) : list_(list) {}
  ListMode mode() const override { return Mode; }
  size_t size() const override { return list_.size(); }
  std::string cell(size_t i, int column) const override { return Cell(*list_[i], i, column); }
  bool checked(size_t i) const override { return list_[i]->checked; }
  void set_checked(size_t i, bool checked) override { list_[i]->checked = checked; }
  bool deleted(size_t i) const override { return list_[i]->deleted; }
  void* item(size_t i) const override { return list_[i]; }

 private:
  std::vector<Record*>& list_;
};

// The folder's items are a linked list the scan appends to; a snapshot
// taken under the folder's lock gives indexed access and is renewed when an
// index past it is asked for.
class FileRows final : public ListRowSource {
 public:
  explicit FileRows(const storage_view_node* folder) : folder_(folder) {}
  ListMode mode() const override { return ListMode::Files; }
  size_t size() const override {
    if (folder_ && view_item_count(folder_) != items_.size()) items_ = view_items(folder_);
    return items_.size();
  }
  std::string cell(size_t i, int column) const override {
    const file_view_item& f = *at(i);
    switch (column) {
      case 0: return number_text(i);
      case 1: return f.name;
      case 2: return size_text_short(f.size);
      case 3: return f.created;
      default: return {};
    }
  }
  std::uint64_t sort_value(size_t i, int column) const override {
    if (column == 2) return at(i)->size;
    if (column == 3) return date_sort_value(at(i)->created);
    return ListRowSource::sort_value(i, column);
  }
  bool checked(size_t i) const override { return at(i)->selected.load() != 0; }
  void set_checked(size_t i, bool checked) override { at(i)->selected.store(checked ? 1 : 0); }
  void* item(size_t i) const override { return at(i); }

 private:
  file_view_item* at(size_t i) const {
    if (i >= items_.size()) size();
    return items_[i];
  }
  const storage_view_node* folder_;
  mutable std::vector<file_view_item*> items_;
};

}  // namespace

std::unique_ptr<ListRowSource> contact_rows(ContactList& list) {
  return std::make_unique<RecordRows<ContactRecord, ListMode::Contacts, contact_cell>>(list);
}
std::unique_ptr<ListRowSource> conversation_rows(ConversationList& list) {
  return std::make_unique<RecordRows<ConversationRecord, ListMode::Messages, conversation_cell>>(list);
}
std::unique_ptr<ListRowSource> file_rows(const storage_view_node* folder) {
  return std::make_unique<FileRows>(folder);
}

}  // namespace qf::ui
