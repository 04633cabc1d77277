// A generic library of stdcall exports for the tests of calling exported
// functions: each answers from its arguments alone, so a test can tell
// whether texts and integers arrived, and in which order.
#include <cstdint>
#include <initializer_list>

#define ECHO_EXPORT extern "C" __declspec(dllexport) std::int32_t __stdcall

using Word = std::uint32_t;

namespace {

// Order-sensitive: any two arguments swapped give another answer.
std::int32_t Fold(std::initializer_list<Word> words) {
  std::uint32_t result = 17;
  for (Word word : words) result = result * 31u + word;
  return static_cast<std::int32_t>(result);
}

}  // namespace

ECHO_EXPORT Fold0() { return Fold({}); }
ECHO_EXPORT Fold1(Word a) { return Fold({a}); }
ECHO_EXPORT Fold2(Word a, Word b) { return Fold({a, b}); }
ECHO_EXPORT Fold3(Word a, Word b, Word c) { return Fold({a, b, c}); }
ECHO_EXPORT Fold4(Word a, Word b, Word c, Word d) { return Fold({a, b, c, d}); }
ECHO_EXPORT Fold5(Word a, Word b, Word c, Word d, Word e) { return Fold({a, b, c, d, e}); }
ECHO_EXPORT Fold6(Word a, Word b, Word c, Word d, Word e, Word f) { return Fold({a, b, c, d, e, f}); }
ECHO_EXPORT Fold7(Word a, Word b, Word c, Word d, Word e, Word f, Word g) { return Fold({a, b, c, d, e, f, g}); }
ECHO_EXPORT Fold8(Word a, Word b, Word c, Word d, Word e, Word f, Word g, Word h) {
  return Fold({a, b, c, d, e, f, g, h});
}

// The UTF-16 code unit at `index` of `text`, -1 past its end.
ECHO_EXPORT CharAt(const wchar_t* text, std::int32_t index) {
  for (std::int32_t i = 0; text[i] != L'\0'; ++i)
    if (i == index) return text[i];
  return -1;
}

// Where `needle` first occurs in `text`, -1 when it does not.
ECHO_EXPORT FindIn(const wchar_t* text, const wchar_t* needle) {
  for (std::int32_t start = 0; text[start] != L'\0'; ++start) {
    std::int32_t i = 0;
    while (needle[i] != L'\0' && text[start + i] == needle[i]) ++i;
    if (needle[i] == L'\0') return start;
  }
  return -1;
}

// Writes `count` bytes of `value` into `out`, as a system call fills a
// status record; answers count.
ECHO_EXPORT FillBytes(unsigned char* out, std::int32_t count, std::int32_t value) {
  for (std::int32_t i = 0; i < count; ++i) out[i] = static_cast<unsigned char>(value);
  return count;
}
