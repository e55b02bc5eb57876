#include "records/contact_field_append.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

constexpr ContactKind kPhone = 5;

TEST(ContactFieldAppend, RepeatsAreStoredOnceAndNewValuesJoinWithABar) {
  ContactRecord c;
  ContactFieldAppend(c, "555", kPhone);
  EXPECT_EQ(c.phone, "555");
  ContactFieldAppend(c, "555", kPhone);
  EXPECT_EQ(c.phone, "555");
  ContactFieldAppend(c, "123", kPhone);
  EXPECT_EQ(c.phone, "555|123");
  ContactFieldAppend(c, "123", kPhone);
  ContactFieldAppend(c, "555", kPhone);
  EXPECT_EQ(c.phone, "555|123");
}

TEST(ContactFieldAppend, AValueContainedInTheSearchTextIsNotAdded) {
  ContactRecord c;
  c.phone = "555|123";
  // "55" occurs inside "|555|123|".
  ContactFieldAppend(c, "55", kPhone);
  EXPECT_EQ(c.phone, "555|123");
  // So does "5|1", a piece spanning the bar.
  ContactFieldAppend(c, "5|1", kPhone);
  EXPECT_EQ(c.phone, "555|123");
  // A longer number holding a stored one is new.
  ContactFieldAppend(c, "5550", kPhone);
  EXPECT_EQ(c.phone, "555|123|5550");
}

TEST(ContactFieldAppend, ContainmentIsCaseSensitive) {
  ContactRecord c;
  ContactFieldAppend(c, "Anna", 7);
  ContactFieldAppend(c, "anna", 7);
  EXPECT_EQ(c.name, "Anna|anna");
}

TEST(ContactFieldAppend, EmptyValuesNeverChangeAField) {
  ContactRecord c;
  ContactFieldAppend(c, "", kPhone);
  EXPECT_EQ(c.phone, "");
  c.phone = "555";
  ContactFieldAppend(c, "", kPhone);
  EXPECT_EQ(c.phone, "555");
}

TEST(ContactFieldAppend, AFieldEndingInABarGetsNoSecondOneInItsSearchText) {
  ContactRecord c;
  c.phone = "555|";
  // Search text "|555|": "|555|" itself is found, "5||" would need a doubled bar.
  ContactFieldAppend(c, "|555|", kPhone);
  EXPECT_EQ(c.phone, "555|");
  ContactFieldAppend(c, "5||", kPhone);
  EXPECT_EQ(c.phone, "555||5||");
}

TEST(ContactFieldAppend, NonAsciiValuesAreComparedByteForByte) {
  ContactRecord c;
  const std::string wang = "\xE7\x8E\x8B";
  ContactFieldAppend(c, wang + "\xE5\xB0\x8F", 7);
  ContactFieldAppend(c, wang, 7);
  EXPECT_EQ(c.name, wang + "\xE5\xB0\x8F");
  ContactFieldAppend(c, "\xF0\x9F\x8E\x82", 7);
  EXPECT_EQ(c.name, wang + "\xE5\xB0\x8F|\xF0\x9F\x8E\x82");
}

}  // namespace
}  // namespace qf
