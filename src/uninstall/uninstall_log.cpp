#include "uninstall/uninstall_log.h"

#include "language/messages.h"
#include "platform/file_helpers.h"
#include "platform/missing.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/system_info.h"

namespace orvix {
namespace {

const std::wstring kRule(36, L'=');
// A log names every leftover of one uninstall: a few megabytes at most.
constexpr std::uint64_t kMaxLogSize = 64 << 20;

std::wstring HeaderDateText() { return FormatDate(NowLocal(), L"yyyy-MM-dd HH:mm:ss"); }
std::wstring ProgramVersion() { return FileVersionText(CurrentPlatform().Shell().GetModuleFileName()); }

// The two headers differ in their title and in the blank after the colons;
// the files written so far carry both forms.
TLogLines Header(const std::wstring& title, const std::wstring& colon) {
  return {kRule,
          title,
          L"Applicaption Version:" + colon + ProgramVersion(),
          L"Operation System Verison:" + colon + OsName(),
          L"Date:" + HeaderDateText(),
          kRule,
          L""};
}

TLogLines SplitLines(const std::wstring& text) {
  TLogLines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::wstring UninstallLogFolder() {
  const std::wstring data = DataFolder();
  return data.empty() ? std::wstring() : data + L"Log\\";
}

std::wstring UninstallLogFileName(TDateTime day) { return FormatDate(day, L"yyyy-MM-dd") + L".log"; }

std::wstring UninstallLogPath(TDateTime day) {
  const std::wstring folder = UninstallLogFolder();
  return folder.empty() ? std::wstring() : folder + UninstallLogFileName(day);
}

TLogLines ReviewLogHeader() { return Header(L"Orvix Uninstaller " + Text(msg::Log_M), L""); }

TLogLines UninstallWindowLogHeader() { return Header(L"Orvix Uninstaller Log", L" "); }

bool ReadLogLines(const std::wstring& path, TLogLines& lines) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, kMaxLogSize)) return false;
  lines = SplitLines(DecodeTextFile(bytes));
  return true;
}

bool AppendUninstallLog(const TLogLines& lines, const TLogHeaderMaker& header) {
  const std::wstring folder = UninstallLogFolder();
  if (folder.empty() || !ForceDirectories(folder)) return false;
  const std::wstring path = folder + UninstallLogFileName(NowLocal());
  TLogLines all;
  // Only a file the system says is not there starts anew; one it cannot
  // look at is left alone.
  if (!PathMissing(path)) {
    if (!ReadLogLines(path, all)) return false;
  } else if (header) {
    all = header();
  }
  all.insert(all.end(), lines.begin(), lines.end());
  std::wstring text;
  for (const std::wstring& line : all) text += line + L"\r\n";
  return ReplaceFileBytes(path, EncodeTextFile(text, TextEncoding::Utf16LeBom));
}

}  // namespace orvix
