#pragma once
// One SMS as recovered from the telephony database's "sms" table.
#include <cstdint>
#include <string>

#include "records/record_source.h"

namespace qf {

// The "type" column: 1 is a received message; every other value counts as sent.
constexpr std::int32_t kMessageTypeReceived = 1;

struct MessageRecord {
  std::int32_t type = 0;
  std::int64_t thread_id = 0;
  bool deleted = false;
  // Local time "%Y-%m-%d %H:%M:%S" (19 characters), see DateTextFromMillis.
  std::string date_text;
  std::string address;
  std::string body;
  RecordSource source;
};

inline bool IsReceivedMessage(const MessageRecord& m) { return m.type == kMessageTypeReceived; }

}  // namespace qf
