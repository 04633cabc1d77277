// Letter case and trimming: registry and file names compare with these.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "formats/text_codec.h"

namespace orvix::testing {
namespace {

TEST(Text, SameTextIgnoresCaseBeyondAscii) {
  const struct {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  } cases[] = {
      {L"Software", L"SOFTWARE", true},
      {L"caf\u00e9", L"CAF\u00c9", true},                                                        // Latin-1
      {L"\u0161kola", L"\u0160KOLA", true},                                                      // Latin Extended-A
      {L"\u043f\u0440\u0438\u0432\u0435\u0442", L"\u041f\u0420\u0418\u0412\u0415\u0422", true},  // Cyrillic
      {L"\u03b1\u03c2", L"\u0391\u03a3", true},                                                  // Greek, final sigma
      {L"\u00ff", L"\u0178", true},                                                              // y with diaeresis
      {L"stra\u00dfe", L"STRASSE", false},  // no mapping changes the length
      {L"abc", L"abcd", false},
      {L"", L"", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameText(c.a, c.b), c.same) << ToUtf8(c.a);
  }
}

TEST(Text, CaseMappingsRoundTripForCasedLetters) {
  for (wchar_t upper : {L'A', L'\u00c9', L'\u0160', L'\u0139', L'\u017d', L'\u0416', L'\u0401', L'\u0391', L'\u0531'}) {
    EXPECT_EQ(UpperChar(LowerChar(upper)), upper) << static_cast<int>(upper);
    EXPECT_NE(LowerChar(upper), upper) << static_cast<int>(upper);
  }
  EXPECT_EQ(UpperCase(L"\u00e0\u00f7\u00fe"), L"\u00c0\u00f7\u00de");  // the division sign has no case
  EXPECT_EQ(LowerCase(L"MiXeD 123"), L"mixed 123");
}

TEST(Text, CompareTextOrdersByUpperCase) {
  std::vector<std::wstring> names{L"b", L"_x", L"A", L"a1", L"B0"};
  std::sort(names.begin(), names.end(), TextLess{});
  EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"a1", L"b", L"B0", L"_x"}));
  EXPECT_EQ(CompareText(L"abc", L"ABC"), 0);
  EXPECT_LT(CompareText(L"ab", L"ABC"), 0);
  EXPECT_GT(CompareText(L"b", L"A"), 0);
}

TEST(Text, PrefixSuffixAndSearchIgnoreCase) {
  EXPECT_TRUE(StartsWithText(L"C:\\Program Files\\Foo", L"c:\\program"));
  EXPECT_FALSE(StartsWithText(L"C:", L"C:\\"));
  EXPECT_TRUE(EndsWithText(L"setup.EXE", L".exe"));
  EXPECT_EQ(FindText(L"C:\\Program Files\\FOO\\bin", L"foo"), 17u);
  EXPECT_EQ(FindText(L"foo foo", L"FOO", 1), 4u);
  EXPECT_EQ(FindText(L"foo", L"bar"), std::wstring_view::npos);
  EXPECT_EQ(FindText(L"foo", L"", 3), 3u);
  EXPECT_EQ(FindText(L"foo", L"", 4), std::wstring_view::npos);
}

TEST(Text, TrimRemovesSpacesAndControlCharacters) {
  EXPECT_EQ(Trim(L" \t\r\n x y \x01\x1f"), L"x y");
  EXPECT_EQ(Trim(L"\u00a0x\u00a0"), L"\u00a0x\u00a0");  // a no-break space is kept
  EXPECT_EQ(Trim(L"   "), L"");
  EXPECT_EQ(Trim(L""), L"");
}

}  // namespace
}  // namespace orvix::testing
