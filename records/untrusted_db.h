#pragma once
// A SQLite connection to a database file that came from a phone, and so may
// be hostile: defensive mode, no trusted schema, triggers and views off,
// cell-size checks on, no memory-mapped I/O, no busy waits, and a bound on
// the work any one statement may do, so a crafted file cannot make a query
// run for ever. Owns the connection; closing happens when the object goes.
#include <cstdint>
#include <string>

struct sqlite3;

namespace qf {

class UntrustedDb {
 public:
  // Virtual-machine steps one connection may take (counted in units of
  // kProgressUnit); past that every running statement is interrupted.
  static constexpr int kProgressUnit = 1000;
  static constexpr std::uint64_t kDefaultStepBudget = 200'000'000;

  UntrustedDb() = default;
  ~UntrustedDb();
  UntrustedDb(const UntrustedDb&) = delete;
  UntrustedDb& operator=(const UntrustedDb&) = delete;

  // Opens the UTF-8 path with the SQLite open flags given (for example
  // SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) and configures the
  // connection. False, with nothing open, when SQLite refuses.
  bool open(const std::string& utf8_path, int open_flags,
            std::uint64_t step_budget = kDefaultStepBudget);
  void close();
  sqlite3* handle() const { return db_; }
  bool budget_exhausted() const { return steps_left_ == 0; }
  // Counts one statement as one unit of the budget. A statement shorter than
  // a unit never reaches the progress handler, so a loop of short statements
  // (a skip past damage, repeated) would otherwise run unbounded.
  void charge_statement() {
    if (steps_left_ > 0) --steps_left_;
  }

 private:
  static int on_progress(void* self);

  sqlite3* db_ = nullptr;
  std::uint64_t steps_left_ = 0;
};

}  // namespace qf
