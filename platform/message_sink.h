#pragma once
// Where workers report to. Workers never touch a window: they post a message
// code with two pointer-sized parameters, exactly as PostMessageW would carry
// them. The Windows sink posts to an HWND; tests use a recording sink.
#include <cstdint>

namespace qf {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Must be callable from any thread; must not block for long.
  virtual void post(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
};

}  // namespace qf
