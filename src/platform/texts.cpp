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

std::wstring Text(const std::wstring& key, const std::wstring& englishDefault) {
  if (!Source()) return englishDefault;
  return Source()(key).value_or(englishDefault);
}

std::wstring MessageText(const std::wstring& key, const std::wstring& englishDefault,
                         const std::vector<FormatArg>& args) {
  return SafeFormat(Text(key, englishDefault), args, englishDefault);
}

}  // namespace orvix
