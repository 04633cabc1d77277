// The news check over the simulated machine: when it asks the server and
// when it shows the cached item instead, what the cache file holds after a
// check, the alternation of the cached items, a failed check, and the
// rotation after a click.
#include "online/news_check.h"

#include <gtest/gtest.h>

#include "native/rating_fixture.h"
#include "online/check_time.h"
#include "online_fakes.h"
#include "platform/profile_ini.h"

namespace orvix::testing {
namespace {

constexpr wchar_t kBase[] = L"C:\\Apps\\Orvix\\";
constexpr wchar_t kCache[] = L"C:\\Apps\\Orvix\\LatestNews\\LatestNews.ini";
constexpr wchar_t kOwnVersion[] = L"3.2.0.9";
const TNewsServer kServer{L"http://127.0.0.1:8080"};
const std::wstring kVersionUrl = L"http://127.0.0.1:8080/news/version-check.ini";
const std::wstring kUpdateUrl = L"http://127.0.0.1:8080/news/da3_update_free.ini";
const std::wstring kGeneralUrl = L"http://127.0.0.1:8080/news/da3_news_free.ini";

class TRecordingNewsView : public INewsView {
 public:
  void ShowNews(const TNewsItem& item) override { shown.push_back(item.Title + L" -> " + item.Link); }
  void ShowNoNews() override { shown.push_back(L"<no news>"); }
  void StartRotateTimer() override { ++timers; }

  std::vector<std::wstring> shown;
  int timers = 0;
};

class NewsCheckTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Machine().files.PutFolder(L"C:\\Apps\\Orvix");
    Machine().clock.SetNowUtc(FileTimeAt(2024, 5, 10, 12, 0, 0));
  }

  std::wstring Cached(const std::wstring& section, const std::wstring& key) {
    return ReadIniString(kCache, section, key, L"<missing>");
  }
  void Cache(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    ASSERT_TRUE(WriteIniString(kCache, section, key, value));
  }

  // A cache after a check at `lastUpdate` that announced `serverVersion`,
  // with items A and (when given a title) B.
  void PutCache(const std::wstring& lastUpdate, const std::wstring& serverVersion, const std::wstring& titleB = L"") {
    Machine().files.PutFolder(L"C:\\Apps\\Orvix\\LatestNews");
    Cache(L"checkupdatestime", L"Lastupdate", lastUpdate);
    Cache(L"LatestNews", L"ServerVersion", serverVersion);
    Cache(L"LatestNews", L"title", L"Item A");
    Cache(L"LatestNews", L"link", L"http://a.example/");
    Cache(L"LatestNews", L"title_B", titleB);
    Cache(L"LatestNews", L"link_B", L"http://b.example/");
  }

  void AnswerOnline(const std::string& versionAnswer) {
    http.Answer(kVersionUrl, 200, versionAnswer);
    http.Answer(kUpdateUrl, 200, "title=New version 3.3\r\nlink=http://update.example/\r\nremark=Faster\r\n");
    http.Answer(kGeneralUrl, 200, "\xEF\xBB\xBFTitle=Tips\nlink=http://tips.example/\nremark=Caf\xC3\xA9\nnday=3\n");
  }

  TLastNewsCheck Check() { return TLastNewsCheck(kBase, kOwnVersion, http, view, kServer); }

  TScriptedHttp http;
  TRecordingNewsView view;

};

TEST_F(NewsCheckTest, FirstStartChecksOnlineAndCreatesTheCache) {
  AnswerOnline("xb1=1.0|da3=3.3.0.0|");
  TLastNewsCheck check = Check();
  check.Execute();
  EXPECT_EQ(http.Requests(), (std::vector<std::wstring>{L"POST " + kVersionUrl, L"POST " + kUpdateUrl}));
  EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"New version 3.3 -> http://update.example/"}));
  EXPECT_EQ(Cached(L"checkupdatestime", L"Lastupdate"), L"05/10/2024 12:00:00");
  EXPECT_EQ(Cached(L"LatestNews", L"title"), L"New version 3.3");
  EXPECT_EQ(Cached(L"LatestNews", L"remark"), L"Faster");
  EXPECT_EQ(Cached(L"LatestNews", L"LastShowNews"), L"1");
  EXPECT_EQ(Cached(L"LatestNews", L"ServerVersion"), L"3.3.0.0");
}

TEST_F(NewsCheckTest, NoNewerVersionAsksForTheGeneralNews) {
  AnswerOnline("da3=3.2.0.9|");
  TLastNewsCheck check = Check();
  check.Execute();
  EXPECT_EQ(http.Requests().back(), L"POST " + kGeneralUrl);
  EXPECT_EQ(view.shown.back(), L"Tips -> http://tips.example/");
  EXPECT_EQ(Cached(L"LatestNews", L"remark"), L"Caf\u00E9");
  EXPECT_EQ(Cached(L"LatestNews", L"nday"), L"3");
  EXPECT_EQ(Cached(L"LatestNews", L"ServerVersion"), L"");
}

