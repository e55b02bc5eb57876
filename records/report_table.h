#pragma once
// The data of an HTML report: a JSON array of rows, every row an array of
// strings of the same length, the header row first. Written compactly into
// the report's script element (see FillReportTemplate).
#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "records/contact_record.h"
#include "records/conversation_record.h"

namespace qf {

using ReportTable = rapidjson::Document;

// Header "ID", "Deleted", "Name", "Phone", "Email", "Note", "Organization",
// "Address", "IM", "Nickname", "Website", "Others"; then one row per contact,
// its ID the 1-based position in `records`.
ReportTable BuildContactsReportTable(const std::vector<const ContactRecord*>& records);

// Header "ID", "Deleted", "Name", "Phone Number", "Message", "Date Time",
// "Type", "Text"; then per conversation one conversation row followed by one
// row per message, in the conversation's message order. A message row has
// its own "Yes"/"No" in "Deleted", its date time with the UTC offset
// (DateTimeWithOffset) and its type in words (MessageTypeName).
ReportTable BuildMessagesReportTable(const std::vector<const ConversationRecord*>& records);

// "Yes" for a deleted record, else "No".
const char* yes_no(bool deleted);

// A message's local date time with the zone's UTC offset at that time,
// "2024-05-01 12:00:00 +02:00", so the report says which instant it means.
std::string DateTimeWithOffset(const std::string& date_text);

// Compact JSON (no spaces, no line breaks). Record texts go out byte for
// byte, escaping only: \" \\ \b \t \n \f \r, other bytes below 0x20 as \u00XX
// (uppercase hex), and "<" as \u003C, so that no text (an SMS body holding
// "</script>" or "<!--") can end or disturb the script element around it.
// The decoded strings are unchanged by that last escape.
std::string WriteReportTable(const ReportTable& table);

}  // namespace qf
