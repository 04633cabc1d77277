// The shell link reader: what it takes from each part of a shortcut, and
// that cut or damaged files never make it read outside the data or invent
// a target (the native tests run under ASan and UBSan).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/shell_link.h"
#include "formats/windows_1252.h"
#include "native/named_case.h"
#include "native/shell_link_writer.h"
#include "native/test_text.h"

namespace orvix {
namespace {

using testing::BuildShellLink;
using testing::LinkSpec;
using testing::Narrow;

std::optional<TShellLink> Parse(const Bytes& bytes) { return ParseShellLink(bytes.data(), bytes.size()); }

struct TargetCase : testing::NamedCase {
  LinkSpec spec;
  std::wstring target;
};

class ShellLinkTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ShellLinkTarget, ComesFromLinkInfo) {
  const auto link = Parse(BuildShellLink(GetParam().spec));
  ASSERT_TRUE(link.has_value());
  EXPECT_TRUE(link->Intact);
  EXPECT_EQ(Narrow(link->TargetPath()), Narrow(GetParam().target));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLinkTarget,
    ::testing::Values(
        // 8-bit paths are in the ANSI code page: 0xE9 is an e acute in Windows-1252.
        TargetCase{{"AnsiLocalPath"}, {.localBasePath = "C:\\Program Files\\Caf\xE9\\cafe.exe"},
                   L"C:\\Program Files\\Caf\u00E9\\cafe.exe"},
        TargetCase{{"UnicodeFormsWin"},
                   {.localBasePath = "C:\\Program Files\\?\\",
                    .localBasePathUnicode = L"C:\\Program Files\\\u03A9mega\\",
                    .commonPathSuffix = "?.exe",
                    .commonPathSuffixUnicode = L"\u03C9.exe"},
                   L"C:\\Program Files\\\u03A9mega\\\u03C9.exe"},
        TargetCase{{"SuffixFollowsBasePath"}, {.localBasePath = "C:\\Foo\\", .commonPathSuffix = "bin\\foo.exe"},
                   L"C:\\Foo\\bin\\foo.exe"},
        TargetCase{{"NetworkShareAndSuffix"}, {.commonPathSuffix = "tools\\x.exe", .netName = "\\\\server\\share"},
                   L"\\\\server\\share\\tools\\x.exe"},
        TargetCase{{"LocalPathBeforeNetwork"},
                   {.localBasePath = "Z:\\tools\\x.exe", .netName = "\\\\server\\share"},
                   L"Z:\\tools\\x.exe"},
        // The item-id list is skipped by its size, whatever it holds.
        TargetCase{{"AfterALargeIdList"}, {.localBasePath = "C:\\Foo\\foo.exe", .idListSize = 0x1F3},
                   L"C:\\Foo\\foo.exe"},
        TargetCase{{"NoLinkInfo"}, {.name = L"Foo", .environmentTarget = L"%ProgramFiles%\\Foo\\foo.exe"}, L""}),
    testing::CaseName());

TEST(ShellLink, ReadsStringDataInBothWidthsAndTheEnvironmentBlock) {
  for (const bool unicode : {true, false}) {
    SCOPED_TRACE(unicode ? "unicode" : "ansi");
    const auto link = Parse(BuildShellLink({.localBasePath = "C:\\Foo\\foo.exe",
                                            .idListSize = 20,
                                            .unicodeStrings = unicode,
                                            .name = L"Foo tool",
                                            .relativePath = L"..\\..\\Foo\\foo.exe",
                                            .workingDir = L"C:\\Foo",
                                            .arguments = L"/start --fast",
                                            .iconLocation = L"C:\\Foo\\foo.ico",
                                            .environmentTarget = L"%ProgramFiles%\\Foo\\foo.exe"}));
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(link->Intact);
    EXPECT_EQ(Narrow(link->Name), "Foo tool");
    EXPECT_EQ(Narrow(link->RelativePath), "..\\..\\Foo\\foo.exe");
    EXPECT_EQ(Narrow(link->WorkingDir), "C:\\Foo");
    EXPECT_EQ(Narrow(link->Arguments), "/start --fast");
    EXPECT_EQ(Narrow(link->IconLocation), "C:\\Foo\\foo.ico");
    EXPECT_EQ(Narrow(link->EnvironmentTarget), "%ProgramFiles%\\Foo\\foo.exe");
    EXPECT_EQ(link->LinkInfoFlags, kLinkInfoLocalPath);
  }
}

// Wine's shell counts the terminating zero of each string.
TEST(ShellLink, StringsEndAtACountedZero) {
  for (const bool unicode : {true, false}) {
    const auto link = Parse(BuildShellLink({.localBasePath = "C:\\Foo\\foo.exe",
                                            .unicodeStrings = unicode,
                                            .name = std::wstring(L"Foo\0", 4),
                                            .workingDir = std::wstring(L"C:\\Foo\0junk", 12)}));
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(link->Intact);
    EXPECT_EQ(Narrow(link->Name), "Foo");
    EXPECT_EQ(Narrow(link->WorkingDir), "C:\\Foo");
  }
}

TEST(ShellLink, AnsiTextGoesThroughTheGivenCodePage) {
  const Bytes bytes = BuildShellLink({.localBasePath = "C:\\\xC4\\a.exe"});
  const auto link = ParseShellLink(bytes.data(), bytes.size(),
                                   [](std::string_view text) { return L"<" + FromWindows1252(text) + L">"; });
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(Narrow(link->LocalBasePath), Narrow(L"<C:\\\u00C4\\a.exe>"));
}

TEST(ShellLink, OnlyAHeaderOfSize76IsALink) {
  Bytes bytes = BuildShellLink({.localBasePath = "C:\\Foo\\foo.exe"});
  EXPECT_FALSE(ParseShellLink(nullptr, 100).has_value());
  EXPECT_FALSE(ParseShellLink(bytes.data(), 75).has_value());
  bytes[0] = 75;
  EXPECT_FALSE(Parse(bytes).has_value());
  const Bytes text = {'[', 'I', 'n', 't', 'e', 'r', 'n', 'e', 't', 'S', 'h', 'o', 'r', 't', 'c', 'u', 't', ']'};
  EXPECT_FALSE(Parse(text).has_value());
}

// A sample of shortcuts covering every structure the reader knows.
std::vector<LinkSpec> SampleSpecs() {
  return {
      {.localBasePath = "C:\\Program Files\\Foo\\foo.exe", .idListSize = 90, .workingDir = L"C:\\Program Files\\Foo"},
      {.localBasePath = "C:\\Foo\\",
       .localBasePathUnicode = L"C:\\Foo\\",
       .commonPathSuffix = "bar.exe",
       .commonPathSuffixUnicode = L"bar.exe",
       .unicodeStrings = false,
       .name = L"Bar",
       .arguments = L"-x"},
      {.commonPathSuffix = "x.exe", .netName = "\\\\server\\share", .iconLocation = L"x.ico"},
      {.localBasePath = "C:\\Foo\\foo.exe",
       .relativePath = L".\\foo.exe",
       .environmentTarget = L"%SystemDrive%\\Foo\\foo.exe"},
  };
}

// Every text the reader gives is whole or absent: a shortcut cut short at any
// length never yields part of a path, and never claims to be whole.
TEST(ShellLinkRobustness, CutAtEveryLengthGivesWholeFieldsOrNone) {
  for (const LinkSpec& spec : SampleSpecs()) {
    const Bytes full = BuildShellLink(spec);
    const auto whole = Parse(full);
    ASSERT_TRUE(whole.has_value() && whole->Intact);
    for (std::size_t size = 0; size < full.size(); ++size) {
      SCOPED_TRACE("cut at " + std::to_string(size) + " of " + std::to_string(full.size()));
      const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
      const auto link = Parse(cut);
      if (!link) {
        EXPECT_LT(size, kShellLinkHeaderSize);
        continue;
      }
      EXPECT_FALSE(link->Intact);
      for (const auto& [part, expected] : {std::pair{link->TargetPath(), whole->TargetPath()},
                                           {link->Name, whole->Name},
                                           {link->RelativePath, whole->RelativePath},
                                           {link->WorkingDir, whole->WorkingDir},
                                           {link->Arguments, whole->Arguments},
                                           {link->IconLocation, whole->IconLocation},
                                           {link->EnvironmentTarget, whole->EnvironmentTarget}}) {
        if (!part.empty()) {
          EXPECT_EQ(Narrow(part), Narrow(expected));
        }
      }
    }
  }
}

// Sizes and offsets pointing past the data, as a hostile file would set them.
enum class Place { File, LinkInfo, AfterLinkInfo };

struct DamageCase : testing::NamedCase {
  Place place;
  std::size_t at;  // from the start of the place
  std::uint32_t value;
  bool keepsTarget;  // the damage lies after what the target needs
};

class ShellLinkDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ShellLinkDamage, IsReportedWithoutReadingOutsideTheData) {
  const LinkSpec spec{.localBasePath = "C:\\Foo\\",
                      .localBasePathUnicode = L"C:\\Foo\\",
                      .commonPathSuffix = "foo.exe",
                      .netName = "\\\\server\\share",
                      .idListSize = 10,
                      .name = L"Foo",
                      .environmentTarget = L"%SystemDrive%\\Foo\\foo.exe"};
  Bytes bytes = BuildShellLink(spec);
  const std::size_t linkInfo = kShellLinkHeaderSize + 2 + spec.idListSize;
  const std::size_t linkInfoSize = bytes[linkInfo] | bytes[linkInfo + 1] << 8;
  const std::size_t starts[] = {0, linkInfo, linkInfo + linkInfoSize};
  const std::size_t at = starts[static_cast<int>(GetParam().place)] + GetParam().at;
  ASSERT_LE(at + 4, bytes.size());
  testing::link_writer::Set32(bytes, at, GetParam().value);

