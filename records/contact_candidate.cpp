#include "records/contact_candidate.h"

#include "records/contact_field_append.h"
#include "records/contact_kind.h"
#include "records/contact_row.h"

namespace qf {
namespace {

ContactRowPattern contact_pattern(const TableLayout& layout) {
  ContactRowPattern pattern;
  pattern.column_count = layout.column_count;
  pattern.raw_contact_id_column = layout.raw_contact_id_column;
  pattern.data1_column = layout.data1_column;
  pattern.text_columns = layout.text_columns;
  return pattern;
}

// The mimetype id was read from a 1-byte integer or a constant: it fits.
std::int32_t mimetype_key(std::int64_t id) { return static_cast<std::int32_t>(id); }

void file_contact_value(const ContactRow& row, ContactTable& output, const MimetypeNameTable& mimetypes,
                        const CandidateOptions& options) {
  const ContactKind kind = ContactKindOf(MimetypeNameOf(mimetypes, mimetype_key(row.mimetype_id)));
  if (options.reported_value && options.reported_value(row.raw_contact_id, kind, row.data1)) return;
  ContactRecord& contact = FindOrCreateContact(output, row.raw_contact_id, true);
  if (contact.source.kind == SourceKind::unknown) contact.source = source_at(options.source, row.start);
  ContactFieldAppend(contact, row.data1, kind);
}

}  // namespace

void ContactCandidate(const std::uint8_t* region, std::size_t length, const TableLayout& layout,
                      ContactTable& output, const MimetypeNameTable& mimetypes, const CandidateOptions& options) {
  auto known = [&](std::int64_t id) { return mimetypes.count(mimetype_key(id)) != 0; };
  find_contact_rows({region, length}, contact_pattern(layout), options, known,
                    [&](const ContactRow& row) { file_contact_value(row, output, mimetypes, options); });
}

}  // namespace qf
