// The weekly score database download and the updater launch over the
// simulated machine: the due test with its date written before the
// download, the checked replace that keeps the old database when the new
// one is broken, and the updater started only when everything is there.
#include "online/score_db_download.h"

#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "native/rating_fixture.h"
#include "online/score_db_helper.h"
#include "online/updater_launch.h"
#include "online_fakes.h"
#include "platform/settings.h"

namespace orvix::testing {
namespace {

const std::wstring kEntry32 =
    L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixUninstall";
const std::wstring kDatabase = L"C:\\Apps\\Orvix\\AddonScores.dat";
const std::wstring kTemp = L"C:\\Apps\\Orvix\\AddonScores.tmp";
const TScoreDbServer kServer{L"http://127.0.0.1:8080"};
const std::wstring kUrl = L"http://127.0.0.1:8080/uninstaller3/AddonScores.dat";

Bytes Database(const std::string& text, const std::wstring& password = kArchivePassword) {
  return BuildZlbArchive({SourceFile("", "AddonScores.dat", Bytes(text.begin(), text.end()))}, {2, true, password});
}

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class ScoreDbDownloadTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Machine().files.PutFolder(L"C:\\Apps\\Orvix");
    Registry().PutString(kEntry32, L"InstallLocation", L"C:\\Apps\\Orvix\\OrvixUninstaller.exe");
    Machine().clock.SetNowUtc(FileTimeAt(2024, 5, 10, 12, 0, 0));
    Machine().files.PutFile(kDatabase, Database("Old,1"));
  }

  std::string InstalledText() {
    TScoreDBHelper helper;
    return helper.Load() && !helper.Entries.empty() ? ToUtf8(helper.Entries[0]) : "<unloaded>";
  }

  TScriptedHttp http;
};

TEST(ScoreDbDue, AfterMoreThanSixWholeDays) {
  const TDateTime now = DateAt(2024, 5, 10, 12, 0, 0);
  EXPECT_EQ(IsScoreDatabaseDue(L"", now), true);
  EXPECT_EQ(IsScoreDatabaseDue(L"05/03/2024 13:00:00", now), false) << "6 days 23 hours";
  EXPECT_EQ(IsScoreDatabaseDue(L"05/03/2024 12:00:00", now), true) << "7 days";
  EXPECT_EQ(IsScoreDatabaseDue(L"last week", now), std::nullopt);
}

TEST_F(ScoreDbDownloadTest, SoundDownloadReplacesTheDatabaseAndMovesTheDate) {
  http.Answer(kUrl, 200, Text(Database("New,4")));
  EXPECT_EQ(UpdateScoreDatabase(http, kServer), TScoreDbUpdate::Replaced);
  EXPECT_EQ(http.Requests(), (std::vector<std::wstring>{L"GET " + kUrl}));
  EXPECT_EQ(InstalledText(), "New");
  EXPECT_FALSE(Machine().files.Exists(kTemp));
  EXPECT_EQ(ReadUpdateDataBaseDate(), L"05/10/2024 12:00:00");
  EXPECT_EQ(UpdateScoreDatabase(http, kServer), TScoreDbUpdate::NotDue);
  EXPECT_EQ(http.Requests().size(), 1u);
}

TEST_F(ScoreDbDownloadTest, BrokenOrFailedDownloadKeepsTheOldDatabase) {
  Bytes truncated = Database("New,4");
  truncated.resize(truncated.size() - 1);
  const struct {
    const char* name;
    int status;
    std::string body;
    TScoreDbUpdate result;
  } cases[] = {
      {"no answer", 0, "", TScoreDbUpdate::DownloadFailed},
      {"server error", 404, "Not found", TScoreDbUpdate::DownloadFailed},
      {"an error page", 200, "<html>Not found</html>", TScoreDbUpdate::Rejected},
      {"cut short", 200, Text(truncated), TScoreDbUpdate::Rejected},
      {"another password", 200, Text(Database("New,4", L"other")), TScoreDbUpdate::Rejected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteUpdateDataBaseDate(L"");
    http.Answer(kUrl, c.status, c.body);
    EXPECT_EQ(UpdateScoreDatabase(http, kServer), c.result);
    EXPECT_EQ(InstalledText(), "Old");
    EXPECT_FALSE(Machine().files.Exists(kTemp));
    EXPECT_EQ(ReadUpdateDataBaseDate(), L"05/10/2024 12:00:00") << "moved before the download";
  }
}

TEST_F(ScoreDbDownloadTest, MalformedDateOrNoInstallationTouchesNothing) {
  WriteUpdateDataBaseDate(L"someday");
  EXPECT_EQ(UpdateScoreDatabase(http, kServer), TScoreDbUpdate::MalformedDate);
  EXPECT_EQ(ReadUpdateDataBaseDate(), L"someday");
  WriteUpdateDataBaseDate(L"");
  Registry().RemoveKey(kEntry32);
  EXPECT_EQ(UpdateScoreDatabase(http, kServer), TScoreDbUpdate::NoInstallFolder);
  EXPECT_TRUE(http.Requests().empty());
}

TEST_F(ScoreDbDownloadTest, WorkerReportsWhenDone) {
  http.Answer(kUrl, 200, Text(Database("New,4")));
  TScoreDbUpdate result = TScoreDbUpdate::NotDue;
  { TDownLoadUpdateDataBase worker(http, [&](TScoreDbUpdate r) { result = r; }, kServer); }
  EXPECT_EQ(result, TScoreDbUpdate::Replaced);
}

class UpdaterLaunchTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Orvix\\Vantrel", L"AppPath", L"C:\\Apps\\Up\\Updater.exe");
    Registry().PutString(kEntry32, L"InstallLocation", L"C:\\Apps\\Orvix\\OrvixUninstaller.exe");
    Machine().files.PutFile(L"C:\\Apps\\Up\\Updater.exe", std::string_view("MZ"));
  }
};

TEST_F(UpdaterLaunchTest, StartsTheRegisteredUpdaterWithItsCommandLine) {
  EXPECT_TRUE(LaunchUpdater(TUpdaterMode::Manual, L"English"));
  const auto requests = Machine().shell.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, L"open");
  EXPECT_EQ(requests[0].file, L"C:\\Apps\\Up\\Updater.exe");
  EXPECT_EQ(requests[0].parameters, L"/appupt /manual /product uninstaller /fn \"C:\\Apps\\Orvix\\OrvixUninstaller.exe\""
                                    L" /location \"C:\\Apps\\Orvix\\\" /language English");
  EXPECT_EQ(requests[0].show, 1);
}

TEST_F(UpdaterLaunchTest, NothingStartsWhenAPartIsMissing) {
  Machine().files.Remove(L"C:\\Apps\\Up\\Updater.exe");
  EXPECT_FALSE(LaunchUpdater(TUpdaterMode::Auto, L"English"));
  Machine().files.PutFile(L"C:\\Apps\\Up\\Updater.exe", std::string_view("MZ"));
  Registry().RemoveKey(kEntry32);
  EXPECT_FALSE(LaunchUpdater(TUpdaterMode::Auto, L"English"));
  Registry().PutString(kEntry32, L"InstallLocation", L"C:\\Apps\\Orvix\\OrvixUninstaller.exe");
  Registry().RemoveKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Orvix\\Vantrel");
  EXPECT_FALSE(LaunchUpdater(TUpdaterMode::Auto, L"English"));
  EXPECT_TRUE(Machine().shell.Requests().empty());
}

}  // namespace
}  // namespace orvix::testing
