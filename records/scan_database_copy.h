#pragma once
// The deleted-record scan of one database copy: probe the table, walk its
// b-tree, cut every freeblock and gap of its leaf pages into regions, and let
// the decoder file what it recognises as deleted records. Reads the main file
// only (never a -wal beside it), by positioned reads; nothing is reported:
// a copy that cannot be probed or read adds nothing.
#include <string>

#include "records/candidate_rules.h"
#include "records/mimetype_name_table.h"
#include "records/record_tables.h"

namespace qf {

// Contacts copy ("data" table) into `output`, resolving mimetype ids through
// `mimetypes`.
void ScanDatabaseCopy(const std::string& utf8_path, ContactTable& output, const MimetypeNameTable& mimetypes,
                      const CandidateRules& rules = {});

// Telephony copy ("sms" table) into `output`.
void ScanDatabaseCopy(const std::string& utf8_path, ConversationTable& output,
                      const CandidateRules& rules = {});

}  // namespace qf
