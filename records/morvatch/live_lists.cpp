#include "records/morvatch/live_lists.h"

#include <sqlite3.h>

#include <cstdint>
#include <limits>

#include "records/date_text.h"
#include "records/morvatch/live_db.h"

namespace qf::morvatch {

namespace {

// A 32-bit field of the lists from a database integer. Out-of-range values
// (only a crafted file has them) are pinned to the field's bounds rather than
// cut to their low bits, which could turn them into some other valid value.
std::int32_t column_int32(sqlite3_stmt* statement, int column) {
  const std::int64_t v = sqlite3_column_int64(statement, column);
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v);
}

// Reads the text before the length: SQLite's documented order, since the text
// call may convert the value and change its byte count.
const char* column_text(TextPool& texts, sqlite3_stmt* statement, int column) {
  const unsigned char* bytes = sqlite3_column_text(statement, column);
  return texts.keep(bytes, sqlite3_column_bytes(statement, column));
}

}  // namespace

void read_contact_lists(const std::string& utf8_path, ContactLists& out) {
  out.clear();
  LiveDb db;
  if (!db.open(utf8_path)) {
    out.status = db.status();
    return;
  }
  db.for_each_row("SELECT _id, mimetype FROM mimetypes", [&](sqlite3_stmt* s) {
    LibMimeTypeNode& node = out.mimetypes.append();
    node.id = column_int32(s, 0);
    node.text = column_text(out.texts, s, 1);
  });
  db.for_each_table_row("mimetype_id, raw_contact_id, data1", "data", [&](sqlite3_stmt* s) {
    LibContactRowNode& node = out.rows.append();
    node.mimetype_id = column_int32(s, 1);
    node.raw_contact_id = sqlite3_column_int64(s, 2);
    node.value = column_text(out.texts, s, 3);
    node.value_length = sqlite3_column_bytes(s, 3);
  });
  out.status = db.status();
}

void read_message_list(const std::string& utf8_path, MessageList& out) {
  out.clear();
  LiveDb db;
  if (!db.open(utf8_path)) {
    out.status = db.status();
    return;
  }
  db.for_each_table_row("thread_id, address, date, type, body", "sms", [&](sqlite3_stmt* s) {
    LibMessageNode& node = out.messages.append();
    node.thread_id = sqlite3_column_int64(s, 1);
    node.address = column_text(out.texts, s, 2);
    // The same rendering as the deleted-record decoder's, so a message found
    // by both readers compares equal and is listed once.
    const std::string date = DateTextFromMillis(sqlite3_column_int64(s, 3));
    node.date_text = out.texts.keep(reinterpret_cast<const unsigned char*>(date.data()),
                                    static_cast<int>(date.size()));
    node.type = column_int32(s, 4);
    node.body = column_text(out.texts, s, 5);
    node.body_length = sqlite3_column_bytes(s, 5);
  });
  out.status = db.status();
}

}  // namespace qf::morvatch
