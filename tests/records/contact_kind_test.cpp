#include "records/contact_kind.h"

#include <gtest/gtest.h>

#include "records/contact_field_append.h"

namespace qf {
namespace {

std::string mime(const char* short_name) { return std::string("vnd.android.cursor.item/") + short_name; }

TEST(ContactKind, EveryKnownMimetypeFillsItsOwnField) {
  struct Case {
    const char* mimetype;
    ContactKind kind;
    std::string ContactRecord::*field;
  };
  const Case cases[] = {
      {"email_v2", 1, &ContactRecord::email},
      {"im", 2, &ContactRecord::im},
      {"nickname", 3, &ContactRecord::nickname},
      {"organization", 4, &ContactRecord::organization},
      {"phone_v2", 5, &ContactRecord::phone},
      {"sip_address", 6, &ContactRecord::sip_address},
      {"name", 7, &ContactRecord::name},
      {"postal-address_v2", 8, &ContactRecord::postal_address},
      {"group_membership", 9, &ContactRecord::others},
      {"website", 10, &ContactRecord::website},
      {"note", 11, &ContactRecord::note},
      {"contact_event", 12, &ContactRecord::others},
      {"identity", 13, &ContactRecord::others},
      {"photo", 14, &ContactRecord::others},
      {"relation", 15, &ContactRecord::others},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mimetype);
    const ContactKind kind = ContactKindOf(mime(c.mimetype));
    EXPECT_EQ(kind, c.kind);
    ContactRecord contact;
    ContactFieldAppend(contact, "value", kind);
    EXPECT_EQ(contact.*(c.field), "value");
    // Exactly one field received it.
    int filled = 0;
    for (const std::string* f : {&contact.name, &contact.nickname, &contact.im, &contact.phone, &contact.email,
                                 &contact.organization, &contact.sip_address, &contact.postal_address,
                                 &contact.website, &contact.note, &contact.others}) {
      filled += f->empty() ? 0 : 1;
    }
    EXPECT_EQ(filled, 1);
  }
  EXPECT_EQ(contact_kind_table().size(), std::size(cases));
}

TEST(ContactKind, UnknownOrCaseDifferingMimetypesAreKindZeroAndGoToOthers) {
  for (const std::string& text : {std::string(), mime("Phone_v2"), mime("phone_v2 "), std::string("phone_v2"),
                                  std::string("vnd.com.whatsapp.profile")}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ContactKindOf(text), 0);
  }
  ContactRecord c;
  ContactFieldAppend(c, "photo-bytes", ContactKindOf(mime("photo")));
  ContactFieldAppend(c, "whatsapp", ContactKindOf("vnd.com.whatsapp.profile"));
  EXPECT_EQ(c.others, "photo-bytes|whatsapp");
  EXPECT_EQ(&ContactFieldForKind(c, 99), &c.others);
  EXPECT_EQ(&ContactFieldForKind(c, -1), &c.others);
}

}  // namespace
}  // namespace qf
