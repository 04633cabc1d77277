// The weekly score database download: when the last one is more than six
// whole days old, a fresh database is fetched from the download server into
// a temporary file beside the installed one, opened and read with the
// archive reader and, only when it is sound, moved over the installed file
// in one step. A broken or failed download keeps the old database.
//
// TDownLoadUpdateDataBase runs it on a worker thread that the main window
// owns; its completion notice (which the window hands to the UI thread)
// lets the add-on view reload the scores.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/date_time.h"
#include "platform/http_api.h"

namespace orvix {

inline constexpr wchar_t kScoreDatabaseTempName[] = L"AddonScores.tmp";

struct TScoreDbServer {
  std::wstring BaseUrl = L"https://download.orvix.example";
  std::wstring PathPrefix = L"/uninstaller3/";  // fixed; the file name follows
};

enum class TScoreDbUpdate { NotDue, MalformedDate, NoInstallFolder, DownloadFailed, Rejected, Replaced };

// True when `lastDate` ("UpdateDataBaseDate") is empty or more than six
// whole days before `now`; empty when it is no check time.
std::optional<bool> IsScoreDatabaseDue(const std::wstring& lastDate, TDateTime now);

// Whether the file is an archive whose database entry opens, passes its
// checks and deciphers.
bool IsSoundScoreDatabase(const std::wstring& path);

// The whole update, once: the due test (writing the new date before any
// download), the download and the checked replace.
TScoreDbUpdate UpdateScoreDatabase(IHttpClient& http, const TScoreDbServer& server = {});

class TDownLoadUpdateDataBase {
 public:
  // Starts at once; `done` is called on the worker when it has finished.
  TDownLoadUpdateDataBase(IHttpClient& http, std::function<void(TScoreDbUpdate)> done, TScoreDbServer server = {});
  // Waits for the worker: it never outlives what it uses.
  ~TDownLoadUpdateDataBase();
  TDownLoadUpdateDataBase(const TDownLoadUpdateDataBase&) = delete;
  TDownLoadUpdateDataBase& operator=(const TDownLoadUpdateDataBase&) = delete;

 private:
  std::thread worker_;
};

}  // namespace orvix
