#include "records/report_table.h"
#include "records/utc_offset.h"

#include <gtest/gtest.h>

#include <rapidjson/document.h>

#include <utility>
#include <string>
#include <vector>

namespace qf {
namespace {

std::string contacts_json(const std::vector<ContactRecord>& contacts) {
  std::vector<const ContactRecord*> refs;
  for (const auto& c : contacts) refs.push_back(&c);
  return WriteReportTable(BuildContactsReportTable(refs));
}

// The JSON parsed back: what the report's script sees.
std::vector<std::vector<std::string>> decode(const std::string& json) {
  rapidjson::Document doc;
  doc.Parse(json.data(), json.size());
  EXPECT_FALSE(doc.HasParseError()) << json;
  std::vector<std::vector<std::string>> rows;
  if (doc.HasParseError() || !doc.IsArray()) return rows;
  for (const auto& row : doc.GetArray()) {
    rows.emplace_back();
    for (const auto& cell : row.GetArray()) rows.back().emplace_back(cell.GetString(), cell.GetStringLength());
  }
  return rows;
}

TEST(ReportTable, EscapesExactlyTheListedBytesAndKeepsTheRest) {
  ContactRecord c;
  c.name = "Say \"hi\"";
  c.note = "line1\nline2\ttab\r\b\f";
  c.phone = std::string("a\x1F" "b\x01" "c", 5);
  c.email = "back\\slash/solidus";
  c.organization = "J\xC3\xBCrgen \xE6\x9D\x8E \xF0\x9F\x98\x80";  // ü, a CJK letter, an emoji
  c.others = std::string("bad\xFF\xFE", 5);                        // not UTF-8 at all
  c.website = std::string("nul\0byte", 8);
  const std::string json = contacts_json({c});

  EXPECT_NE(json.find(R"("Say \"hi\"")"), std::string::npos);
  EXPECT_NE(json.find(R"("line1\nline2\ttab\r\b\f")"), std::string::npos);
  EXPECT_NE(json.find(R"("a\u001Fb\u0001c")"), std::string::npos);
  EXPECT_NE(json.find(R"("back\\slash/solidus")"), std::string::npos);
  EXPECT_NE(json.find("\"J\xC3\xBCrgen \xE6\x9D\x8E \xF0\x9F\x98\x80\""), std::string::npos);
  EXPECT_NE(json.find(std::string("\"bad\xFF\xFE\"", 7)), std::string::npos);
  EXPECT_NE(json.find(R"("nul\u0000byte")"), std::string::npos);
  // Compact: the only spaces are the ones inside texts.
  EXPECT_EQ(json.find("\n"), std::string::npos);
  EXPECT_EQ(json.find("\", \""), std::string::npos);
  EXPECT_EQ(json.find("], ["), std::string::npos);

  const auto rows = decode(json);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][2], c.name);
  EXPECT_EQ(rows[1][3], c.phone);
  EXPECT_EQ(rows[1][5], c.note);
  EXPECT_EQ(rows[1][10], c.website);
}

TEST(ReportTable, LessThanIsEscapedSoNoTextEndsTheScriptElement) {
  ContactRecord c;
  c.name = "</script><img src=x onerror=alert(1)>";
  c.note = "<!-- <script>";
  const std::string json = contacts_json({c});
  EXPECT_EQ(json.find('<'), std::string::npos);
  EXPECT_NE(json.find(R"(\u003C/script>\u003Cimg src=x onerror=alert(1)>)"), std::string::npos);
  const auto rows = decode(json);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][2], c.name);  // same decoded text
  EXPECT_EQ(rows[1][5], c.note);
}