TEST_F(NewsCheckTest, CachedNewerVersionWaitsTwentyFourHours) {
  AnswerOnline("da3=3.3|");
  PutCache(L"05/09/2024 12:01:00", L"3.3");  // 23 hours 59 minutes ago
  Check().Execute();
  EXPECT_TRUE(http.Requests().empty());
  EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"Item A -> http://a.example/"}));

  PutCache(L"05/09/2024 12:00:00", L"3.3");  // 24 hours ago
  view.shown.clear();
  Check().Execute();
  EXPECT_EQ(http.Requests().size(), 2u);
  EXPECT_EQ(view.shown.front(), L"Item A -> http://a.example/") << "the cached item first, then the new one";
}

TEST_F(NewsCheckTest, CachedVersionNotNewerChecksAtEveryStart) {
  AnswerOnline("da3=3.2.0.9|");
  for (const wchar_t* cached : {kOwnVersion, L"3.1"}) {
    PutCache(L"05/10/2024 11:00:00", cached);
    const std::size_t before = http.Requests().size();
    Check().Execute();
    EXPECT_EQ(http.Requests().size(), before + 2) << cached;
  }
}

TEST_F(NewsCheckTest, CachedItemsAlternate) {
  PutCache(L"05/10/2024 11:00:00", L"3.3", L"Item B");
  TLastNewsCheck check = Check();
  std::vector<std::wstring> titles;
  for (int i = 0; i < 4; ++i) titles.push_back(check.PickCachedItem().Title);
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"Item A", L"Item B", L"Item A", L"Item B"}));

  Cache(L"LatestNews", L"title_B", L"");
  std::vector<std::wstring> marks;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(check.PickCachedItem().Title, L"Item A");
    marks.push_back(Cached(L"LatestNews", L"LastShowNews"));
  }
  EXPECT_EQ(marks, (std::vector<std::wstring>{L"1", L"2", L"1", L"2"}));
}

TEST_F(NewsCheckTest, FailedCheckShowsTheInvitationAndForgetsTheItem) {
  PutCache(L"05/01/2024 10:00:00", L"3.3");
  Check().Execute();  // nothing answers
  EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"Item A -> http://a.example/", L"<no news>"}));
  EXPECT_EQ(Cached(L"LatestNews", L"title"), L"");
  EXPECT_EQ(Cached(L"LatestNews", L"ServerVersion"), L"");
  EXPECT_EQ(Cached(L"checkupdatestime", L"Lastupdate"), L"05/01/2024 10:00:00") << "the next start checks again";

  http.Answer(kVersionUrl, 500, "");
  view.shown.clear();
  Check().Execute();
  EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"<no news>"}));
}

TEST_F(NewsCheckTest, EmptyNewsAnswerKeepsTheCacheAndCountsAsChecked) {
  PutCache(L"05/01/2024 10:00:00", L"");
  http.Answer(kVersionUrl, 200, "da3=3.2.0.9|");
  http.Answer(kGeneralUrl, 200, "");
  Check().Execute();
  EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"Item A -> http://a.example/"}));
  EXPECT_EQ(Cached(L"LatestNews", L"title"), L"Item A");
  EXPECT_EQ(Cached(L"checkupdatestime", L"Lastupdate"), L"05/10/2024 12:00:00");
}

TEST_F(NewsCheckTest, ReadOnlyCacheIsWrittenAllTheSame) {
  PutCache(L"05/10/2024 11:00:00", L"3.3", L"Item B");
  Machine().files.SetAttributes(kCache, FILE_ATTRIBUTE_READONLY);
  TLastNewsCheck check = Check();
  check.PickCachedItem();
  EXPECT_EQ(Cached(L"LatestNews", L"LastShowNews"), L"1");
}

TEST_F(NewsCheckTest, ClickSchedulesOneRotationToTheOtherItem) {
  PutCache(L"05/10/2024 11:00:00", L"3.3", L"Item B");
  TLastNewsCheck check = Check();
  check.Execute();  // shows A from the cache
  check.NewsClick();
  check.NewsClick();  // within the 5 seconds: no second rotation
  EXPECT_EQ(view.timers, 1);
  EXPECT_TRUE(check.RotatePending());
  check.RotateCachedNews();
  EXPECT_FALSE(check.RotatePending());
  EXPECT_EQ(view.shown.back(), L"Item B -> http://b.example/");
  check.NewsClick();
  EXPECT_EQ(view.timers, 2);
}

}  // namespace
}  // namespace orvix::testing
