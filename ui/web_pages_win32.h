#pragma once
// The product's own web pages, opened in the user's default browser.
namespace qf::ui {

constexpr wchar_t kProductPage[] = L"https://www.tarnwick.com/quillfern/";
constexpr wchar_t kSupportPage[] = L"https://www.tarnwick.com/support/";
constexpr wchar_t kOnlineHelpPage[] = L"https://www.tarnwick.com/quillfern/help/";

// The shell's "open" of `address`; nothing is reported when no browser opens.
void open_web_page(const wchar_t* address);

}  // namespace qf::ui
