#include "records/record_source_text.h"

namespace qf {

const char* SourceFileText(SourceFile file) {
  switch (file) {
    case SourceFile::pulled_copy: return "pulled_copy";
    case SourceFile::backup_copy: return "backup_copy";
    case SourceFile::wal: return "wal";
    case SourceFile::journal: return "journal";
    case SourceFile::unknown: break;
  }
  return "unknown";
}

const char* SourceKindText(SourceKind kind) {
  switch (kind) {
    case SourceKind::live: return "live";
    case SourceKind::free_space: return "free_space";
    case SourceKind::freelist_page: return "freelist_page";
    case SourceKind::stale_page: return "stale_page";
    case SourceKind::damaged_page: return "damaged_page";
    case SourceKind::unknown: break;
  }
  return "unknown";
}

}  // namespace qf
