#pragma once
// What the text formats (HTML, C source) count as text: printable ASCII, tab,
// line feed, and carriage return, so that files saved with Windows line ends
// (CR LF) read as text like those saved with bare line feeds.
namespace qf {

inline bool is_text_byte(unsigned char c) {
  return (c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace qf
