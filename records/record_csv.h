#pragma once
// contacts.csv and messages.csv: the records of the HTML reports as CSV
// (RFC 4180, UTF-8, CR LF), for spreadsheets and scripts. Both end with the
// record's origin: file, kind, page, byte offset, -wal frame.
#include <string>
#include <vector>

#include "records/contact_record.h"
#include "records/conversation_record.h"

namespace qf {

// The contacts report's twelve columns, then the origin; one row per
// contact, in the order given, with the report's IDs.
std::string ContactsCsv(const std::vector<const ContactRecord*>& records);

// One row per message: its conversation's ID (as in the messages report),
// deleted flag, name, phone number and thread, then the message's own
// deleted flag, date time, UTC offset, type in words and as stored, address,
// text and origin. A conversation without messages gets one row with the
// message cells empty, so no conversation of the report is missing.
std::string MessagesCsv(const std::vector<const ConversationRecord*>& records);

}  // namespace qf
