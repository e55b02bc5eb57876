#include "records/library_passes.h"

#include <limits>

#include "records/contact_field_append.h"
#include "records/contact_kind.h"
#include "records/date_text.h"
#include "records/message_duplicate_rule.h"
#include "records/mimetype_fallback.h"
#include "records/parser_library.h"

namespace qf {

namespace {

SourceFile pass_file(bool pass_flag) { return pass_flag ? SourceFile::backup_copy : SourceFile::pulled_copy; }

RecordSource library_source(bool pass_flag) {
  RecordSource source;
  source.file = pass_file(pass_flag);
  source.kind = SourceKind::live;
  return source;
}

// Pages SQLite refused: the library's lists lack their rows, our reader reads them.
bool sqlite_refused_pages(int status) { return status == MORVATCH_ROWS_SKIPPED || status == MORVATCH_NOT_DATABASE; }

std::int32_t clamp_int32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

// One live data row of a contacts pass.
struct ContactRowValue {
  std::int64_t raw_contact_id = 0;
  std::int32_t mimetype_id = 0;
  std::string_view value;
  RecordSource source;
};

class ContactPassFiler {
 public:
  ContactPassFiler(bool pass_flag, ContactWorkingTable& working, const MimetypeNameTable& mimetypes,
                   ContactTable* deleted_values)
      : pass_flag_(pass_flag), working_(working), mimetypes_(mimetypes), deleted_values_(deleted_values) {}

  // Files the value into the record of its raw contact id, created with
  // `deleted` = pass flag when absent. A value of a live contact that only
  // this older copy holds was deleted since (typically inside the -wal): it
  // belongs to a deleted record of that contact, never to the live one.
  void file(const ContactRowValue& row) const {
    auto [it, created] = working_.try_emplace(row.raw_contact_id);
    if (created) {
      it->second.deleted = pass_flag_;
      it->second.raw_contact_id = row.raw_contact_id;
      it->second.source = row.source;
    }
    const ContactKind kind = ContactKindOf(MimetypeNameOf(mimetypes_, row.mimetype_id));
    const bool deleted_value = deleted_values_ != nullptr && !it->second.deleted && !row.value.empty() &&
                               !ContactHoldsValue(it->second, row.value, kind);
    if (deleted_value) {
      ContactRecord& gone = FindOrCreateContact(*deleted_values_, row.raw_contact_id, true);
      if (gone.source.kind == SourceKind::unknown) gone.source = row.source;
      ContactFieldAppend(gone, row.value, kind);
      return;
    }
    ContactFieldAppend(it->second, row.value, kind);
  }

 private:
  bool pass_flag_;
  ContactWorkingTable& working_;
  const MimetypeNameTable& mimetypes_;
  ContactTable* deleted_values_;
};

void file_message(ConversationTable& conversations, bool pass_flag, MessageRecord message) {
  message.deleted = pass_flag;
  ConversationRecord& conversation =
      FindOrCreateConversation(conversations, message.address, message.thread_id, pass_flag);
  MessageDuplicateRuleAdd(conversation, std::move(message));
}

}  // namespace

LibraryPassResult LibraryContactPass(const std::string& utf8_path, bool pass_flag, ContactWorkingTable& working,
                                     MimetypeNameTable& mimetypes, ContactTable* deleted_values,
                                     const std::function<bool()>& stop) {
  LibraryPassResult result;
  const ContactPassFiler filer(pass_flag, working, mimetypes, deleted_values);
  {
    ParsedContacts parsed(utf8_path);
    mimetypes.clear();
    for (const LibMimeTypeNode* m = parsed.mimetypes(); m != nullptr; m = m->next) {
      mimetypes[m->id] = lib_text(m->text);
    }
    for (const LibContactRowNode* row = parsed.rows(); row != nullptr; row = row->next) {
      filer.file({row->raw_contact_id, row->mimetype_id, lib_value(row->value, row->value_length),
                  library_source(pass_flag)});
    }
    result.status = parsed.status();
  }
  if (!sqlite_refused_pages(result.status)) return result;
  // A file the library could not read at all gave no mimetype list.
  if (mimetypes.empty()) ReadMimetypeNameTable(utf8_path, mimetypes);
  result.own_reader = ReadRefusedPageRows(
      utf8_path, LiveTable::contacts, pass_file(pass_flag),
      [&](const TableLayout& layout, const LeafCell& row, const RecordSource& source) {
        const std::string value = cell_text(row, layout.data1_column);
        filer.file({cell_integer(row, layout.raw_contact_id_column),
                    clamp_int32(cell_integer(row, layout.raw_contact_id_column - 1)), value, source});
      },
      stop);
  return result;
}

LibraryPassResult LibraryMessagePass(const std::string& utf8_path, bool pass_flag,
                                     ConversationTable& conversations, const std::function<bool()>& stop) {
  LibraryPassResult result;
  {
    ParsedMessages parsed(utf8_path);
    for (const LibMessageNode* node = parsed.messages(); node != nullptr; node = node->next) {
      MessageRecord message;
      message.source = library_source(pass_flag);
      message.type = node->type;
      message.thread_id = node->thread_id;
      message.date_text = lib_text(node->date_text);
      message.address = lib_text(node->address);
      message.body = std::string(lib_value(node->body, node->body_length));
      file_message(conversations, pass_flag, std::move(message));
    }
    result.status = parsed.status();
  }
  if (!sqlite_refused_pages(result.status)) return result;
  result.own_reader = ReadRefusedPageRows(
      utf8_path, LiveTable::messages, pass_file(pass_flag),
      [&](const TableLayout& layout, const LeafCell& row, const RecordSource& source) {
        MessageRecord message;
        message.source = source;
        message.type = clamp_int32(cell_integer(row, layout.type_column));
        message.thread_id = cell_integer(row, layout.thread_id_column);
        message.date_text = DateTextFromMillis(cell_integer(row, layout.date_column));
        message.address = cell_text(row, layout.address_column);
        message.body = cell_text(row, layout.body_column);
        file_message(conversations, pass_flag, std::move(message));
      },
      stop);
  return result;
}

}  // namespace qf
