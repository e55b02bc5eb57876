#include "records/library_passes.h"

#include "records/contact_field_append.h"
#include "records/contact_kind.h"
#include "records/message_duplicate_rule.h"
#include "records/parser_library.h"

namespace qf {

void LibraryContactPass(const std::string& utf8_path, bool pass_flag, ContactWorkingTable& working,
                        MimetypeNameTable& mimetypes) {
  ParsedContacts parsed(utf8_path);
  mimetypes.clear();
  for (const LibMimeTypeNode* m = parsed.mimetypes(); m != nullptr; m = m->next) {
    mimetypes[m->id] = lib_text(m->text);
  }
  for (const LibContactRowNode* row = parsed.rows(); row != nullptr; row = row->next) {
    auto [it, created] = working.try_emplace(row->raw_contact_id);
    if (created) {
      it->second.deleted = pass_flag;
      it->second.raw_contact_id = row->raw_contact_id;
    }
    const ContactKind kind = ContactKindOf(MimetypeNameOf(mimetypes, row->mimetype_id));
    ContactFieldAppend(it->second, lib_text(row->value), kind);
  }
}

void LibraryMessagePass(const std::string& utf8_path, bool pass_flag, ConversationTable& conversations) {
  ParsedMessages parsed(utf8_path);
  for (const LibMessageNode* node = parsed.messages(); node != nullptr; node = node->next) {
    const char* address = lib_text(node->address);
    ConversationRecord& conversation = FindOrCreateConversation(conversations, address, node->thread_id, pass_flag);
    MessageRecord message;
    message.type = node->type;
    message.thread_id = node->thread_id;
    message.deleted = pass_flag;
    message.date_text = lib_text(node->date_text);
    message.address = address;
    message.body = lib_text(node->body);
    MessageDuplicateRuleAdd(conversation, std::move(message));
  }
}

}  // namespace qf
