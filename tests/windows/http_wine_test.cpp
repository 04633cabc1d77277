// The WinHTTP client and the online services over it, under Wine, against a
// real HTTP server on 127.0.0.1: answers and status codes, the form POST,
// a server that never answers (the time-out ends the request), the news
// check writing its cache, and the score database download replacing the
// installed database only with a sound one.
#include <gtest/gtest.h>

#include <chrono>

#include "formats/zlb_writer.h"
#include "loopback_http_server.h"
#include "online/news_check.h"
#include "online/score_db_download.h"
#include "online/score_db_helper.h"
#include "platform/file_helpers.h"
#include "platform/profile_ini.h"
#include "platform/settings.h"
#include "platform/win32/win32_http_client.h"
#include "raw_registry.h"
#include "test_files.h"

namespace orvix {
namespace {

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class HttpWineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(server.Port(), 0) << "no loopback server"; }

  test::LoopbackHttpServer server;
  win32::Win32HttpClient http;
};

TEST_F(HttpWineTest, AnswersAndStatusCodes) {
  server.Serve("/a.txt", 200, "hello");
  server.Serve("/gone", 404, "not here");
  const HttpResponse ok = http.Get(server.Url("/a.txt"));
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(Text(ok.body), "hello");
  EXPECT_EQ(http.Get(server.Url("/gone")).status, 404);
  EXPECT_EQ(http.Get(server.Url("/a.txt?x=1")).status, 404) << "the query is part of the request";
}

TEST_F(HttpWineTest, FormPostCarriesItsContentType) {
  server.Serve("/news/version-check.ini", 200, "da3=3.3|");
  EXPECT_EQ(Text(http.PostForm(server.Url("/news/version-check.ini"), "").body), "da3=3.3|");
  EXPECT_EQ(http.PostForm(server.Url("/news/version-check.ini"), "name=a&score=4").status, 200);
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{
                                   "POST /news/version-check.ini application/x-www-form-urlencoded 0",
                                   "POST /news/version-check.ini application/x-www-form-urlencoded 14"}));
}

TEST_F(HttpWineTest, ServerThatNeverAnswersEndsInTheTimeOut) {
  server.Hang("/news/version-check.ini");
  win32::HttpLimits limits;
  limits.receiveMs = 1000;
  limits.totalMs = 2000;
  win32::Win32HttpClient quick(limits);
  const auto start = std::chrono::steady_clock::now();
  const HttpResponse response = quick.PostForm(server.Url("/news/version-check.ini"), "");
  EXPECT_EQ(response.status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << "the request was not held";
}

TEST_F(HttpWineTest, NoServerIsNoAnswer) {
  const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(server.Port() == 1 ? 2 : 1) + L"/x";
  EXPECT_EQ(http.Get(url).status, 0);
  EXPECT_EQ(http.Get(L"not a url").status, 0);
}

class TNewsLog : public INewsView {
 public:
  void ShowNews(const TNewsItem& item) override { shown.push_back(item.Title); }
  void ShowNoNews() override { shown.push_back(L"<no news>"); }
  void StartRotateTimer() override {}
  std::vector<std::wstring> shown;
};

TEST_F(HttpWineTest, NewsCheckWritesItsCache) {
  test::ScratchFolder folder;
  server.Serve("/news/version-check.ini", 200, "xb1=2.0|da3=99.0|");
  server.Serve("/news/da3_update_free.ini", 200, "title=Version 99\r\nlink=http://example.com/\r\n");
  TNewsLog view;
  TLastNewsCheck check(folder.Path(), L"1.0.0.0", http, view, TNewsServer{server.Url("")});
  check.Execute();
  EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"Version 99"}));
  const std::wstring cache = folder / L"LatestNews\\LatestNews.ini";
  EXPECT_EQ(ReadIniString(cache, L"LatestNews", L"title", L""), L"Version 99");
  EXPECT_EQ(ReadIniString(cache, L"LatestNews", L"ServerVersion", L""), L"99.0");
  EXPECT_FALSE(ReadIniString(cache, L"checkupdatestime", L"Lastupdate", L"").empty());
}

TEST_F(HttpWineTest, ScoreDatabaseDownloadReplacesOnlyWithASoundArchive) {
  test::ScratchFolder folder;
  const std::wstring key = L"HKEY_LOCAL_MACHINE" + std::wstring(kOwnUninstallKey);
  ASSERT_TRUE(test::RawCreateKey(key, test::kView32));
  ASSERT_TRUE(test::RawSetString(key, L"InstallLocation", folder / L"OrvixUninstaller.exe", test::kView32));
  const auto database = [](const std::string& text) {
    return Text(BuildZlbArchive({{"", "AddonScores.dat", Bytes(text.begin(), text.end()), kZlbEncipheredDeflated}},
                                {2, true, kScoreDatabasePassword}));
  };
  ASSERT_TRUE(test::WriteTestFile(folder / L"AddonScores.dat", database("Old,1")));
  const TScoreDbServer scores{server.Url("")};

  server.Serve("/uninstaller3/AddonScores.dat", 200, "<html>error page</html>");
  WriteUpdateDataBaseDate(L"");
  EXPECT_EQ(UpdateScoreDatabase(http, scores), TScoreDbUpdate::Rejected);
  TScoreDBHelper helper;
  ASSERT_TRUE(helper.Load());
  EXPECT_EQ(helper.Lookup(L"old").Score, 1);

  server.Serve("/uninstaller3/AddonScores.dat", 200, database("New,4"));
  WriteUpdateDataBaseDate(L"");
  EXPECT_EQ(UpdateScoreDatabase(http, scores), TScoreDbUpdate::Replaced);
  ASSERT_TRUE(helper.Load());
  EXPECT_EQ(helper.Lookup(L"new").Score, 4);
  EXPECT_FALSE(FileExists(folder / L"AddonScores.tmp"));
  test::RawDeleteTree(key, test::kView32);
}

}  // namespace
}  // namespace orvix
