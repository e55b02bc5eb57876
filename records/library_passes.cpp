#include "records/library_passes.h"

#include "records/contact_field_append.h"
#include "records/contact_kind.h"
#include "records/message_duplicate_rule.h"
#include "records/parser_library.h"

namespace qf {

namespace {

RecordSource library_source(bool pass_flag) {
  RecordSource source;
  source.file = pass_flag ? SourceFile::backup_copy : SourceFile::pulled_copy;
  source.kind = SourceKind::live;
  return source;
}

}  // namespace

int LibraryContactPass(const std::string& utf8_path, bool pass_flag, ContactWorkingTable& working,
                       MimetypeNameTable& mimetypes, ContactTable* deleted_values) {
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
      it->second.source = library_source(pass_flag);
    }
    const ContactKind kind = ContactKindOf(MimetypeNameOf(mimetypes, row->mimetype_id));
    const std::string_view value = lib_value(row->value, row->value_length);
    // A value of a live contact that only this older copy holds was deleted
    // since (typically inside the -wal): it belongs to a deleted record of
    // that contact, never to the live one.
    const bool deleted_value = deleted_values != nullptr && !it->second.deleted && !value.empty() &&
                               !ContactHoldsValue(it->second, value, kind);
    if (deleted_value) {
      ContactRecord& gone = FindOrCreateContact(*deleted_values, row->raw_contact_id, true);
      if (gone.source.kind == SourceKind::unknown) gone.source = library_source(pass_flag);
      ContactFieldAppend(gone, value, kind);
      continue;
    }
    ContactFieldAppend(it->second, value, kind);
  }
  return parsed.status();
}

int LibraryMessagePass(const std::string& utf8_path, bool pass_flag, ConversationTable& conversations) {
  ParsedMessages parsed(utf8_path);
  for (const LibMessageNode* node = parsed.messages(); node != nullptr; node = node->next) {
    const char* address = lib_text(node->address);
    ConversationRecord& conversation = FindOrCreateConversation(conversations, address, node->thread_id, pass_flag);
    MessageRecord message;
    message.source = library_source(pass_flag);
    message.type = node->type;
    message.thread_id = node->thread_id;
    message.deleted = pass_flag;
    message.date_text = lib_text(node->date_text);
    message.address = address;
    message.body = std::string(lib_value(node->body, node->body_length));
    MessageDuplicateRuleAdd(conversation, std::move(message));
  }
  return parsed.status();
}

}  // namespace qf
