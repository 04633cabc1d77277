// Every message the program shows, named by its language key: msg::Close is
// {L"Close", L"Close"}. The list itself is messages.inc.
#pragma once

#include <span>

#include "platform/texts.h"

namespace orvix {

namespace msg {
#define ORVIX_MESSAGE(key, english) inline constexpr TMessage key{L"" #key, english};
#include "language/messages.inc"
#undef ORVIX_MESSAGE
}  // namespace msg

// Every entry of messages.inc, in its order.
std::span<const TMessage> MessageTable();

}  // namespace orvix
