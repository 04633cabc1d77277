#include "online/news_check.h"

#include <map>

#include "online/check_time.h"
#include "online/version_compare.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/profile_ini.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kNewsSection[] = L"LatestNews";
constexpr wchar_t kTimeSection[] = L"checkupdatestime";
constexpr std::size_t kMaxNewsAnswer = 64 * 1024;

// "name=value" lines of a news file (UTF-8), names lower-cased; the first
// of a name counts.
std::map<std::wstring, std::wstring> ParseNewsFile(const Bytes& body) {
  std::string text(body.begin(), body.end());
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  std::map<std::wstring, std::wstring> values;
  const std::wstring decoded = FromUtf8(text);
  std::size_t start = 0;
  while (start < decoded.size()) {
    std::size_t end = decoded.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = decoded.size();
    const std::wstring_view line = std::wstring_view(decoded).substr(start, end - start);
    const std::size_t equals = line.find(L'=');
    if (equals != std::wstring_view::npos)
      values.emplace(LowerCase(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1)));
    start = end + 1;
  }
  return values;
}

std::wstring Value(const std::map<std::wstring, std::wstring>& values, const wchar_t* name) {
  const auto found = values.find(name);
  return found == values.end() ? std::wstring() : found->second;
}

bool Answered(const HttpResponse& response) { return response.status >= 200 && response.status < 300; }

}  // namespace

std::wstring AnnouncedVersion(const std::wstring& answer) {
  const std::size_t code = answer.find(kNewsProductCode);
  if (code == std::wstring::npos) return L"";
  const std::size_t start = code + std::char_traits<wchar_t>::length(kNewsProductCode) + 1;
  if (start > answer.size()) return L"";
  const std::wstring rest = Trim(std::wstring_view(answer).substr(start));
  const std::size_t bar = rest.find(L'|');
  return bar == std::wstring::npos ? L"" : Trim(std::wstring_view(rest).substr(0, bar));
}

bool IsOpenableNewsLink(const std::wstring& raw) {
  const std::wstring link = Trim(raw);
  std::size_t hostStart;
  if (StartsWithText(link, L"http://"))
    hostStart = 7;
  else if (StartsWithText(link, L"https://"))
    hostStart = 8;
  else
    return false;
  for (wchar_t c : link)
    if (c <= L' ' || c == L'"') return false;
  const std::size_t hostEnd = link.find_first_of(L"/?#", hostStart);
  const std::wstring_view host = std::wstring_view(link).substr(hostStart, hostEnd - hostStart);
  return !host.empty() && host.find(L'\\') == std::wstring_view::npos;
}

TLastNewsCheck::TLastNewsCheck(std::wstring baseFolder, std::wstring ownVersion, IHttpClient& http,
                               INewsView& view, TNewsServer server)
    : ownVersion_(Trim(ownVersion)), http_(http), view_(view), server_(std::move(server)) {
  if (baseFolder.empty()) {
    const std::wstring module = CurrentPlatform().Shell().GetModuleFileName();
    baseFolder = module.substr(0, module.rfind(L'\\') + 1);
  }
  if (!baseFolder.empty() && baseFolder.back() != L'\\') baseFolder += L'\\';
  cacheFolder_ = baseFolder + L"LatestNews";
  cacheFile_ = cacheFolder_ + L"\\LatestNews.ini";
}

std::wstring TLastNewsCheck::ReadCache(const std::wstring& section, const std::wstring& key) const {
  return Trim(ReadIniString(cacheFile_, section, key, L""));
}

void TLastNewsCheck::WriteCache(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  // A read-only cache would refuse every write; errors are not reported.
  FileAttributeData data;
  IFileSystem& files = CurrentPlatform().Files();
  if (files.GetAttributes(cacheFile_, &data) == ERROR_SUCCESS && (data.attributes & FILE_ATTRIBUTE_READONLY) != 0)
    files.SetAttributes(cacheFile_, data.attributes & ~FILE_ATTRIBUTE_READONLY);
  WriteIniString(cacheFile_, section, key, value);
}

std::wstring TLastNewsCheck::Url(const std::wstring& path) const { return server_.BaseUrl + path; }

void TLastNewsCheck::Execute() {
  ForceDirectories(cacheFolder_);
  const std::wstring lastUpdate = ReadCache(kTimeSection, L"Lastupdate");
  serverVersion_ = ReadCache(kNewsSection, L"ServerVersion");
  if (!lastUpdate.empty() && !IsTimeToCheck(lastUpdate, CheckTimeNow()) && UpdateAvailable(serverVersion_)) {
    const TNewsItem item = PickCachedItem();
    if (item.Title.empty())
      view_.ShowNoNews();
    else
      view_.ShowNews(item);
    return;
  }
  ShowCachedNews();
  if (CheckOnline()) ShowNoNews();
}

