#include "records/contact_names.h"

namespace qf {

std::vector<std::string> SplitPhonePieces(std::string_view phone) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < phone.size()) {
    const std::size_t bar = phone.find('|', start);
    if (bar == std::string_view::npos) {
      pieces.emplace_back(phone.substr(start));
      break;
    }
    pieces.emplace_back(phone.substr(start, bar - start));
    start = bar + 1;
  }
  return pieces;
}

std::map<std::string, std::string> BuildNumberToName(const ContactTable& contacts) {
  std::map<std::string, std::string> names;
  for (const auto& [key, contact] : contacts) {
    if (contact.phone.empty() || contact.name.empty()) continue;
    for (std::string& piece : SplitPhonePieces(contact.phone)) names[std::move(piece)] = contact.name;
  }
  return names;
}

void attach_contact_names(const ContactTable& contacts, ConversationTable& conversations) {
  const std::map<std::string, std::string> names = BuildNumberToName(contacts);
  for (auto& [key, conversation] : conversations) {
    auto it = names.find(conversation.address);
    if (it != names.end()) conversation.name = it->second;
  }
}

}  // namespace qf
