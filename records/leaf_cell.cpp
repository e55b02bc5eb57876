#include "records/leaf_cell.h"

#include <cstdio>
#include <cstring>

#include "records/db_page.h"
#include "records/overflow_chain.h"
#include "records/record_lengths.h"

namespace qf {
namespace {

constexpr std::size_t kPageNumberSize = 4;
// Varints of the record header may take the full nine bytes.
constexpr int kMaxVarintBytes = 9;

bool read_cell_varint(RegionBytes page, std::size_t& at, std::uint64_t& value) {
  int used = 0;
  if (at >= page.length || !read_varint(page.bytes + at, page.length - at, value, used)) return false;
  at += static_cast<std::size_t>(used);
  return true;
}

// The record's bytes: the local part, then the overflow chain's.
bool read_record_bytes(RegionBytes page, std::size_t at, std::uint64_t payload, std::uint32_t usable_size,
                       const OverflowReader& read_chain, LeafCell& out) {
  const std::uint64_t local = local_payload_size(payload, usable_size);
  const std::size_t pointer = local < payload ? kPageNumberSize : 0;
  if (local > page.length - at || pointer > page.length - at - local) return false;
  out.record.assign(page.bytes + at, page.bytes + at + local);
  out.extent = static_cast<std::uint32_t>(at + local + pointer - out.offset);
  if (pointer == 0) return true;
  return read_chain && read_chain(db_page::be32(page.bytes + at + local), payload - local, out.record);
}

bool has_column(const LeafCell& cell, int column) { return column >= 0 && column < cell.column_count(); }

}  // namespace

bool read_leaf_cell(RegionBytes page, std::uint32_t cell, std::uint32_t usable_size,
                    const OverflowReader& read_chain, LeafCell& out) {
  std::size_t at = cell;
  std::uint64_t payload = 0, row_id = 0;
  if (!read_cell_varint(page, at, payload) || !read_cell_varint(page, at, row_id)) return false;
  if (payload == 0 || payload > kMaxSpilledPayload) return false;
  const int columns = record_column_count(page.bytes, static_cast<std::uint32_t>(page.length), cell);
  if (columns <= 0) return false;
  // The header lies in the cell: it must add up before any overflow page is read.
  const RegionBytes in_page{page.bytes + at, page.length - at};
  std::uint64_t header_length = 0;
  std::size_t types_start = 0;
  if (!read_cell_varint(in_page, types_start, header_length)) return false;
  const auto any_type = [](int, std::uint32_t) { return true; };
  if (read_record_header(in_page, types_start, 0, columns, kMaxVarintBytes, any_type, out.header) !=
          CandidateOutcome::fits ||
      out.header.content_starts.front() != header_length || out.header.content_end != payload) {
    return false;
  }
  out.offset = cell;
  out.row_id = static_cast<std::int64_t>(row_id);
  return read_record_bytes(page, at, payload, usable_size, read_chain, out);
}

std::int64_t cell_integer(const LeafCell& cell, int column) {
  std::int64_t value = 0;
  if (!has_column(cell, column)) return 0;
  const std::uint32_t type = cell.header.type_of(column);
  if (!read_serial_integer(type, cell.record.data() + cell.header.start_of(column), value) || type == 7) return 0;
  return value;
}

std::string cell_text(const LeafCell& cell, int column) {
  if (!has_column(cell, column)) return {};
  const std::uint32_t type = cell.header.type_of(column);
  const std::uint8_t* content = cell.record.data() + cell.header.start_of(column);
  if (serial_type_is_text_or_blob(type)) {
    return std::string(reinterpret_cast<const char*>(content), serial_content_length(type));
  }
  if (type == 0) return {};
  std::int64_t bits = 0;
  read_serial_integer(type, content, bits);
  if (type != 7) return std::to_string(bits);
  double real = 0;
  std::memcpy(&real, &bits, sizeof real);
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", real);
  return text;
}

}  // namespace qf