  const auto link = Parse(bytes);
  ASSERT_TRUE(link.has_value());
  EXPECT_FALSE(link->Intact);
  EXPECT_EQ(Narrow(link->TargetPath()), GetParam().keepsTarget ? "C:\\Foo\\foo.exe" : "");
}

// LinkInfo of that shortcut: a header with the Unicode offsets, then a
// VolumeID of 0x11 bytes, then the local base path.
constexpr std::uint32_t kInsideLocalPath = 0x24 + 0x11 + 3;

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLinkDamage,
    ::testing::Values(DamageCase{{"IdListPastTheEnd"}, Place::File, kShellLinkHeaderSize, 0xFFFF, false},
                      DamageCase{{"LinkInfoSizePastTheEnd"}, Place::LinkInfo, 0, 0xFFFFFFFF, false},
                      DamageCase{{"LinkInfoSizeBelowItsHeader"}, Place::LinkInfo, 0, 8, false},
                      DamageCase{{"LinkInfoEndsInsideThePath"}, Place::LinkInfo, 0, kInsideLocalPath, false},
                      DamageCase{{"LinkInfoHeaderLargerThanTheBlock"}, Place::LinkInfo, 4, 0x7FFFFFFF, false},
                      DamageCase{{"LocalPathOffsetPastTheBlock"}, Place::LinkInfo, 16, 0xFFFFFFF0, false},
                      DamageCase{{"NetworkLinkPastTheBlock"}, Place::LinkInfo, 20, 0x7FFFFFFF, false},
                      DamageCase{{"SuffixOffsetPastTheBlock"}, Place::LinkInfo, 24, 0x80000000, false},
                      DamageCase{{"UnicodePathOffsetPastTheBlock"}, Place::LinkInfo, 28, 0xFFFFFFFF, false},
                      DamageCase{{"StringLongerThanTheFile"}, Place::AfterLinkInfo, 0, 0xFFFF, true},
                      DamageCase{{"ExtraBlockPastTheEnd"}, Place::AfterLinkInfo, 2 + 3 * 2, 0xFFFFFFF0, true}),
    testing::CaseName());

