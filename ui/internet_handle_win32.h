#pragma once
// Owning handles of the two HTTP client flavours (their headers cannot meet
// in one translation unit, so each client instantiates this with its own
// close function).
#include <windows.h>

#include <memory>

namespace qf::ui {

template <auto Close>
struct InternetHandleCloser {
  void operator()(void* handle) const { Close(handle); }
};

template <auto Close>
using InternetHandle = std::unique_ptr<void, InternetHandleCloser<Close>>;

}  // namespace qf::ui
