#include "records/contact_kind.h"

namespace qf {

const ContactKindTable& contact_kind_table() {
  static const ContactKindTable table = {
      {"vnd.android.cursor.item/email_v2", 1},
      {"vnd.android.cursor.item/im", 2},
      {"vnd.android.cursor.item/nickname", 3},
      {"vnd.android.cursor.item/organization", 4},
      {"vnd.android.cursor.item/phone_v2", 5},
      {"vnd.android.cursor.item/sip_address", 6},
      {"vnd.android.cursor.item/name", 7},
      {"vnd.android.cursor.item/postal-address_v2", 8},
      {"vnd.android.cursor.item/group_membership", 9},
      {"vnd.android.cursor.item/website", 10},
      {"vnd.android.cursor.item/note", 11},
      {"vnd.android.cursor.item/contact_event", 12},
      {"vnd.android.cursor.item/identity", 13},
      {"vnd.android.cursor.item/photo", 14},
      {"vnd.android.cursor.item/relation", 15},
  };
  return table;
}

ContactKind ContactKindOf(std::string_view mimetype) {
  const ContactKindTable& table = contact_kind_table();
  auto it = table.find(mimetype);
  return it == table.end() ? 0 : it->second;
}

std::string& ContactFieldForKind(ContactRecord& contact, ContactKind kind) {
  switch (kind) {
    case 1: return contact.email;
    case 2: return contact.im;
    case 3: return contact.nickname;
    case 4: return contact.organization;
    case 5: return contact.phone;
    case 6: return contact.sip_address;
    case 7: return contact.name;
    case 8: return contact.postal_address;
    case 10: return contact.website;
    case 11: return contact.note;
    default: return contact.others;
  }
}

}  // namespace qf
