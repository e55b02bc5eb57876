// Feeds arbitrary bytes to the sms decoder as one region, under the sms
// layouts of both phone generations and of an upgraded phone.
// Replay a crash: records_message_candidate_fuzz <file>.
#include <cstddef>
#include <cstdint>

#include "records/message_candidate.h"

namespace {

qf::TableLayout sms_layout(int column_count, int body) {
  qf::TableLayout layout;
  layout.root_page = 2;
  layout.column_count = column_count;
  layout.thread_id_column = 1;
  layout.address_column = 2;
  layout.date_column = 4;
  layout.type_column = 9;
  layout.body_column = body;
  return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65535) size = 65535;  // a region is at most 65535 bytes
  static const qf::TableLayout android4 = sms_layout(17, 12);
  static const qf::TableLayout android6 = sms_layout(19, 12);
  qf::CandidateOptions upgraded;
  upgraded.record_lengths = {17, 19};
  qf::ConversationTable table;
  qf::MessageCandidate(data, size, android4, table);
  qf::MessageCandidate(data, size, android6, table);
  qf::MessageCandidate(data, size, android6, table, upgraded);
  return 0;
}
