#pragma once
// The deleted-record decoder for the telephony database's "sms" table: finds
// freed rows in one byte region and files them as deleted messages.
#include <cstddef>
#include <cstdint>

#include "records/candidate_rules.h"
#include "records/record_tables.h"
#include "records/table_layout.h"

namespace qf {

// Every row found in the `length` bytes at `region` becomes a deleted
// message of the conversation (address, thread_id), created as deleted when
// new, under the duplicate rule: the same message found again (a second
// start position, the backup copy) is stored once. Layouts with fewer than
// 2 columns, or a wanted column missing, are not decoded.
void MessageCandidate(const std::uint8_t* region, std::size_t length, const TableLayout& layout,
                      ConversationTable& output, const CandidateOptions& options = {});

}  // namespace qf
