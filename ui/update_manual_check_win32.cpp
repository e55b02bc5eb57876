#include "ui/update_manual_check_win32.h"

#include <winhttp.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/version.h"
#include "ui/internet_handle_win32.h"
#include "ui/update_notice_win32.h"
#include "ui/update_xml_reader.h"

namespace qf::ui {

namespace {

using Handle = InternetHandle<WinHttpCloseHandle>;

constexpr wchar_t kUserAgent[] = L"WinHTTP Example/1.0";
constexpr DWORD kReadBlock = 8192;

std::atomic<bool> manual_check_running{false};

std::string with_error(const char* what) { return std::string(what) + " (error " + std::to_string(GetLastError()) + ")"; }

DWORD status_code(HINTERNET request) {
  DWORD code = 0;
  DWORD size = sizeof(code);
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &code, &size, WINHTTP_NO_HEADER_INDEX))
    return 0;
  return code;
}

// Reads the body into `reader` block by block; an empty text when all of it
// was read, else why not.
std::string read_body(HINTERNET request, UpdateXmlReader& reader) {
  std::vector<char> block(kReadBlock);
  while (true) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return with_error("the download broke off");
    if (available == 0) break;
    DWORD got = 0;
    if (!WinHttpReadData(request, block.data(), std::min<DWORD>(available, kReadBlock), &got))
      return with_error("the download broke off");
    if (got == 0) break;
    if (!reader.feed(std::string_view(block.data(), got))) return reader.error();
  }
  return reader.finish() ? std::string() : reader.error();
}

}  // namespace

UpdateOutcome fetch_manual_update(const UpdateServer& server) {
  Handle session(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return failed_check(with_error("no HTTP session"));
  int wait = static_cast<int>(server.timeout_ms);
  WinHttpSetTimeouts(session.get(), wait, wait, wait, wait);
  Handle connection(WinHttpConnect(session.get(), server.host.c_str(), server.port, 0));
  if (!connection) return failed_check(with_error("the update server could not be reached"));
  Handle request(WinHttpOpenRequest(connection.get(), L"GET", kUpdateDocumentPath, nullptr, WINHTTP_NO_REFERER,
                                    WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_REFRESH));
  if (!request) return failed_check(with_error("the request could not be made"));
  // The wait for the answer's head is an option of its own on some systems.
  DWORD head_wait = server.timeout_ms;
  WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &head_wait, sizeof(head_wait));
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr))
    return failed_check(with_error("the update server did not answer"));
  DWORD status = status_code(request.get());
  if (status != 200) return failed_check("the update server answered " + std::to_string(status));

  UpdateXmlReader reader(QF_PRODUCT_NAME);
  std::string problem = read_body(request.get(), reader);
  if (!problem.empty()) return failed_check(problem);
  if (!reader.version()) return failed_check("the update document does not name this product's version");
  return judge_version(*reader.version(), QF_VERSION_TEXT);
}

DWORD WINAPI ManualUpdateCheck(LPVOID main_window) {
  HWND window = static_cast<HWND>(main_window);
  deliver_update_outcome(window, fetch_manual_update(update_server()), false);
  manual_check_running = false;
  return 1;
}

bool start_manual_update_check(HWND main_window) {
  if (manual_check_running.exchange(true)) return false;
  HANDLE thread = CreateThread(nullptr, 0, ManualUpdateCheck, main_window, 0, nullptr);
  if (!thread) {
    manual_check_running = false;
    return false;
  }
  CloseHandle(thread);
  return true;
}

}  // namespace qf::ui
