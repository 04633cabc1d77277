// Archives from outside are checked before they are trusted: a footer, table
// or entry record whose sizes, counts or offsets do not fit the file is
// refused with the reader's error texts before anything is allocated or read
// for it, and a stored name never leads out of the folder it is placed in.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "archive_fixture.h"
#include "formats/zlb_format.h"
#include "named_case.h"
#include "platform/zlb_archive.h"

namespace orvix::testing {
namespace {

constexpr wchar_t kPath[] = L"C:\\hostile.dat";
constexpr std::size_t kContent = 100;

// Where the parts of the sample archive lie: one stored entry of kContent
// bytes, its record in a stored version-2 table, then the footer.
struct Layout {
  Bytes bytes;
  std::size_t record = kContent;
  std::size_t footer = kContent + kZlbRecordSizeV2;
};

template <typename T>
void Poke(Bytes& bytes, std::size_t at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);  // little-endian hosts only, as the tests run
}

struct HostileCase : NamedCase {
  std::function<void(Layout&)> mutate;
  const wchar_t* openError;     // "" when the archive opens
  const wchar_t* extractError;  // when it opened
};

class ZlbHostileTest : public SimMachineTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(ZlbHostileTest, IsRefusedWithItsText) {
  Layout layout;
  layout.bytes = BuildZlbArchive({SourceFile("", "a.txt", SampleContent(kContent), kZlbStored)}, {2, false, L""});
  ASSERT_EQ(layout.bytes.size(), layout.footer + kZlbFooterSize);
  GetParam().mutate(layout);
  // A sound CRC, so that the checks behind it are the ones met.
  if (layout.bytes.size() == layout.footer + kZlbFooterSize)
    Poke<std::uint32_t>(layout.bytes, layout.footer + 8, Crc32(0, layout.bytes.data(), layout.footer));
  Machine().files.PutFile(kPath, layout.bytes);

