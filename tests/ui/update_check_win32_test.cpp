// The two update checks against a server of the test's own on 127.0.0.1.
#include <gtest/gtest.h>

#include <string>

#include "platform/app_messages.h"
#include "platform/version.h"
#include "tests/ui/local_http_server_win32.h"
#include "tests/ui/outcome_window_win32.h"
#include "ui/update_auto_check_win32.h"
#include "ui/update_manual_check_win32.h"
#include "ui/update_notice_win32.h"

namespace qf::ui {
namespace {

constexpr unsigned kShortWait = 1500;

UpdateServer local(unsigned short port) { return UpdateServer{L"127.0.0.1", port, kShortWait}; }

std::string xml_naming(const char* version) {
  return std::string("<?xml version=\"1.0\"?><updates><product name=\"Other\" version=\"9.9.9.9\"/>") +
         "<product name=\"" QF_PRODUCT_NAME "\" version=\"" + version + "\"/></updates>";
}

std::string json_naming(const char* version) {
  return std::string("{\"VarivorAredazivIvavazod\":[{\"Version\":\"" QF_VERSION_TEXT "\",\"Nversion\":\"") + version +
         "\",\"Update_URL\":\"http://www.tarnwick.com/quillfern/\"}]}";
}

TEST(ManualUpdateCheck, EveryFailureIsReportedAsAFailure) {
  const std::string newer = xml_naming("2.1.0.0");
  struct Case {
    const char* what;
    test::HttpAnswer answer;
    UpdateStatus status;
    std::string version;
  } cases[] = {
      {"newer", {200, newer}, UpdateStatus::Newer, "2.1.0.0"},
      {"same", {200, xml_naming(QF_VERSION_TEXT)}, UpdateStatus::Latest, ""},
      {"older", {200, xml_naming("2.0.0.8")}, UpdateStatus::Latest, ""},
      {"not found", {404, newer}, UpdateStatus::Failed, ""},
      {"cut in the middle", {200, newer.substr(0, newer.size() / 2), 0, newer.size()}, UpdateStatus::Failed, ""},
      {"not xml", {200, "<html><body>Moved</body>"}, UpdateStatus::Failed, ""},
      {"only another product", {200, "<u><product name=\"Other\" version=\"9.9.9.9\"/></u>"}, UpdateStatus::Failed, ""},
      {"slow server", {200, newer, kShortWait * 2}, UpdateStatus::Failed, ""},
  };
  for (const Case& c : cases) {
    test::LocalHttpServer server(c.answer);
    UpdateOutcome outcome = fetch_manual_update(local(server.port()));
    EXPECT_EQ(outcome.status, c.status) << c.what << ": " << outcome.reason;
    EXPECT_EQ(outcome.version, c.version) << c.what;
    EXPECT_EQ(outcome.reason.empty(), c.status != UpdateStatus::Failed) << c.what;
    EXPECT_NE(server.last_request().find("GET /win-update.xml HTTP/1.1"), std::string::npos) << c.what;
  }
}

TEST(ManualUpdateCheck, ServerDownIsAFailureNotTheLatestVersion) {
  UpdateOutcome outcome = fetch_manual_update(local(test::closed_port()));
  EXPECT_EQ(outcome.status, UpdateStatus::Failed);
  EXPECT_EQ(update_notice(outcome, QF_VERSION_TEXT).icon, NoticeIcon::Warning);
}

TEST(ManualUpdateCheck, NotFoundNamesTheStatus) {
  test::LocalHttpServer server({404, "gone"});
  EXPECT_EQ(fetch_manual_update(local(server.port())).reason, "the update server answered 404");
}

TEST(AutoUpdateCheck, AnnouncesOnlyAStrictlyNewerVersion) {
  struct Case {
    const char* what;
    test::HttpAnswer answer;
    bool announced;
  } cases[] = {
      {"newer", {200, json_naming("2.0.1.0")}, true},
      {"same", {200, json_naming(QF_VERSION_TEXT)}, false},
      {"older text differs", {200, json_naming("2.0.0.8")}, false},
      {"not a version", {200, json_naming("3.0<b>")}, false},
      {"not found", {404, json_naming("2.0.1.0")}, false},
      {"too long for one read", {200, json_naming("2.0.1.0") + std::string(2000, ' ')}, false},
  };
  for (const Case& c : cases) {
    test::LocalHttpServer server(c.answer);
    std::optional<UpdateOutcome> outcome = fetch_auto_update(local(server.port()));
    EXPECT_EQ(outcome.has_value(), c.announced) << c.what;
    if (outcome) EXPECT_EQ(outcome->version, "2.0.1.0");
    EXPECT_NE(server.last_request().find("User-Agent: Tarnwick@Update"), std::string::npos) << c.what;
  }
  EXPECT_FALSE(fetch_auto_update(local(test::closed_port())));
}

TEST(UpdateCheckThreads, ReportToTheMainWindowAndAllowOneManualCheckAtATime) {
  test::LocalHttpServer server({200, xml_naming("2.0.1.0"), 300});
  use_update_server_for_tests(local(server.port()));
  test::OutcomeWindow window;
  ASSERT_TRUE(start_manual_update_check(window.hwnd()));
  EXPECT_FALSE(start_manual_update_check(window.hwnd()));
  ASSERT_TRUE(window.wait(10000));
  EXPECT_EQ(window.outcomes[0].first, 1u);
  EXPECT_EQ(window.outcomes[0].second.version, "2.0.1.0");
  use_update_server_for_tests(UpdateServer{});
}

TEST(UpdateCheckThreads, AutomaticCheckSendsNewerVersion) {
  test::LocalHttpServer server({200, json_naming("2.0.1.0")});
  use_update_server_for_tests(local(server.port()));
  test::OutcomeWindow window;
  start_auto_update_check(window.hwnd());
  ASSERT_TRUE(window.wait(10000));
  EXPECT_EQ(window.outcomes[0].first, 1u);
  EXPECT_EQ(window.outcomes[0].second.version, "2.0.1.0");
  use_update_server_for_tests(UpdateServer{});
}

}  // namespace
}  // namespace qf::ui
