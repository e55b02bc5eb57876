#include "records/message_type_name.h"

namespace qf {

std::string MessageTypeName(std::int32_t type) {
  static const char* const kNames[] = {"Received", "Sent", "Draft", "Outbox", "Failed", "Queued"};
  if (type >= 1 && type <= 6) return kNames[type - 1];
  return "Other (" + std::to_string(type) + ")";
}

}  // namespace qf
