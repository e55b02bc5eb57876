#pragma once
// The pages of a database's freelist, where whole leaf pages go when every
// row on them was deleted (with auto-vacuum off, as on most phones). Without
// secure delete their old rows stay in them untouched.
//
// File header: offset 32, 4 bytes: first freelist trunk page (0 = none).
// Trunk page: offset 0, 4 bytes: next trunk page (0 = last); offset 4,
// 4 bytes: number of leaf page numbers L; then L 4-byte leaf page numbers.
// Everything past what the trunk uses is the page's old content.
#include <cstdint>
#include <vector>

#include "records/db_file.h"

namespace qf {

// One freelist page and the first byte of it that still holds old content.
struct FreelistPage {
  std::uint32_t page = 0;
  std::uint32_t old_content_from = 0;
};

// Every trunk and leaf page of the freelist, trunks in chain order, each
// trunk followed by its leaves. Damaged chains end cleanly: a page is listed
// once, numbers past the file's last page are skipped, and a trunk's count
// is cut to what fits in its page.
std::vector<FreelistPage> list_freelist_pages(const DbFile& file, std::uint32_t page_size,
                                              std::uint64_t file_size);

}  // namespace qf
