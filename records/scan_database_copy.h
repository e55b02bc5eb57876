#pragma once
// The deleted-record scan of one database copy: probe the table, walk its
// b-tree, cut every freeblock and gap of its leaf pages into regions, and let
// the decoder file what it recognises as deleted records. Reads the main file
// only (never a -wal beside it), by positioned reads; nothing is reported:
// a copy that cannot be probed or read adds nothing.
#include <functional>
#include <string>

#include "records/candidate_rules.h"
#include "records/mimetype_name_table.h"
#include "records/record_tables.h"

namespace qf {

// What the caller knows about the copy: which file it is (recorded in every
// record's source) and, for contacts, which values are live.
struct ScanContext {
  SourceFile file = SourceFile::unknown;
  std::function<bool(std::int64_t raw_contact_id, ContactKind kind, std::string_view value)> reported_value;
  // Asked before each region: true ends the scan there (the user stopped).
  std::function<bool()> stop;
};

// Contacts copy ("data" table) into `output`, resolving mimetype ids through
// `mimetypes`.
void ScanDatabaseCopy(const std::string& utf8_path, ContactTable& output, const MimetypeNameTable& mimetypes,
                      const CandidateRules& rules = {}, const ScanContext& context = {});

// Telephony copy ("sms" table) into `output`.
void ScanDatabaseCopy(const std::string& utf8_path, ConversationTable& output,
                      const CandidateRules& rules = {}, const ScanContext& context = {});

}  // namespace qf
