#include "ui/scroll_position.h"

#include <algorithm>

namespace qf::ui {

int clamp_position(const ScrollSpan& span, int position) {
  return std::clamp(position, 0, span.max_position());
}

int scroll_to(const ScrollSpan& span, int position, ScrollRequest request, int thumb) {
  switch (request) {
    case ScrollRequest::LineUp: position -= span.line; break;
    case ScrollRequest::LineDown: position += span.line; break;
    case ScrollRequest::PageUp: position -= span.view; break;
    case ScrollRequest::PageDown: position += span.view; break;
    case ScrollRequest::Top: position = 0; break;
    case ScrollRequest::Bottom: position = span.max_position(); break;
    case ScrollRequest::Thumb: position = thumb; break;
  }
  return clamp_position(span, position);
}

int scroll_by_wheel(const ScrollSpan& span, int position, int delta, int per_notch) {
  long long moved = static_cast<long long>(-delta) * per_notch / 120;
  return clamp_position(span, static_cast<int>(std::clamp<long long>(position + moved, -(1LL << 30), 1LL << 30)));
}

}  // namespace qf::ui
