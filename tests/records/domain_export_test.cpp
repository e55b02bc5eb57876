#include "records/domain_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace qf {
namespace {

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DomainExport, UsesTheTemplateBesideTheProgram) {
  // The build puts the real template beside the test executable.
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::u8path(ReportTemplatePath())))
      << ReportTemplatePath();
  test::TempDir out;
  ContactRecord c;
  c.name = "Ann";
  std::vector<const ContactRecord*> contacts = {&c};
  EXPECT_EQ(DomainExport(contacts, out.path().u8string()).ExportContactsReport(), ExportResult::written);
  const std::string report = read_file(out.path() / "Contacts.html");
  EXPECT_NE(report.find("<title>Contacts</title>"), std::string::npos);
  EXPECT_NE(report.find(R"(var data = [["ID","Deleted","Name","Phone","Email","Note","Organization",)"
                        R"("Address","IM","Nickname","Website","Others"],["1","No","Ann","","","","","","","","",""]];)"),
            std::string::npos);
  EXPECT_EQ(report.find("var data = [];"), std::string::npos);
}

TEST(DomainExport, MessagesReportAndNothingForNoRecords) {
  test::TempDir out;
  ConversationRecord conversation;
  conversation.address = "555";
  MessageRecord m;
  m.type = 1;
  m.body = "hello";
  conversation.messages.push_back(m);
  std::vector<const ConversationRecord*> conversations = {&conversation};
  const DomainExport messages(conversations, out.path().u8string());
  EXPECT_EQ(messages.ExportMessagesReport(), ExportResult::written);
  EXPECT_NE(read_file(out.path() / "Messages.html").find("<title>Messages</title>"), std::string::npos);
  // This export holds conversations only: no contacts report comes of it.
  EXPECT_EQ(messages.ExportContactsReport(), ExportResult::nothing_to_export);

  std::vector<const ContactRecord*> none;
  EXPECT_EQ(DomainExport(none, out.path().u8string()).ExportContactsReport(),
            ExportResult::nothing_to_export);
  EXPECT_FALSE(std::filesystem::exists(out.path() / "Contacts.html"));
}

TEST(DomainExport, MissingTemplateIsToldToTheCaller) {
  test::TempDir out;
  ContactRecord c;
  std::vector<const ContactRecord*> contacts = {&c};
  const DomainExport e(contacts, out.path().u8string(), out.file("missing-template.html"));
  EXPECT_EQ(e.ExportContactsReport(), ExportResult::template_unreadable);
  EXPECT_FALSE(std::filesystem::exists(out.path() / "Contacts.html"));
}

}  // namespace
}  // namespace qf
