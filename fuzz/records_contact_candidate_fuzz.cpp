// Feeds arbitrary bytes to the contacts decoder as one region, under the
// data-table layouts of both phone generations and of an upgraded phone.
// Replay a crash: records_contact_candidate_fuzz <file>.
#include <cstddef>
#include <cstdint>

#include "records/contact_candidate.h"

namespace {

qf::TableLayout data_layout(int column_count, int data1, bool hash_id_before_data1) {
  qf::TableLayout layout;
  layout.root_page = 2;
  layout.column_count = column_count;
  layout.raw_contact_id_column = 3;
  layout.data1_column = data1;
  layout.text_columns.assign(static_cast<std::size_t>(column_count), false);
  for (int c = data1; c < column_count; ++c) layout.text_columns[static_cast<std::size_t>(c)] = true;
  if (hash_id_before_data1) layout.text_columns[4] = true;
  return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65535) size = 65535;  // a region is at most 65535 bytes
  static const qf::MimetypeNameTable mimetypes = {{1, "vnd.android.cursor.item/email_v2"},
                                                  {5, "vnd.android.cursor.item/phone_v2"},
                                                  {7, "vnd.android.cursor.item/name"},
                                                  {11, "vnd.android.cursor.item/note"}};
  static const qf::TableLayout android4 = data_layout(27, 8, false);
  static const qf::TableLayout android6 = data_layout(32, 9, true);
  static const qf::TableLayout worked_example = data_layout(6, 5, false);
  qf::CandidateOptions upgraded;
  upgraded.record_lengths = {27, 32};
  qf::ContactTable table;
  qf::ContactCandidate(data, size, android4, table, mimetypes);
  qf::ContactCandidate(data, size, android6, table, mimetypes);
  qf::ContactCandidate(data, size, data_layout(32, 8, false), table, mimetypes, upgraded);
  qf::ContactCandidate(data, size, worked_example, table, mimetypes);
  return 0;
}
