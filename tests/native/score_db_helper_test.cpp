// The add-on score database: where it is looked for, how its text splits
// into names and scores, and what a lookup gives for found, unscored and
// missing names, with databases made by our archive writer.
#include "online/score_db_helper.h"

#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "named_case.h"

namespace orvix::testing {
namespace {

const std::wstring kEntry32 =
    L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixUninstall";
constexpr wchar_t kInstalled[] = L"C:\\Apps\\Orvix\\";

class ScoreDbHelperTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Machine().files.PutFolder(L"C:\\Apps\\Orvix");
    Registry().PutString(kEntry32, L"InstallLocation", L"C:\\Apps\\Orvix\\OrvixUninstaller.exe");
  }

  void PutDatabase(const std::string& text, const std::wstring& password = kArchivePassword) {
    const Bytes bytes = BuildZlbArchive({SourceFile("", "AddonScores.dat", Bytes(text.begin(), text.end()))},
                                        {2, true, password});
    Machine().files.PutFile(std::wstring(kInstalled) + kScoreDatabaseFileName, bytes);
  }
};

TEST_F(ScoreDbHelperTest, FolderComesFromTheOwnUninstallEntryWhenItExists) {
  EXPECT_EQ(TScoreDBHelper::GetFolder(), kInstalled);
  const std::wstring running = Machine().shell.GetModuleFileName();
  const std::wstring runningFolder = running.substr(0, running.rfind(L'\\') + 1);
  Registry().PutString(kEntry32, L"InstallLocation", L"C:\\Gone\\OrvixUninstaller.exe");
  EXPECT_EQ(TScoreDBHelper::GetFolder(), runningFolder);
  Registry().RemoveKey(kEntry32);
  EXPECT_EQ(TScoreDBHelper::GetFolder(), runningFolder);
}

TEST_F(ScoreDbHelperTest, LookupGivesScoresByNameIgnoringCase) {
  PutDatabase("Alpha Toolbar,1\r\nBeta Helper,4\r\nGamma,many\r\nDelta");
  TScoreDBHelper helper;
  ASSERT_TRUE(helper.Load());
  EXPECT_TRUE(helper.Loaded);
  const struct {
    const wchar_t* name;
    const wchar_t* marker;
    int score;
  } cases[] = {{L"alpha toolbar", L"ID", 1}, {L"BETA HELPER", L"ID", 4}, {L"Gamma", L"ID", 2},
               {L"Delta", L"ID", 0},         {L"Epsilon", L"", 0}};
  for (const auto& c : cases) {
    const TScore score = helper.Lookup(c.name);
    EXPECT_EQ(score.Marker, c.marker) << c.name;
    EXPECT_EQ(score.Score, c.score) << c.name;
    EXPECT_EQ(score.Name, score.Marker.empty() ? L"" : c.name);
  }
}

TEST_F(ScoreDbHelperTest, MissingOrBrokenDatabaseLeavesItUnloaded) {
  TScoreDBHelper helper;
  EXPECT_FALSE(helper.Load()) << "no file";
  PutDatabase("Alpha,1", L"another password");
  EXPECT_FALSE(helper.Load());
  EXPECT_FALSE(helper.Loaded);
  Machine().files.PutFile(std::wstring(kInstalled) + kScoreDatabaseFileName, std::string_view("not an archive"));
  EXPECT_FALSE(helper.Load());
  EXPECT_TRUE(helper.Lookup(L"Alpha").Marker.empty());
}

struct TokenCase : NamedCase {
  const wchar_t* text;
  std::vector<std::wstring> tokens;
};

class ScoreTokenTest : public ::testing::TestWithParam<TokenCase> {};

TEST_P(ScoreTokenTest, Splits) { EXPECT_EQ(SplitScoreTokens(GetParam().text), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Texts, ScoreTokenTest,
    ::testing::Values(TokenCase{{"Lines"}, L"A,1\r\nB,4\r\n", {L"A", L"1", L"B", L"4"}},
                      TokenCase{{"BlanksAndEmptyTokens"}, L"  A , 1,,\n\n ,B", {L"A", L"1", L"B"}},
                      TokenCase{{"QuotedKeepsSeparators"}, L"\"A, Inc.\",3", {L"\"A, Inc.\"", L"3"}},
                      TokenCase{{"SingleQuotes"}, L"'x\ny',2", {L"'x\ny'", L"2"}},
                      TokenCase{{"UnclosedQuote"}, L"\"A,1", {L"\"A,1"}},
                      TokenCase{{"Empty"}, L"", {}}),
    CaseName());

}  // namespace
}  // namespace orvix::testing
