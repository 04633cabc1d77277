#include "language/messages.h"

namespace orvix {

std::span<const TMessage> MessageTable() {
  static constexpr TMessage kTable[] = {
#define ORVIX_MESSAGE(key, english) msg::key,
#include "language/messages.inc"
#undef ORVIX_MESSAGE
  };
  return kTable;
}

}  // namespace orvix