// Random damage to real layouts: whatever comes back was read from the data.
TEST(ShellLinkRobustness, RandomCorruptionNeverReadsOutsideTheData) {
  std::mt19937 random(20240601);
  const std::uint32_t interesting[] = {0,    1,    0x13, 0x14,   0x1C,       0x24,      0x4C,
                                       0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF};
  int parsed = 0;
  for (const LinkSpec& spec : SampleSpecs()) {
    const Bytes base = BuildShellLink(spec);
    for (int round = 0; round < 4000; ++round) {
      Bytes bytes = base;
      const int changes = 1 + static_cast<int>(random() % 6);
      for (int i = 0; i < changes; ++i) {
        const std::size_t at = random() % bytes.size();
        if (random() % 2 == 0 || at + 4 > bytes.size()) {
          bytes[at] = static_cast<std::uint8_t>(random());
        } else {
          testing::link_writer::Set32(bytes, at, interesting[random() % std::size(interesting)]);
        }
      }
      if (random() % 4 == 0) bytes.resize(random() % bytes.size());
      const auto link = Parse(bytes);
      if (!link) continue;
      ++parsed;
      // Windows-1252 gives one character per byte and UTF-16 one per two:
      // no field can be longer than the data it came from.
      for (const std::wstring* text : {&link->LocalBasePath, &link->NetworkName, &link->CommonPathSuffix,
                                       &link->Name, &link->RelativePath, &link->WorkingDir, &link->Arguments,
                                       &link->IconLocation, &link->EnvironmentTarget}) {
        EXPECT_LE(text->size(), bytes.size());
      }
    }
  }
  EXPECT_GT(parsed, 1000) << "the mutations should mostly keep the header";
}

}  // namespace
}  // namespace orvix
