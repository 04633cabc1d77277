// The news and version check (TLastNewsCheck): once a day while the cache
// announces a newer version, and at every start otherwise, it asks the news
// server for the newest version and a news item, caches them in
// "LatestNews\LatestNews.ini" under the installation folder and has the main
// window show the item, or the invitation text when there is none. Between
// checks the cached items A and B are shown in turn.
//
// The main window creates it with its view (the news labels) and runs
// Execute on a worker thread; the view hands ShowNews and ShowNoNews over to
// the UI thread. The requests go through the platform's HTTP client, whose
// every request has a time-out.
#pragma once

#include <string>

#include "platform/date_time.h"
#include "platform/http_api.h"

namespace orvix {

inline constexpr wchar_t kNewsProductCode[] = L"da3";

struct TNewsItem {
  std::wstring Title;
  std::wstring Link;
  std::wstring Remark;
  std::wstring ImageFileName;  // always empty in this program
};

// The news server: the version-check file's path is fixed, the two news
// files of this product (free edition) are ours.
struct TNewsServer {
  std::wstring BaseUrl = L"https://news.orvix.example";
  std::wstring VersionCheckPath = L"/news/version-check.ini";
  std::wstring UpdateNewsPath = L"/news/da3_update_free.ini";
  std::wstring GeneralNewsPath = L"/news/da3_news_free.ini";
};

class INewsView {
 public:
  virtual ~INewsView() = default;
  // Hide the invitation and show the item (its link becomes the three
  // controls' help keyword); the first time the controls' click handlers
  // are taken over.
  virtual void ShowNews(const TNewsItem& item) = 0;
  // Show the invitation text instead of the item.
  virtual void ShowNoNews() = 0;
  // Start the 5-second rotation timer (which calls RotateCachedNews once).
  virtual void StartRotateTimer() = 0;
};

// The version the server announces for this product in a version-check
// answer: the text one character after the first "da3", trimmed and cut
// before its first "|"; empty when there is no "da3" or no "|".
std::wstring AnnouncedVersion(const std::wstring& answer);

// Whether a news link may be handed to the shell: only absolute http and
// https addresses with a host; a file path, a program or another scheme is
// never opened.
bool IsOpenableNewsLink(const std::wstring& link);

class TLastNewsCheck {
 public:
  // `baseFolder`: the installation folder (the executable's when empty);
  // `ownVersion`: the running program's "FileVersion".
  TLastNewsCheck(std::wstring baseFolder, std::wstring ownVersion, IHttpClient& http, INewsView& view,
                 TNewsServer server = {});

  // The worker's body: the cached pick or the online check.
  void Execute();
  // True when the network part failed.
  bool CheckOnline();
  void ShowCachedNews();
  void ShowNoNews();
  // After the clicked control's own handler ran: schedules one rotation.
  void NewsClick();
  void RotateCachedNews();

  // More than 23 whole hours since `lastUpdate` (a check time); false for a
  // text that is no check time.
  static bool IsTimeToCheck(const std::wstring& lastUpdate, TDateTime now);
  bool UpdateAvailable(const std::wstring& serverVersion) const;
  // The alternation: A unless "LastShowNews" is "1", then B (A when B has no
  // title); "LastShowNews" is written as "1" after A's turn, "2" after B's.
  TNewsItem PickCachedItem();

  const std::wstring& CacheFile() const { return cacheFile_; }
  const TNewsItem& Item() const { return item_; }
  const std::wstring& ServerVersion() const { return serverVersion_; }
  bool RotatePending() const { return rotatePending_; }

 private:
  std::wstring ReadCache(const std::wstring& section, const std::wstring& key) const;
  void WriteCache(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  std::wstring Url(const std::wstring& path) const;

  std::wstring cacheFolder_;
  std::wstring cacheFile_;
  std::wstring ownVersion_;
  IHttpClient& http_;
  INewsView& view_;
  TNewsServer server_;
  TNewsItem item_;
  std::wstring antivirus_, linkSmall_, linkBig_, nDay_;
  std::wstring serverVersion_;
  bool rotatePending_ = false;
};

}  // namespace orvix
