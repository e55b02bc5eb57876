#include "records/untrusted_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/temp_dir.h"

namespace qf {
namespace {

int run(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

TEST(UntrustedDb, AnEndlessQueryIsInterruptedByTheStepBudget) {
  test::TempDir dir("qf-untrusted");
  UntrustedDb db;
  ASSERT_TRUE(db.open(dir.file("x.db"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, 1'000'000));
  EXPECT_EQ(run(db.handle(),
                "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c"),
            SQLITE_INTERRUPT);
  EXPECT_TRUE(db.budget_exhausted());
  // Once spent, the budget stays spent: the connection does no more work.
  EXPECT_NE(run(db.handle(), "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000)"
                             " SELECT count(*) FROM c"),
            SQLITE_OK);
}

TEST(UntrustedDb, TheSchemaCannotBeChangedThroughSqlAndTriggersDoNotRun) {
  test::TempDir dir("qf-untrusted");
  const std::string path = dir.file("x.db");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(run(raw, "CREATE TABLE t(a); CREATE TABLE log(a);"
                       "CREATE TRIGGER t_ins AFTER INSERT ON t BEGIN INSERT INTO log VALUES (NEW.a); END;"),
              SQLITE_OK);
    sqlite3_close(raw);
  }
  UntrustedDb db;
  ASSERT_TRUE(db.open(path, SQLITE_OPEN_READWRITE));
  EXPECT_NE(run(db.handle(), "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql='x'"), SQLITE_OK);
  ASSERT_EQ(run(db.handle(), "INSERT INTO t VALUES (1)"), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db.handle(), "SELECT count(*) FROM log", -1, &stmt, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(stmt, 0), 0);
  sqlite3_finalize(stmt);
}

TEST(UntrustedDb, AMissingFileIsNotCreatedWithoutTheCreateFlag) {
  test::TempDir dir("qf-untrusted");
  UntrustedDb db;
  EXPECT_FALSE(db.open(dir.file("none.db"), SQLITE_OPEN_READONLY));
  EXPECT_EQ(db.handle(), nullptr);
}

}  // namespace
}  // namespace qf