bool TLastNewsCheck::CheckOnline() {
  item_ = {};
  antivirus_.clear();
  linkSmall_.clear();
  linkBig_.clear();
  nDay_.clear();
  bool failed = false;
  bool update = false;
  std::wstring announced;
  Bytes body;
  const std::string form;  // every request is a form POST with an empty body
  const HttpResponse check = http_.PostForm(Url(server_.VersionCheckPath), form);
  if (!Answered(check)) {
    failed = true;
  } else {
    const std::wstring answer = Trim(FromUtf8(std::string(check.body.begin(), check.body.end())));
    if (!answer.empty()) {
      announced = AnnouncedVersion(answer);
      update = IsNewerVersion(announced, ownVersion_);
    }
    const HttpResponse news =
        http_.PostForm(Url(update ? server_.UpdateNewsPath : server_.GeneralNewsPath), form);
    if (!Answered(news) || news.body.size() > kMaxNewsAnswer)
      failed = true;
    else
      body = news.body;
  }

  const auto values = ParseNewsFile(body);
  if (!values.empty()) {
    item_.Title = Value(values, L"title");
    item_.Link = Value(values, L"link");
    item_.Remark = Value(values, L"remark");
    antivirus_ = Value(values, L"antivirus");
    linkSmall_ = Value(values, L"linksmall6");
    linkBig_ = Value(values, L"linkbig6");
    nDay_ = Value(values, L"nday");
    WriteCache(kNewsSection, L"title", item_.Title);
    WriteCache(kNewsSection, L"link", item_.Link);
    WriteCache(kNewsSection, L"remark", item_.Remark);
    WriteCache(kNewsSection, L"imagefilename", item_.ImageFileName);
    WriteCache(kNewsSection, L"antivirus", antivirus_);
    WriteCache(kNewsSection, L"linksmall6", linkSmall_);
    WriteCache(kNewsSection, L"linkbig6", linkBig_);
    WriteCache(kNewsSection, L"nday", nDay_);
    WriteCache(kNewsSection, L"LastShowNews", L"1");
    serverVersion_ = update ? announced : L"";
    WriteCache(kNewsSection, L"ServerVersion", serverVersion_);
    view_.ShowNews(item_);
  }
  if (!failed) WriteCache(kTimeSection, L"Lastupdate", FormatCheckTime(CheckTimeNow()));
  return failed;
}

void TLastNewsCheck::ShowCachedNews() {
  TNewsItem cached{ReadCache(kNewsSection, L"title"), ReadCache(kNewsSection, L"link"),
                   ReadCache(kNewsSection, L"remark"), ReadCache(kNewsSection, L"imagefilename")};
  if (!cached.Title.empty()) view_.ShowNews(cached);
}

void TLastNewsCheck::ShowNoNews() {
  view_.ShowNoNews();
  ForceDirectories(cacheFolder_);
  for (const wchar_t* key : {L"title", L"link", L"remark", L"imagefilename", L"ServerVersion", L"antivirus",
                             L"linksmall6", L"linkbig6", L"nday"})
    WriteCache(kNewsSection, key, L"");
}

void TLastNewsCheck::NewsClick() {
  if (rotatePending_) return;
  rotatePending_ = true;
  view_.StartRotateTimer();
}

void TLastNewsCheck::RotateCachedNews() {
  item_ = PickCachedItem();
  view_.ShowNews(item_);
  rotatePending_ = false;
}

bool TLastNewsCheck::IsTimeToCheck(const std::wstring& lastUpdate, TDateTime now) {
  const auto last = ParseCheckTime(lastUpdate);
  const auto current = ParseCheckTime(FormatCheckTime(now));
  return last && current && WholeHoursBetween(*current, *last) > 23;
}

bool TLastNewsCheck::UpdateAvailable(const std::wstring& serverVersion) const {
  if (serverVersion.empty()) return true;
  if (ownVersion_ == serverVersion) return false;
  return !IsNewerVersion(ownVersion_, serverVersion);
}

TNewsItem TLastNewsCheck::PickCachedItem() {
  const auto itemA = [&] {
    return TNewsItem{ReadCache(kNewsSection, L"title"), ReadCache(kNewsSection, L"link"),
                     ReadCache(kNewsSection, L"remark"), ReadCache(kNewsSection, L"imagefilename")};
  };
  if (ReadCache(kNewsSection, L"LastShowNews") != L"1") {
    WriteCache(kNewsSection, L"LastShowNews", L"1");
    return itemA();
  }
  TNewsItem itemB{ReadCache(kNewsSection, L"title_B"), ReadCache(kNewsSection, L"link_B"),
                  ReadCache(kNewsSection, L"remark_B"), ReadCache(kNewsSection, L"imagefilename_B")};
  WriteCache(kNewsSection, L"LastShowNews", L"2");
  return itemB.Title.empty() ? itemA() : itemB;
}

}  // namespace orvix
