// Texts from language files are filled in only when their placeholders
// match the arguments; otherwise the English default is used.
#include <gtest/gtest.h>

#include "formats/safe_format.h"
#include "test_text.h"

namespace orvix {
namespace {

TEST(SafeFormatTest, FillsMatchingPatternsAndFallsBackOtherwise) {
  const std::wstring fallback = L"Are you sure to remove the %d files of %s?";
  const std::vector<FormatArg> args = {std::int64_t{3}, std::wstring(L"Foo")};
  const struct {
    const wchar_t* pattern;
    const wchar_t* expected;
  } cases[] = {
      {L"Wirklich %d Dateien von %s entfernen?", L"Wirklich 3 Dateien von Foo entfernen?"},
      {L"%1:s: %0:d files", L"Foo: 3 files"},                                            // positional
      {L"100%% sure: %d / %s", L"100% sure: 3 / Foo"},
      {L"%s files of %d", L"Are you sure to remove the 3 files of Foo?"},               // kinds swapped
      {L"Remove %d files", L"Are you sure to remove the 3 files of Foo?"},              // an argument unused
      {L"%d %s %s", L"Are you sure to remove the 3 files of Foo?"},                     // one too many
      {L"%n%n%n%s%x", L"Are you sure to remove the 3 files of Foo?"},                   // printf attacks
      {L"trailing %", L"Are you sure to remove the 3 files of Foo?"},
      {L"%5:s and %0:d", L"Are you sure to remove the 3 files of Foo?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SafeFormat(c.pattern, args, fallback), c.expected) << testing::Narrow(c.pattern);
  }
}

TEST(SafeFormatTest, ABrokenFallbackIsShownAsItIs) {
  EXPECT_EQ(SafeFormat(L"%d", {std::wstring(L"x")}, L"%d items"), L"%d items");
  EXPECT_EQ(SafeFormat(L"1 item", {}, L"ignored"), L"1 item");
}

}  // namespace
}  // namespace orvix
