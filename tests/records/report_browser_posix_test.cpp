// A generated report opened in a real browser (headless Chromium): the rows
// render, messages sit under their conversation, deleted records are marked,
// and hostile record texts show as text, never as markup or script.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "records/domain_export.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

// The page's DOM after its script ran, as Chromium serialises it.
std::string dump_dom(const std::string& html_path, const test::TempDir& profile, int width = 1280) {
  const std::string command = std::string("timeout 90 ") + kChromium +
                              " --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars"
                              " --window-size=" + std::to_string(width) + ",900"
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
  const std::string big(100 * 1024, 'x');
  for (const std::string& body : {std::string("</script><script>document.title='PWNED'</script>"),
                                  std::string("<b>bold?</b> & \xE6\x9D\x8E \xF0\x9F\x98\x80"),
                                  std::string("nul\0byte \xE2\x80\xAEreversed", 20), big}) {
    MessageRecord m;
    m.type = 1;
    m.date_text = "2024-05-01 12:00:00";
    m.body = body;
    hostile.messages.push_back(m);
  }
  ConversationRecord plain;
  plain.address = "555";
  plain.messages.push_back(MessageRecord{2, 0, false, "2024-05-02 08:00:00", "555", "reply", {}});
  std::vector<const ConversationRecord*> conversations = {&hostile, &plain};
  ASSERT_EQ(DomainExport(conversations, out.path().string()).ExportMessagesReport(), ExportResult::written);

  const std::string dom = dump_dom(out.file("Messages.html"), profile);
  ASSERT_NE(dom.find("<title>Messages</title>"), std::string::npos) << dom.substr(0, 2000);
  EXPECT_EQ(dom.find("PWNED</title>"), std::string::npos);
  EXPECT_EQ(count(dom, "<tbody class=\"conversation"), 2u);
  EXPECT_EQ(count(dom, "<tr class=\"message"), 5u);
  EXPECT_EQ(count(dom, "<tbody class=\"conversation deleted\""), 1u);
  EXPECT_EQ(count(dom, "<th "), 8u);
  // The texts are in the page as text: their markup characters serialised
  // as entities, and no element made from them.
  EXPECT_NE(dom.find("&lt;/script&gt;&lt;script&gt;document.title='PWNED'&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(dom.find(">&lt;b&gt;bold?&lt;/b&gt;<"), std::string::npos);
  EXPECT_NE(dom.find(">\xE2\x80\xAEreversed<"), std::string::npos);  // the override stays a character
  EXPECT_NE(dom.find(big), std::string::npos);                          // whole, behind "Show all"
  EXPECT_NE(dom.find("Show all"), std::string::npos);
  EXPECT_NE(dom.find(">\"&gt;&lt;img<"), std::string::npos);
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
  EXPECT_EQ(count(dom, "<th "), 12u);
  EXPECT_EQ(count(dom, "<td class=\"id\""), 3u);
  EXPECT_EQ(count(dom, "<tr class=\"deleted\">"), 1u);
  EXPECT_NE(dom.find(">555|</span><span class=\"w\">123<"), std::string::npos);
  EXPECT_NE(dom.find("&lt;script&gt;document.title='PWNED'&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(dom.find("3 contacts, 1 deleted"), std::string::npos);
}

// Measures the rendered report from inside the page, after the report's own
// script: words split across lines in the first screen, cells whose content
// overflows them, the page's horizontal overflow, and the order of the first
// column after two clicks on its header (ascending, then descending). The
// result goes into the DOM as "name=value" lines.
constexpr const char kMeasure[] = R"(<script>
(function () {
  var broken = [], overflowing = 0, widths = [];
  document.querySelectorAll("th, td").forEach(function (c) {
    var box = c.getBoundingClientRect();
    if (box.width === 0 || box.top > window.innerHeight || box.bottom < 0) return;
    if (c.tagName === "TH") widths.push(Math.round(box.width));
    if (!c.querySelector(".clamp") && c.scrollWidth > c.clientWidth + 1) overflowing += 1;
    var walker = document.createTreeWalker(c, NodeFilter.SHOW_TEXT), node;
    while ((node = walker.nextNode())) {
      var word = /\S+/g, m;
      while ((m = word.exec(node.data))) {
        var range = document.createRange();
        range.setStart(node, m.index);
        range.setEnd(node, m.index + m[0].length);
        var tops = {};
        Array.prototype.forEach.call(range.getClientRects(), function (r) { if (r.width > 0) tops[Math.round(r.top)] = 1; });
        if (Object.keys(tops).length > 1 && box.top < window.innerHeight) broken.push(m[0].replace(/[<>&]/g, "?"));
      }
    }
  });
  var lines = ["broken=" + broken.length + " " + broken.slice(0, 5).join(" "), "overflowing=" + overflowing,
               "page_overflow=" + (document.documentElement.scrollWidth > window.innerWidth + 1 ? 1 : 0),
               "header_widths=" + widths.join(",")];
  var first = document.querySelector("th button");
  if (first) { first.click(); first.click(); }
  var ids = [];
  document.querySelectorAll("tbody tr:first-child td:first-child, tbody > tr > td.id").forEach(function (td) {
    if (td.textContent !== "" && ids.indexOf(td.textContent) < 0) ids.push(td.textContent);
  });
  lines.push("sorted=" + ids.join(","));
  lines.push("deleted_messages=" + document.querySelectorAll("tr.message.deleted").length);
  var pre = document.createElement("pre");
  pre.id = "measure";
  pre.textContent = "\n" + lines.join("\n") + "\n";
  document.body.appendChild(pre);
})();
</script>
</body>)";

// "name=value" from the measuring script's lines.
std::string measured(const std::string& dom, const std::string& name) {
  const std::size_t at = dom.find("\n" + name + "=");
  if (at == std::string::npos) return "(missing)";
  const std::size_t start = at + name.size() + 2;
  return dom.substr(start, dom.find('\n', start) - start);
}

std::string with_measuring_script(const std::string& report) {
  std::ifstream in(report, std::ios::binary);
  std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  html.replace(html.rfind("</body>"), 7, kMeasure);
  const std::string path = report + ".measured.html";
  std::ofstream(path, std::ios::binary) << html;
  return path;
}

// Twelve conversations of everyday messages, some deleted, every type.
std::vector<ConversationRecord> everyday_conversations() {
  const char* names[] = {"Ann Smith", "Bo Lindqvist", "Carlos D\xC3\xADz", "Dana O'Neill"};
  std::vector<ConversationRecord> list(12);
  for (int i = 0; i < 12; ++i) {
    list[i].name = names[i % 4];
    list[i].address = "+4420794600" + std::to_string(10 + i);
    list[i].deleted = i % 5 == 0;
    for (int type = 1; type <= 6; type += 1 + i % 3) {
      MessageRecord m;
      m.type = type;
      m.deleted = (i + type) % 4 == 0;
      m.date_text = "2024-03-1" + std::to_string(type) + " 09:4" + std::to_string(i % 10) + ":00";
      m.body = "Running late, the train from Wolverhampton is delayed again. See you at the "
               "usual place around half past seven? Message " + std::to_string(type);
      if (type == 4) m.body += std::string(" and a much longer note that goes on") + std::string(40, '.') +
                               " with words repeated to pass the clamping length" + std::string(200, ' ') + "end";
      list[i].messages.push_back(m);
    }
  }
  return list;
}

// Twelve contacts with every field an address book fills.
std::vector<ContactRecord> everyday_contacts() {
  std::vector<ContactRecord> list(12);
  for (int i = 0; i < 12; ++i) {
    ContactRecord& c = list[i];
    c.deleted = i % 4 == 1;
    c.name = i % 2 ? "Margarethe Oberhuber-Lindqvist" : "Bo Lee";
    c.phone = "+4420794600" + std::to_string(10 + i) + (i % 3 ? "" : "|07700900123");
    c.email = "someone.with.a.long.name" + std::to_string(i) + "@example.org";
    c.note = "Met at the conference in Gothenburg; prefers to be called after six in the evening.";
    c.organization = "Harbour Freight Logistics Ltd";
    c.postal_address = "12 Elm Street, Springfield, IL 62701, United States";
    c.website = "https://example.org/people/" + std::to_string(i);
    c.nickname = "Bobby";
  }
  return list;
}

const char* const kTwelveDown = "12,11,10,9,8,7,6,5,4,3,2,1";

// No word split across lines and nothing spilling out of its cell in the
// first screen, numeric sorting, no sideways scrolling on a phone; at a
// desktop's and at a phone's width. Twelve dense contact columns may be
// wider than a desktop window: they scroll sideways rather than split words.
void check_layout(const std::string& report, std::size_t deleted_messages, bool fits_desktop) {
  const std::string page = with_measuring_script(report);
  for (int width : {1280, 390}) {
    test::TempDir profile;
    const std::string dom = dump_dom(page, profile, width);
    ASSERT_NE(dom.find("id=\"measure\""), std::string::npos) << width << dom.substr(0, 2000);
    EXPECT_EQ(measured(dom, "broken").substr(0, 2), "0 ") << report << " " << width << ": " << measured(dom, "broken");
    EXPECT_EQ(measured(dom, "overflowing"), "0") << report << " " << width;
    if (width < 1280 || fits_desktop) {
      EXPECT_EQ(measured(dom, "page_overflow"), "0") << report << " " << width;
    }
    // Numbers sort as numbers: descending, 12 comes before 9.
    EXPECT_EQ(measured(dom, "sorted"), kTwelveDown) << report << " " << width;
    EXPECT_EQ(measured(dom, "deleted_messages"), std::to_string(deleted_messages)) << width;
  }
}

TEST(ReportInBrowser, MessagesReadWellAtDesktopAndPhoneWidths) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "chromium is not installed";
  const std::vector<ConversationRecord> conversations = everyday_conversations();
  std::vector<const ConversationRecord*> refs;
  std::size_t deleted_messages = 0;
  for (const auto& c : conversations) {
    refs.push_back(&c);
    for (const auto& m : c.messages) deleted_messages += m.deleted;
  }
  ASSERT_GT(deleted_messages, 0u);
  test::TempDir out;
  ASSERT_EQ(DomainExport(refs, out.path().string()).ExportMessagesReport(), ExportResult::written);
  check_layout(out.file("Messages.html"), deleted_messages, true);
  test::TempDir profile;
  const std::string dom = dump_dom(out.file("Messages.html"), profile);
  for (const char* type : {">Received<", ">Sent<", ">Draft<", ">Outbox<", ">Failed<", ">Queued<"})
    EXPECT_NE(dom.find(type), std::string::npos) << type;
  EXPECT_NE(dom.find("Show all"), std::string::npos) << "a long body is clamped";
}

TEST(ReportInBrowser, ContactsReadWellAtDesktopAndPhoneWidths) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "chromium is not installed";
  const std::vector<ContactRecord> contacts = everyday_contacts();
  std::vector<const ContactRecord*> refs;
  for (const auto& c : contacts) refs.push_back(&c);
  test::TempDir out;
  ASSERT_EQ(DomainExport(refs, out.path().string()).ExportContactsReport(), ExportResult::written);
  check_layout(out.file("Contacts.html"), 0, false);
}

}  // namespace
}  // namespace qf
