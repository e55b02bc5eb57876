// A generated report opened in a real browser (headless Chromium): the rows
// render, messages sit under their conversation, deleted records are marked,
// and hostile record texts show as text, never as markup or script.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "records/domain_export.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

// The page's DOM after its script ran, as Chromium serialises it.
std::string dump_dom(const std::string& html_path, const test::TempDir& profile) {
  const std::string command = std::string("timeout 90 ") + kChromium +
                              " --headless --no-sandbox --disable-gpu --no-first-run"
                              " --disable-background-networking --disable-component-update"
                              " --disable-sync --user-data-dir='" + profile.path().string() +
                              "' --dump-dom 'file://" + html_path + "' 2>/dev/null";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(ReportInBrowser, MessagesRenderGroupedAndHostileTextStaysText) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "chromium is not installed";
  test::TempDir out;
  test::TempDir profile;
  ConversationRecord hostile;
  hostile.deleted = true;
  hostile.name = "\"><img src=x onerror=\"document.title='PWNED'\">";
  hostile.address = "javascript:alert(1)";
  for (const char* body : {"</script><script>document.title='PWNED'</script>",
                           "<b>bold?</b> & \xE6\x9D\x8E \xF0\x9F\x98\x80", "plain"}) {
    MessageRecord m;
    m.type = 1;
    m.date_text = "2024-05-01 12:00:00";
    m.body = body;
    hostile.messages.push_back(m);
  }
  ConversationRecord plain;
  plain.address = "555";
  plain.messages.push_back(MessageRecord{2, 0, false, "2024-05-02 08:00:00", "555", "reply"});
  std::vector<const ConversationRecord*> conversations = {&hostile, &plain};
  ASSERT_EQ(DomainExport(conversations, out.path().string()).ExportMessagesReport(), ExportResult::written);

  const std::string dom = dump_dom(out.file("Messages.html"), profile);
  ASSERT_NE(dom.find("<title>Messages</title>"), std::string::npos) << dom.substr(0, 2000);
  EXPECT_EQ(dom.find("PWNED</title>"), std::string::npos);
  EXPECT_EQ(count(dom, "<tbody class=\"conversation"), 2u);
  EXPECT_EQ(count(dom, "<tr class=\"message"), 4u);
  EXPECT_EQ(count(dom, "<tbody class=\"conversation deleted\""), 1u);
  EXPECT_EQ(count(dom, "<th>"), 8u);
  // The texts are in the page as text: their markup characters serialised
  // as entities, and no element made from them.
  EXPECT_NE(dom.find("&lt;/script&gt;&lt;script&gt;document.title='PWNED'&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(dom.find("&lt;b&gt;bold?&lt;/b&gt; &amp; \xE6\x9D\x8E \xF0\x9F\x98\x80"), std::string::npos);
  EXPECT_NE(dom.find("\"&gt;&lt;img src=x onerror="), std::string::npos);
  EXPECT_EQ(dom.find("<img"), std::string::npos);
  EXPECT_EQ(dom.find("<b>"), std::string::npos);
  EXPECT_NE(dom.find("2 conversations, 1 deleted"), std::string::npos);
}

TEST(ReportInBrowser, ContactsRenderOneRowEachWithTheHeaderRow) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "chromium is not installed";
  test::TempDir out;
  test::TempDir profile;
  std::vector<ContactRecord> contacts(3);
  contacts[0].name = "Ann";
  contacts[0].deleted = true;
  contacts[1].name = "Bo";
  contacts[1].phone = "555|123";
  contacts[2].note = "<script>document.title='PWNED'</script>";
  std::vector<const ContactRecord*> refs;
  for (const auto& c : contacts) refs.push_back(&c);
  ASSERT_EQ(DomainExport(refs, out.path().string()).ExportContactsReport(), ExportResult::written);

  const std::string dom = dump_dom(out.file("Contacts.html"), profile);
  ASSERT_NE(dom.find("<title>Contacts</title>"), std::string::npos) << dom.substr(0, 2000);
  EXPECT_EQ(count(dom, "<th>"), 12u);
  EXPECT_EQ(count(dom, "<td class=\"id\">"), 3u);
  EXPECT_EQ(count(dom, "<tr class=\"deleted\">"), 1u);
  EXPECT_NE(dom.find("<td>555|123</td>"), std::string::npos);
  EXPECT_NE(dom.find("&lt;script&gt;document.title='PWNED'&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(dom.find("3 contacts, 1 deleted"), std::string::npos);
}

}  // namespace
}  // namespace qf