  TZLBArc2 archive;
  std::wstring error;
  try {
    archive.Open(kPath);
    TMemoryStream target;
    archive.ExtractEntry(0, target);
  } catch (const EArchiveError& e) {
    error = e.Message();
  }
  EXPECT_EQ(error, archive.IsOpen() ? GetParam().extractError : GetParam().openError);
  EXPECT_EQ(archive.IsOpen(), std::wstring(GetParam().openError).empty());
}

constexpr wchar_t kCorrupted[] = L"The archive appears to be corrupted";
constexpr wchar_t kTable[] = L"Error reading registry";

void FooterField(Layout& l, std::size_t at, std::int32_t value) { Poke(l.bytes, l.footer + at, value); }
void RecordField64(Layout& l, std::size_t at, std::int64_t value) { Poke(l.bytes, l.record + at, value); }

INSTANTIATE_TEST_SUITE_P(
    Archives, ZlbHostileTest,
    ::testing::Values(
        HostileCase{{"Sound"}, [](Layout&) {}, L"", L""},
        HostileCase{{"HugeCount"}, [](Layout& l) { FooterField(l, 12, 0x7FFFFFFF); }, kTable, L""},
        HostileCase{{"CountBeyondTable"}, [](Layout& l) { FooterField(l, 12, 2); }, kTable, L""},
        HostileCase{{"NegativeCount"}, [](Layout& l) { FooterField(l, 12, -1); }, kCorrupted, L""},
        HostileCase{{"HugeCountOfCompressedTable"},
                    [](Layout& l) {
                      FooterField(l, 12, 4000000);
                      l.bytes[l.footer + 24] = 1;
                    },
                    kTable, L""},
        HostileCase{{"TableNotZlib"}, [](Layout& l) { l.bytes[l.footer + 24] = 1; }, kTable, L""},
        HostileCase{{"TableBeyondFile"}, [](Layout& l) { FooterField(l, 20, 0x7FFFFFF0); }, kCorrupted, L""},
        HostileCase{{"NegativeTableSize"}, [](Layout& l) { FooterField(l, 20, -550); }, kCorrupted, L""},
        HostileCase{{"NegativeDataSize"}, [](Layout& l) { Poke<std::int64_t>(l.bytes, l.footer, -1); }, kCorrupted,
                    L""},
        HostileCase{{"DataBeyondFile"}, [](Layout& l) { Poke<std::int64_t>(l.bytes, l.footer, 1LL << 60); },
                    kCorrupted, L""},
        HostileCase{{"EntryOffsetNegative"}, [](Layout& l) { RecordField64(l, 536, -5); }, L"", kCorrupted},
        HostileCase{{"EntryOffsetPastData"}, [](Layout& l) { RecordField64(l, 536, kContent + 1); }, L"", kCorrupted},
        HostileCase{{"EntrySizePastData"}, [](Layout& l) { RecordField64(l, 512, kContent + 1); }, L"", kCorrupted},
        HostileCase{{"EntrySizeNegative"}, [](Layout& l) { RecordField64(l, 512, -1); }, L"", kCorrupted},
        HostileCase{{"DeflatedSizeBeyondAnyRatio"},
                    [](Layout& l) {
                      RecordField64(l, 512, 1LL << 40);
                      l.bytes[l.record + 548] = kZlbDeflated;
                    },
                    L"", kCorrupted},
        HostileCase{{"DeflatedNotZlib"}, [](Layout& l) { l.bytes[l.record + 548] = kZlbDeflated; }, L"", kCorrupted},
        HostileCase{{"EncipheredSizeTooSmall"},
                    [](Layout& l) {
                      l.bytes[l.record + 548] = kZlbEncipheredStored;
                      RecordField64(l, 528, 23);
                    },
                    L"", kCorrupted},
        HostileCase{{"EncipheredSizePastData"},
                    [](Layout& l) {
                      l.bytes[l.record + 548] = kZlbEncipheredStored;
                      RecordField64(l, 528, kContent + 1);
                    },
                    L"", kCorrupted},
        HostileCase{{"ShortFile"}, [](Layout& l) { l.bytes.resize(20); }, kCorrupted, L""}),
    CaseName());

struct NameCase : NamedCase {
  const wchar_t* stored;
  const wchar_t* target;  // nullptr when refused
};

class ArchiveNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ArchiveNameTest, StaysInsideTheFolder) {
  const auto path = ArchiveEntryTargetPath(L"C:\\Program Files\\Orvix", GetParam().stored);
  if (GetParam().target == nullptr)
    EXPECT_FALSE(path.has_value()) << *path;
  else
    EXPECT_EQ(path.value_or(L"<refused>"), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ArchiveNameTest,
    ::testing::Values(NameCase{{"Plain"}, L"German.lng", L"C:\\Program Files\\Orvix\\German.lng"},
                      NameCase{{"InAFolder"}, L"Language\\German.lng", L"C:\\Program Files\\Orvix\\Language\\German.lng"},
                      NameCase{{"ForwardSlash"}, L"Help/img/a.png", L"C:\\Program Files\\Orvix\\Help\\img\\a.png"},
                      NameCase{{"DotsInAName"}, L"a..b.txt", L"C:\\Program Files\\Orvix\\a..b.txt"},
                      NameCase{{"ParentFolder"}, L"..\\evil.exe", nullptr},
                      NameCase{{"ParentInside"}, L"Help\\..\\..\\evil.exe", nullptr},
                      NameCase{{"ParentBySlash"}, L"Help/../../evil.exe", nullptr},
                      NameCase{{"CurrentFolder"}, L".\\a.txt", nullptr},
                      NameCase{{"Drive"}, L"C:\\Windows\\evil.dll", nullptr},
                      NameCase{{"DriveRelative"}, L"D:evil.dll", nullptr},
                      NameCase{{"Rooted"}, L"\\Windows\\evil.dll", nullptr},
                      NameCase{{"Unc"}, L"\\\\server\\share\\x", nullptr},
                      NameCase{{"Device"}, L"CON", nullptr},
                      NameCase{{"DeviceWithExtension"}, L"Help\\nul.txt", nullptr},
                      NameCase{{"NumberedDevice"}, L"lpt1", nullptr},
                      NameCase{{"DeviceWithBlank"}, L"aux .txt", nullptr},
                      NameCase{{"NotADevice"}, L"COM10", L"C:\\Program Files\\Orvix\\COM10"},
                      NameCase{{"Stream"}, L"a.txt:hidden", nullptr},
                      NameCase{{"TrailingDot"}, L"evil.", nullptr},
                      NameCase{{"TrailingBlank"}, L"Help \\a.txt", nullptr},
                      NameCase{{"EmptyPart"}, L"Help\\\\a.txt", nullptr},
                      NameCase{{"TrailingSeparator"}, L"Help\\", nullptr},
                      NameCase{{"Wildcard"}, L"a*.txt", nullptr},
                      NameCase{{"ControlCharacter"}, L"a\x01.txt", nullptr},
                      NameCase{{"Empty"}, L"", nullptr}),
    CaseName());

}  // namespace
}  // namespace orvix::testing
