#pragma once
// One recovered contact. Texts are UTF-8 exactly as the phone stored them; a
// field that received several values holds them joined by "|" (see
// ContactFieldAppend).
#include <cstdint>
#include <string>

#include "records/record_source.h"

namespace qf {

struct ContactRecord {
  // Set once at creation: true for a contact built from deleted data.
  bool deleted = false;
  // Selected for export.
  bool checked = true;
  std::int64_t raw_contact_id = 0;
  std::string name;            // kind 7
  std::string nickname;        // kind 3
  std::string im;              // kind 2
  std::string phone;           // kind 5
  std::string email;           // kind 1
  std::string organization;    // kind 4
  std::string sip_address;     // kind 6: kept, but shown nowhere
  std::string postal_address;  // kind 8
  std::string website;         // kind 10
  std::string note;            // kind 11
  std::string others;          // every other kind, and unknown mimetypes
  RecordSource source;
};

}  // namespace qf
