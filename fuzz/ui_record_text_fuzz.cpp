// Feeds arbitrary bytes, as record texts from a phone, to what the data
// page's panes and list do with them: line breaking of a contact value
// (including broken UTF-8), the date sort value, the conversation layout and
// a sort of the list over records named by the input.
// Replay a crash: ui_record_text_fuzz <file>.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "ui/bubble_layout.h"
#include "ui/check_list_model.h"
#include "ui/contact_card_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  auto width_of = [](std::string_view t) { return static_cast<int>(t.size()) * 7; };
  for (int box : {0, 1, 60, 150}) qf::ui::break_lines(text, box, width_of);
  qf::ui::date_sort_value(text);

  // Every line of the input is one message, a contact and a conversation.
  qf::ConversationRecord conversation;
  std::deque<qf::ContactRecord> contacts;
  qf::ContactList list;
  size_t start = 0;
  while (start <= text.size() && conversation.messages.size() < 300) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    qf::MessageRecord m;
    m.type = static_cast<int>(end - start) % 3;
    m.date_text = text.substr(start, std::min<size_t>(19, end - start));
    m.body = text.substr(start, end - start);
    conversation.messages.push_back(m);
    contacts.emplace_back().name = m.body;
    list.push_back(&contacts.back());
    start = end + 1;
  }
  qf::ui::ConversationLayout layout;
  layout.build(&conversation, [](const std::string& body) {
    return qf::ui::TextExtent{static_cast<int>(body.size() % 5000) * 6, 16};
  });
  layout.visible(layout.content_height() / 2, 507);
  qf::ui::CheckListModel model;
  model.fill(qf::ui::contact_rows(list));
  model.sort_by(1);
  model.sort_by(1);
  while (model.load_more()) {
  }
  return 0;
}
