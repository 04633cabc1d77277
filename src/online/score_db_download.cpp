#include "online/score_db_download.h"

#include <exception>

#include "online/check_time.h"
#include "online/score_db_helper.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/zip_decompression.h"

namespace orvix {
namespace {

// The database is a few hundred kilobytes; a larger answer is not one.
constexpr std::size_t kMaxDatabaseSize = 16 * 1024 * 1024;

}  // namespace

std::optional<bool> IsScoreDatabaseDue(const std::wstring& lastDate, TDateTime now) {
  if (lastDate.empty()) return true;
  const auto last = ParseCheckTime(lastDate);
  if (!last) return std::nullopt;
  return WholeDaysBetween(now, *last) > 6;
}

bool IsSoundScoreDatabase(const std::wstring& path) {
  try {
    TMemoryStream stream;
    TZipDeCompression::Extract(path, kScoreDatabaseFileName, stream, kScoreDatabasePassword, true);
    return FileExists(path);
  } catch (const std::exception&) {
    return false;
  }
}

TScoreDbUpdate UpdateScoreDatabase(IHttpClient& http, const TScoreDbServer& server) {
  const TDateTime now = CheckTimeNow();
  const auto due = IsScoreDatabaseDue(ReadUpdateDataBaseDate(), now);
  if (!due) return TScoreDbUpdate::MalformedDate;
  if (!*due) return TScoreDbUpdate::NotDue;
  // Moved before the download: a failed one is tried again a week later.
  WriteUpdateDataBaseDate(FormatCheckTime(now));

  const std::wstring folder = OwnInstallFolder();
  if (folder.empty()) return TScoreDbUpdate::NoInstallFolder;
  IFileSystem& files = CurrentPlatform().Files();
  const std::wstring temp = folder + kScoreDatabaseTempName;
  const std::wstring database = folder + kScoreDatabaseFileName;
  if (FileExists(temp)) files.DeleteFile(temp);

  const HttpResponse response = http.Get(server.BaseUrl + server.PathPrefix + kScoreDatabaseFileName);
  if (response.status < 200 || response.status >= 300 || response.body.empty() ||
      response.body.size() > kMaxDatabaseSize || !ReplaceFileBytes(temp, response.body))
    return TScoreDbUpdate::DownloadFailed;
  if (!IsSoundScoreDatabase(temp)) {
    files.DeleteFile(temp);
    return TScoreDbUpdate::Rejected;
  }
  if (files.MoveFile(temp, database, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != ERROR_SUCCESS) {
    files.DeleteFile(temp);
    return TScoreDbUpdate::DownloadFailed;
  }
  return TScoreDbUpdate::Replaced;
}

TDownLoadUpdateDataBase::TDownLoadUpdateDataBase(IHttpClient& http, std::function<void(TScoreDbUpdate)> done,
                                                 TScoreDbServer server)
    : worker_([&http, done = std::move(done), server = std::move(server)] {
        TScoreDbUpdate result = TScoreDbUpdate::DownloadFailed;
        try {
          result = UpdateScoreDatabase(http, server);
        } catch (const std::exception&) {
        }
        if (done) done(result);
      }) {}

TDownLoadUpdateDataBase::~TDownLoadUpdateDataBase() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace orvix
