#pragma once
// A MessageSink that records every posted message, for worker tests.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/message_sink.h"

namespace qf::test {

struct PostedMessage {
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};

class RecordingSink final : public MessageSink {
 public:
  void post(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;

  // Blocks until a message with this code has been posted, or the time runs
  // out; returns whether it came.
  bool wait_for(unsigned message, std::chrono::milliseconds timeout = std::chrono::seconds(60));
  std::vector<PostedMessage> messages() const;
  std::vector<PostedMessage> messages(unsigned code) const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<PostedMessage> messages_;
};

}  // namespace qf::test
