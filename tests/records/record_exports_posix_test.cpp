// contacts.csv, messages.csv and report.json read back by Python's csv and
// json modules, compared with the HTML reports record for record, on records
// whose texts are built to break writers: quotes, commas, line breaks,
// "</script>", NUL bytes, right-to-left overrides, 100 KB bodies.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "records/domain_export.h"
#include "records/record_files_export.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

std::string run_checker(const std::string& folder) {
  const std::string command =
      std::string("python3 '") + QF_SOURCE_DIR + "/tests/records/check_exports.py' '" + folder + "' 2>&1";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    out += pclose(pipe) == 0 ? "" : "\n(exit status not 0)";
  }
  return out;
}

TEST(RecordExports, CsvAndJsonAgreeWithTheReportsOnHostileTexts) {
  const std::string nul_text("before\0after", 12);
  const std::string rtl = "\xE2\x80\xAEgnp.exe";  // U+202E, then a reversed name
  const std::string big(100 * 1024, 'x');
  std::vector<ContactRecord> contacts(3);
  contacts[0].name = "Ann \"the Ace\", Smith";
  contacts[0].note = "line one\r\nline two\n";
  contacts[0].deleted = true;
  contacts[0].source = {SourceFile::wal, SourceKind::free_space, 4, 8192 + 117, 3};
  contacts[1].name = "</script><script>alert(1)</script>";
  contacts[1].phone = "555|123";
  contacts[2].name = rtl;
  contacts[2].others = nul_text;
  ConversationRecord first;
  first.name = " padded ";
  first.address = "+44 20, ext. 7";
  first.deleted = true;
  for (const std::string& body : {nul_text, big, rtl, std::string("\xE6\x9D\x8E \xF0\x9F\x98\x80")}) {
    MessageRecord m;
    m.type = static_cast<int>(first.messages.size()) + 1;
    m.deleted = m.type % 2 == 0;
    m.date_text = "2024-05-0" + std::to_string(m.type) + " 12:00:00";
    m.body = body;
    first.messages.push_back(m);
  }
  ConversationRecord second;
  second.address = "777";
  second.messages.push_back(MessageRecord{6, 2, false, "2024-06-01 08:00:00", "777", "\"quoted\"", {}});

  std::vector<const ContactRecord*> contact_refs;
  for (const auto& c : contacts) contact_refs.push_back(&c);
  std::vector<const ConversationRecord*> conversation_refs = {&first, &second};
  test::TempDir out;
  const std::string folder = out.path().u8string();
  ASSERT_EQ(DomainExport(contact_refs, folder).ExportContactsReport(), ExportResult::written);
  ASSERT_EQ(DomainExport(conversation_refs, folder).ExportMessagesReport(), ExportResult::written);
  for (const ExportedFile& f : ExportRecordFiles(folder, ReportRun{"records", "s", "e", {}}, &contact_refs,
                                                 &conversation_refs)) {
    EXPECT_EQ(f.result, WholeFileResult::written) << f.name;
  }
  EXPECT_EQ(run_checker(folder), "agree: 3 contacts, 5 messages\n");
}

}  // namespace
}  // namespace qf
