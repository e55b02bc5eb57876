#include "tests/support/recording_sink.h"

#include <algorithm>

namespace qf::test {

void RecordingSink::post(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({message, wparam, lparam});
  }
  changed_.notify_all();
}

bool RecordingSink::wait_for(unsigned message, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    return std::any_of(messages_.begin(), messages_.end(),
                       [&](const PostedMessage& m) { return m.message == message; });
  });
}

std::vector<PostedMessage> RecordingSink::messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

std::vector<PostedMessage> RecordingSink::messages(unsigned code) const {
  std::vector<PostedMessage> out;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& m : messages_)
    if (m.message == code) out.push_back(m);
  return out;
}

}  // namespace qf::test
