#include "ui/update_auto_check_win32.h"

#include <wininet.h>

#include <string>

#include "platform/version.h"
#include "ui/internet_handle_win32.h"
#include "ui/update_json_reader.h"
#include "ui/update_notice_win32.h"

namespace qf::ui {

namespace {

using Handle = InternetHandle<InternetCloseHandle>;

constexpr wchar_t kUserAgent[] = L"Tarnwick@Update";

std::wstring document_address(const UpdateServer& server) {
  return L"http://" + server.host + L":" + std::to_wstring(server.port) + kUpdateDocumentPath;
}

void set_timeouts(HINTERNET internet, DWORD wait) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionW(internet, option, &wait, sizeof(wait));
}

bool answered_ok(HINTERNET document) {
  DWORD code = 0;
  DWORD size = sizeof(code);
  return HttpQueryInfoW(document, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr) &&
         code == 200;
}

}  // namespace

std::optional<UpdateOutcome> fetch_auto_update(const UpdateServer& server) {
  DWORD connection_kind = 0;
  if (!InternetGetConnectedState(&connection_kind, 0)) return std::nullopt;
  Handle internet(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet) return std::nullopt;
  set_timeouts(internet.get(), server.timeout_ms);
  Handle document(InternetOpenUrlW(internet.get(), document_address(server).c_str(), nullptr, 0,
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                       INTERNET_FLAG_NO_COOKIES,
                                   0));
  if (!document || !answered_ok(document.get())) return std::nullopt;
  char buffer[kMaxUpdateJsonBytes];
  DWORD got = 0;
  if (!InternetReadFile(document.get(), buffer, sizeof(buffer), &got) || got == 0) return std::nullopt;
  std::string version = read_newest_version_json(std::string_view(buffer, got));
  UpdateOutcome outcome = judge_version(version, QF_VERSION_TEXT);
  if (outcome.status != UpdateStatus::Newer) return std::nullopt;
  return outcome;
}

DWORD WINAPI AutoUpdateCheck(LPVOID main_window) {
  if (std::optional<UpdateOutcome> newer = fetch_auto_update(update_server()))
    deliver_update_outcome(static_cast<HWND>(main_window), *newer, true);
  return 1;
}

void start_auto_update_check(HWND main_window) {
  HANDLE thread = CreateThread(nullptr, 0, AutoUpdateCheck, main_window, 0, nullptr);
  if (thread) CloseHandle(thread);
}

}  // namespace qf::ui
