// Reading UserAssist: ROT13 names, the two data layouts and their offsets,
// known-folder ids, shortcut targets and the kind prefixes.
#include <gtest/gtest.h>

#include <optional>

#include "inventory/rating.h"
#include "inventory/rating_user_assist.h"
#include "native/named_case.h"
#include "native/rating_fixture.h"
#include "native/shell_link_writer.h"
#include "native/test_text.h"

namespace orvix {
namespace {

using testing::DateAt;
using testing::FileTimeAt;
using testing::Narrow;
using testing::PutUserAssist;
using testing::PutUserAssistStart;
using testing::UserAssistData;

constexpr int kXp = 2;
constexpr int kNewer = kOsKindNewer;
constexpr const wchar_t* kProgramFilesX86Id = L"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}";
constexpr const wchar_t* kProgramFilesX64Id = L"{6D809377-6AF0-444B-8957-A3773F02200E}";
constexpr const wchar_t* kCommonProgramsId = L"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}";

TEST(Rot13, RotatesLettersOnlyAndUndoesItself) {
  EXPECT_EQ(Narrow(Rot13(L"HRZR_EHACNGU:P:\\Cebtenz Svyrf\\Sbb\\sbb.rkr")),
            "UEME_RUNPATH:C:\\Program Files\\Foo\\foo.exe");
  const std::wstring other = L"{7C5A40EF-0123}\\\u00FCber 9_%.lnk";
  EXPECT_EQ(Narrow(Rot13(other)), Narrow(L"{7P5N40RS-0123}\\\u00FCore 9_%.yax"));
  EXPECT_EQ(Rot13(Rot13(other)), other);
}

TEST(UserAssistOsKind, OlderLayoutUpToVista) {
  const struct {
    OsVersionInfo os;
    int kind;
  } cases[] = {
      {{5, 0, 2195, 4, false}, 1}, {sim::kWindowsXp, 2},   {{5, 2, 3790, 2, true}, 3},
      {{6, 0, 6002, 2, false}, 4}, {sim::kWindows7, 5},    {sim::kWindows10, 5},
      {{6, 3, 9600, 0, false}, 5}, {{11, 0, 1, 0, false}, 5},  // a name this program does not know yet
  };
  testing::CurrentSimMachine current;
  for (const auto& c : cases) {
    current.machine.system.SetOsVersion(c.os);
    EXPECT_EQ(UserAssistOsKind(), c.kind) << c.os.major << "." << c.os.minor;
  }
}

struct StartCase : testing::NamedCase {
  int osKind;
  Bytes data;
  std::optional<TDateTime> expected;
  std::int64_t utcOffsetMinutes = 0;
};

class UserAssistLastStartTest : public testing::SimMachineTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(UserAssistLastStartTest, ReadsTheTimeAtTheLayoutsOffset) {
  Machine().clock.SetUtcOffsetMinutes(GetParam().utcOffsetMinutes);
  const auto start = UserAssistLastStart(GetParam().data, GetParam().osKind);
  ASSERT_EQ(start.has_value(), GetParam().expected.has_value());
  if (start) {
    EXPECT_NEAR(*start, *GetParam().expected, 1e-9);
  }
}

const FILETIME64 kMorning = FileTimeAt(2024, 5, 20, 8, 30, 10);

INSTANTIATE_TEST_SUITE_P(
    Cases, UserAssistLastStartTest,
    ::testing::Values(
        StartCase{{"NewerAtSixty"}, kNewer, UserAssistData(kNewer, kMorning), DateAt(2024, 5, 20, 8, 30, 10)},
        StartCase{{"NewerCutAtSixtySeven"}, kNewer, UserAssistData(kNewer, kMorning, 67), std::nullopt},
        StartCase{{"NewerOfExactlySixtyEight"}, kNewer, UserAssistData(kNewer, kMorning, 68),
                  DateAt(2024, 5, 20, 8, 30, 10)},
        StartCase{{"OlderAtEight"}, kXp, UserAssistData(kXp, kMorning), DateAt(2024, 5, 20, 8, 30, 10)},
        StartCase{{"OlderCutAtFifteen"}, kXp, UserAssistData(kXp, kMorning, 15), std::nullopt},
        // The newer layout keeps other counters at 8: its time is not read there.
        StartCase{{"NewerIgnoresOffsetEight"}, kNewer, UserAssistData(kXp, kMorning, 72), std::nullopt},
        StartCase{{"OddSecondsRoundDown"}, kNewer, UserAssistData(kNewer, FileTimeAt(2024, 5, 20, 12, 0, 3) + 7000000),
                  DateAt(2024, 5, 20, 12, 0, 2)},
        StartCase{{"InLocalTime"}, kNewer, UserAssistData(kNewer, kMorning), DateAt(2024, 5, 20, 10, 30, 10), 120},
        StartCase{{"LocalTimeCrossesMidnight"}, kNewer, UserAssistData(kNewer, FileTimeAt(2024, 5, 20, 1, 0, 0)),
                  DateAt(2024, 5, 19, 20, 0, 0), -300},
        StartCase{{"NeverStarted"}, kNewer, UserAssistData(kNewer, 0), std::nullopt},
        StartCase{{"Before1980"}, kNewer, UserAssistData(kNewer, FileTimeAt(1979, 12, 31, 23, 59, 58)), std::nullopt},
        StartCase{{"FirstDosDay"}, kNewer, UserAssistData(kNewer, FileTimeAt(1980, 1, 1, 0, 0, 0)),
                  DateAt(1980, 1, 1, 0, 0, 0)},
        StartCase{{"After2107"}, kNewer, UserAssistData(kNewer, FileTimeAt(2108, 1, 1, 0, 0, 0)), std::nullopt},
        StartCase{{"GarbageTime"}, kNewer, UserAssistData(kNewer, ~FILETIME64{0}), std::nullopt}),
    testing::CaseName());

// Names as Windows 10 on a 64-bit machine records them, after ROT13.
struct FolderCase : testing::NamedCase {
  std::wstring valueName;
  std::wstring folder;
};

class UserAssistFolderTest : public testing::SimMachineTest, public ::testing::WithParamInterface<FolderCase> {
 protected:
  void SetUp() override {
    const std::wstring programs = Machine().shell.GetSpecialFolder(CSIDL_COMMON_PROGRAMS);
    Machine().files.PutFile(programs + L"\\Foo\\Foo.lnk",
                            testing::BuildShellLink({.localBasePath = "C:\\Program Files\\Foo\\foo.exe"}));
    Machine().files.PutFile(programs + L"\\Env.lnk",
                            testing::BuildShellLink({.environmentTarget = L"%ProgramFiles%\\Env\\env.exe"}));
    Machine().files.PutFile(programs + L"\\Broken.lnk", std::string_view("not a shortcut"));
    Machine().files.PutFolder(programs + L"\\Folder.lnk");
  }
};

TEST_P(UserAssistFolderTest, NamesTheProgramsFolder) {
  EXPECT_EQ(Narrow(UserAssistFolder(GetParam().valueName)), Narrow(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserAssistFolderTest,
    ::testing::Values(
        FolderCase{{"PlainPath"}, L"C:\\Tools\\run.exe", L"C:\\Tools\\"},
        FolderCase{{"RunPathPrefix"}, L"UEME_RUNPATH:C:\\Program Files\\Foo\\foo.exe", L"C:\\Program Files\\Foo\\"},
        FolderCase{{"PrefixesAreExactCase"}, L"ueme_runpath:C:\\Foo\\foo.exe", L"ueme_runpath:C:\\Foo\\"},
        FolderCase{{"ProgramFilesX86Id"}, std::wstring(kProgramFilesX86Id) + L"\\Bar\\bar.exe",
                   L"C:\\Program Files (x86)\\Bar\\"},
        FolderCase{{"IdInLowerCase"}, L"{7c5a40ef-a0fb-4bfc-874a-c0f2e0b9fa8e}\\Bar\\bar.exe",
                   L"C:\\Program Files (x86)\\Bar\\"},
        // Windows tells a 32-bit program no 64-bit Program Files; its environment does.
        FolderCase{{"ProgramFilesX64Id"}, std::wstring(kProgramFilesX64Id) + L"\\Baz\\baz.exe",
                   L"C:\\Program Files\\Baz\\"},
        FolderCase{{"SystemId"}, L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\notepad.exe", L"C:\\Windows\\system32\\"},
        FolderCase{{"UnknownId"}, L"{00000000-0000-0000-0000-000000000000}\\x.exe", L""},
        FolderCase{{"NotAnId"}, L"{Visual Studio}\\x.exe", L""},
        FolderCase{{"AppIdWithoutPath"}, L"Microsoft.Windows.Explorer", L""},
        FolderCase{{"SessionMarker"}, L"UEME_CTLSESSION", L""},
        FolderCase{{"ControlPanelItem"}, L"UEME_RUNCPL:desk.cpl", L""},
        FolderCase{{"ShortcutByKnownFolder"}, std::wstring(kCommonProgramsId) + L"\\Foo\\Foo.lnk",
                   L"C:\\Program Files\\Foo\\"},
        FolderCase{{"ShortcutExtensionAnyCase"}, std::wstring(kCommonProgramsId) + L"\\Foo\\Foo.LNK",
                   L"C:\\Program Files\\Foo\\"},
        FolderCase{{"ShortcutWithEnvironmentTarget"}, std::wstring(kCommonProgramsId) + L"\\Env.lnk",
                   L"C:\\Program Files (x86)\\Env\\"},
        FolderCase{{"ShortcutNotThere"}, std::wstring(kCommonProgramsId) + L"\\Gone.lnk", L""},
        FolderCase{{"ShortcutNotALink"}, std::wstring(kCommonProgramsId) + L"\\Broken.lnk", L""},
        FolderCase{{"ShortcutIsAFolder"}, std::wstring(kCommonProgramsId) + L"\\Folder.lnk", L""}),
    testing::CaseName());

TEST(UserAssistFolder, A32BitWindowsHasNo64BitProgramFiles) {
  sim::MachineOptions options = testing::MachineOf(sim::Bitness::x86);
  options.os = sim::kWindows7;
  testing::CurrentSimMachine current(options);
  EXPECT_EQ(Narrow(UserAssistFolder(std::wstring(kProgramFilesX64Id) + L"\\Baz\\baz.exe")), "");
  EXPECT_EQ(Narrow(UserAssistFolder(std::wstring(kProgramFilesX86Id) + L"\\Bar\\bar.exe")), "C:\\Program Files\\Bar\\");
}

// Whole keys through the rater: which keys each Windows reads, which values
// count, and how starts from one folder combine.
class UserAssistKeysTest : public testing::SimMachineTest {};

TEST_F(UserAssistKeysTest, Windows10ReadsBothNewerKeysAndSkipsWhatItCannotUse) {
  PutUserAssistStart(Registry(), kNewer, L"C:\\Foo\\foo.exe", FileTimeAt(2024, 3, 1));
  PutUserAssistStart(Registry(), kNewer, L"C:\\Foo\\helper.exe", FileTimeAt(2024, 3, 5));  // later start wins
  PutUserAssistStart(Registry(), kNewer, L"c:\\FOO\\old.exe", FileTimeAt(2024, 2, 1));     // same folder, any case
  PutUserAssist(Registry(), kNewer, 1, L"C:\\Bar\\bar.exe", UserAssistData(kNewer, FileTimeAt(2024, 4, 2)));
  PutUserAssist(Registry(), kNewer, 0, L"C:\\Short\\s.exe", UserAssistData(kNewer, FileTimeAt(2024, 4, 2), 67));
  PutUserAssist(Registry(), kNewer, 0, L"C:\\Empty\\e.exe", {});
  PutUserAssist(Registry(), kNewer, 0, L"UEME_CTLSESSION", UserAssistData(kNewer, 0));
  // The older layout's keys are not read on this Windows.
  PutUserAssistStart(Registry(), kXp, L"UEME_RUNPATH:C:\\Old\\old.exe", FileTimeAt(2024, 4, 2));

  const TAppRateHelper rater;
  EXPECT_EQ(rater.OsKind(), kNewer);
  ASSERT_EQ(rater.UseInfos().size(), 2u);
  EXPECT_EQ(Narrow(rater.UseInfos()[0].Folder), "C:\\Foo\\");
  EXPECT_NEAR(rater.UseInfos()[0].LastUse, DateAt(2024, 3, 5), 1e-9);
  EXPECT_EQ(Narrow(rater.UseInfos()[1].Folder), "C:\\Bar\\");
  EXPECT_NEAR(rater.UseInfos()[1].LastUse, DateAt(2024, 4, 2), 1e-9);
}

class UserAssistXpTest : public testing::SimMachineTest {
 protected:
  UserAssistXpTest() : SimMachineTest([] {
    sim::MachineOptions options = testing::MachineOf(sim::Bitness::x86);
    options.os = sim::kWindowsXp;
    return options;
  }()) {}
};

TEST_F(UserAssistXpTest, ReadsTheOlderKeysAtOffsetEight) {
  PutUserAssist(Registry(), kXp, 0, L"UEME_RUNPATH:C:\\Program Files\\Foo\\foo.exe",
                UserAssistData(kXp, FileTimeAt(2024, 3, 1)));
  PutUserAssist(Registry(), kXp, 1, L"UEME_RUNPIDL:C:\\Program Files\\Bar\\bar.exe",
                UserAssistData(kXp, FileTimeAt(2024, 3, 2)));
  PutUserAssist(Registry(), kXp, 0, L"UEME_RUNPATH:C:\\Cut\\c.exe", UserAssistData(kXp, FileTimeAt(2024, 3, 1), 15));
  PutUserAssist(Registry(), kXp, 0, L"UEME_CTLSESSION", UserAssistData(kXp, FileTimeAt(2024, 3, 1)));
  // Known-folder ids mean nothing before Vista.
  PutUserAssistStart(Registry(), kXp, std::wstring(kProgramFilesX86Id) + L"\\Baz\\baz.exe", FileTimeAt(2024, 3, 1));
  PutUserAssistStart(Registry(), kNewer, L"C:\\New\\new.exe", FileTimeAt(2024, 3, 1));

  const TAppRateHelper rater;
  EXPECT_EQ(rater.OsKind(), kXp);
  ASSERT_EQ(rater.UseInfos().size(), 2u);
  EXPECT_EQ(Narrow(rater.UseInfos()[0].Folder), "C:\\Program Files\\Foo\\");
  EXPECT_EQ(Narrow(rater.UseInfos()[1].Folder), "C:\\Program Files\\Bar\\");
  EXPECT_NEAR(rater.UseInfos()[1].LastUse, DateAt(2024, 3, 2), 1e-9);
}

}  // namespace
}  // namespace orvix
