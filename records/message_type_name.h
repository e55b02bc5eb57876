#pragma once
// The words a report shows for an SMS's "type" column, as Android's telephony
// provider numbers its boxes.
#include <cstdint>
#include <string>

namespace qf {

// "Received" (1), "Sent" (2), "Draft" (3), "Outbox" (4), "Failed" (5),
// "Queued" (6); any other value reads "Other (N)", so a box the phone uses
// that this list lacks is never passed off as one it is not.
std::string MessageTypeName(std::int32_t type);

}  // namespace qf