TEST(ReportTable, ContactRowsCountFromOneInRecordOrderWithEveryColumn) {
  std::vector<ContactRecord> contacts(3);
  contacts[0].name = "Zed";
  contacts[0].deleted = true;
  contacts[1].name = "Amy";
  contacts[2].name = "Bo";
  contacts[2].phone = "555|123";
  contacts[2].email = "bo@example.org";
  contacts[2].note = "n";
  contacts[2].organization = "Org";
  contacts[2].postal_address = "Street 1";
  contacts[2].im = "bo-im";
  contacts[2].nickname = "B";
  contacts[2].website = "w.example";
  contacts[2].others = "grp";
  contacts[2].sip_address = "sip:secret";
  const std::string json = contacts_json(contacts);
  const auto rows = decode(json);
  ASSERT_EQ(rows.size(), 4u);
  const std::vector<std::string> header = {"ID", "Deleted", "Name", "Phone", "Email", "Note",
                                           "Organization", "Address", "IM", "Nickname", "Website",
                                           "Others"};
  EXPECT_EQ(rows[0], header);
  EXPECT_EQ(rows[1][0], "1");
  EXPECT_EQ(rows[1][1], "Yes");
  EXPECT_EQ(rows[1][2], "Zed");
  EXPECT_EQ(rows[2][0], "2");
  EXPECT_EQ(rows[2][1], "No");
  const std::vector<std::string> bo = {"3", "No", "Bo", "555|123", "bo@example.org", "n", "Org",
                                       "Street 1", "bo-im", "B", "w.example", "grp"};
  EXPECT_EQ(rows[3], bo);
  EXPECT_EQ(json.find("sip:secret"), std::string::npos);  // kept, but never reported
}

TEST(ReportTable, ThreeMessageConversationGivesFourRows) {
  ConversationRecord first;
  first.name = "Ann";
  first.address = "+4455";
  first.deleted = true;
  for (int type : {1, 2, 5}) {
    MessageRecord m;
    m.type = type;
    m.deleted = type == 2;
    m.date_text = "2024-01-0" + std::to_string(type) + " 10:00:00";
    m.body = "body " + std::to_string(type);
    first.messages.push_back(m);
  }
  ConversationRecord second;
  second.address = "777";
  std::vector<const ConversationRecord*> refs = {&first, &second};
  const auto rows = decode(WriteReportTable(BuildMessagesReportTable(refs)));

  ASSERT_EQ(rows.size(), 1u + 4u + 1u);
  const std::vector<std::string> header = {"ID", "Deleted", "Name", "Phone Number", "Message",
                                           "Date Time", "Type", "Text"};
  EXPECT_EQ(rows[0], header);
  const std::vector<std::string> party = {"1", "Yes", "Ann", "+4455", "->", "-", "-", "-"};
  EXPECT_EQ(rows[1], party);
  const std::vector<std::string> received = {
      "", "No", "", "", "->", "2024-01-01 10:00:00 " + UtcOffsetOfLocalText("2024-01-01 10:00:00"), "Received",
      "body 1"};
  EXPECT_EQ(rows[2], received);
  EXPECT_EQ(rows[3][1], "Yes");  // the message's own flag, not the conversation's
  EXPECT_EQ(rows[4][1], "No");
  EXPECT_EQ(rows[4][7], "body 5");
  const std::vector<std::string> empty_party = {"2", "No", "", "777", "->", "-", "-", "-"};
  EXPECT_EQ(rows[5], empty_party);
}

// Every type but 1 used to read "Sent": a draft or a failed message shown as
// sent misleads whoever reads the report.
TEST(ReportTable, MessageTypesAreNamedNotAllCalledSent) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "Received"}, {2, "Sent"},   {3, "Draft"},        {4, "Outbox"},
      {5, "Failed"},   {6, "Queued"}, {0, "Other (0)"},    {7, "Other (7)"},
      {-1, "Other (-1)"}};
  ConversationRecord c;
  for (const auto& [type, name] : cases) c.messages.push_back(MessageRecord{type, 0, false, "", "", "", {}});
  std::vector<const ConversationRecord*> refs = {&c};
  const auto rows = decode(WriteReportTable(BuildMessagesReportTable(refs)));
  ASSERT_EQ(rows.size(), 2 + cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(rows[2 + i][6], cases[i].second) << cases[i].first;
}

}  // namespace
}  // namespace qf
