#include "records/spilled_row.h"

#include "records/db_page.h"
#include "records/overflow_chain.h"

namespace qf {
namespace {

constexpr std::int64_t kPageNumberSize = 4;
constexpr std::uint64_t kOneByteVarintMax = 127;

}  // namespace

bool join_spilled_row(RegionBytes region, std::size_t start, const RecordHeader& header,
                      std::uint32_t usable_size, const OverflowReader& read_chain,
                      std::vector<std::uint8_t>& joined) {
  if (!read_chain || header.types.empty() || header.content_end <= region.length || usable_size < 480) return false;
  const std::uint64_t types_read = header.content_starts.front() - start;
  const std::uint64_t contents = header.content_end - header.content_starts.front();
  const std::uint64_t header_body = static_cast<std::uint64_t>(header.first_column) + types_read;
  const std::uint64_t length_varint = header_body + 1 <= kOneByteVarintMax ? 1 : 2;
  const std::uint64_t payload = length_varint + header_body + contents;
  if (contents > kMaxSpilledPayload) return false;
  const std::uint64_t local = local_payload_size(payload, usable_size);
  if (local == payload) return false;
  // Region offsets, signed: the payload's first bytes lie before the region.
  const std::int64_t payload_start =
      static_cast<std::int64_t>(start) - static_cast<std::int64_t>(length_varint + header.first_column);
  const std::int64_t pointer_at = payload_start + static_cast<std::int64_t>(local);
  if (pointer_at < static_cast<std::int64_t>(header.content_starts.front()) ||
      pointer_at + kPageNumberSize > static_cast<std::int64_t>(region.length)) {
    return false;
  }
  const auto local_end = static_cast<std::size_t>(pointer_at);
  joined.assign(region.bytes + start, region.bytes + local_end);
  return read_chain(db_page::be32(region.bytes + local_end), payload - local, joined);
}

}  // namespace qf
