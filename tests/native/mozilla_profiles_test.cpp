#include "addons/mozilla_profiles.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

using Folders = std::vector<std::wstring>;
constexpr wchar_t kMozilla[] = L"C:\\Roaming\\Mozilla\\Firefox\\";

struct ProfilesCase : testing::NamedCase {
  const wchar_t* ini;
  Folders expected;
};

class MozillaProfileCandidatesTest : public ::testing::TestWithParam<ProfilesCase> {};

TEST_P(MozillaProfileCandidatesTest, OrdersTheProfilesAsFirefoxPrefersThem) {
  EXPECT_EQ(MozillaProfileCandidates(GetParam().ini, kMozilla), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ProfilesIni, MozillaProfileCandidatesTest,
    ::testing::Values(
        ProfilesCase{{"RelativeProfile0WithSlashes"},
                     L"[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/ab12.default\r\n",
                     {L"C:\\Roaming\\Mozilla\\Firefox\\Profiles\\ab12.default\\"}},
        ProfilesCase{{"AbsolutePathInAnyLetterCase"},
                     L"[Profile0]\nIsRelative=0\nPATH=D:\\Profiles\\mine\\\n",
                     {L"D:\\Profiles\\mine\\"}},
        // Firefox 67 and later: the installation's section names the profile
        // it starts with, ahead of the older Default=1 mark and of Profile0.
        ProfilesCase{{"InstallSectionFirstThenDefaultThenProfile0"},
                     L"[Profile1]\nName=old\nIsRelative=1\nPath=Profiles/old.default\nDefault=1\n\n"
                     L"[Profile0]\nName=default-release\nIsRelative=1\nPath=Profiles/new.default-release\n\n"
                     L"[Profile2]\nName=other\nIsRelative=0\nPath=E:\\ff\n\n"
                     L"[Install308046B0AF4A39CB]\nDefault=Profiles/new.default-release\nLocked=1\n\n"
                     L"[General]\nStartWithLastProfile=1\nVersion=2\n",
                     {L"C:\\Roaming\\Mozilla\\Firefox\\Profiles\\new.default-release\\",
                      L"C:\\Roaming\\Mozilla\\Firefox\\Profiles\\old.default\\", L"E:\\ff\\"}},
        ProfilesCase{{"DefaultMarkAheadOfProfile0"},
                     L"[Profile0]\nIsRelative=1\nPath=a\n[Profile1]\nIsRelative=1\nPath=b\nDefault=1\n",
                     {L"C:\\Roaming\\Mozilla\\Firefox\\b\\", L"C:\\Roaming\\Mozilla\\Firefox\\a\\"}},
        ProfilesCase{{"InstallPathNoSectionGivesIsRelativeUnlessAbsolute"},
                     L"[InstallA]\nDefault=Profiles/x\n[InstallB]\nDefault=F:\\y\n",
                     {L"C:\\Roaming\\Mozilla\\Firefox\\Profiles\\x\\", L"F:\\y\\"}},
        ProfilesCase{{"SectionsWithoutPathAndOtherSectionsAreIgnored"},
                     L"[General]\nPath=nothing\n[Profile0]\nName=empty\n[BackgroundTasksProfiles]\nPath=z\n", {}}),
    testing::CaseName{});

TEST(MozillaProfileTest, TakesTheFirstCandidateWhoseFolderExists) {
  sim::SimMachine machine;
  ScopedPlatform scope{machine};
  EXPECT_EQ(FindMozillaProfile(kMozilla), L"");  // no profiles.ini
  machine.files.PutFile(std::wstring(kMozilla) + L"profiles.ini",
                        "[Install1]\r\nDefault=Profiles/gone\r\n[Profile0]\r\nIsRelative=1\r\nPath=Profiles/here\r\n");
  EXPECT_EQ(FindMozillaProfile(kMozilla), L"");  // neither folder exists
  machine.files.PutFolder(std::wstring(kMozilla) + L"Profiles\\here");
  EXPECT_EQ(FindMozillaProfile(kMozilla), std::wstring(kMozilla) + L"Profiles\\here\\");
}

}  // namespace
}  // namespace orvix
