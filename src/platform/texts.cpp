#include "platform/texts.h"

#include <utility>

namespace orvix {
namespace {

TTextSource& Source() {
  static TTextSource source;
  return source;
}

}  // namespace

TTextSource SetTextSource(TTextSource source) { return std::exchange(Source(), std::move(source)); }

std::wstring Text(const TMessage& message) {
  if (!Source()) return message.english;
  return Source()(message.key).value_or(message.english);
}

std::wstring MessageText(const TMessage& message, const std::vector<FormatArg>& args) {
  return SafeFormat(Text(message), args, message.english);
}

}  // namespace orvix
