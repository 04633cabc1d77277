#include "online/score_db_helper.h"

#include <algorithm>
#include <exception>

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "platform/zip_decompression.h"

namespace orvix {
namespace {

std::wstring FolderPart(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool IsBlankOrBreak(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// A whole number in decimal, as the database writes scores.
bool ParseScore(const std::wstring& token, std::int32_t& score) {
  if (token.empty() || token.size() > 10) return false;
  std::size_t i = token[0] == L'-' || token[0] == L'+' ? 1 : 0;
  if (i == token.size()) return false;
  std::int64_t value = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < L'0' || token[i] > L'9') return false;
    value = value * 10 + (token[i] - L'0');
  }
  if (token[0] == L'-') value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  score = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

std::vector<std::wstring> SplitScoreTokens(const std::wstring& text) {
  std::vector<std::wstring> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlankOrBreak(text[i])) ++i;
    if (i >= text.size()) break;
    std::size_t end;
    if (text[i] == L'"' || text[i] == L'\'') {
      const std::size_t close = text.find(text[i], i + 1);
      end = close == std::wstring::npos ? text.size() : close + 1;
      // What follows the closing quote up to the separator belongs to it.
      end = std::min(text.size(), text.find_first_of(L",\r\n", end));
    } else {
      end = std::min(text.size(), text.find_first_of(L",\r\n", i));
    }
    std::wstring token = Trim(std::wstring_view(text).substr(i, end - i));
    if (!token.empty()) tokens.push_back(std::move(token));
    i = end + 1;
  }
  return tokens;
}

std::wstring OwnInstallFolder() {
  return FolderPart(RegReadStringAt(L"HKEY_LOCAL_MACHINE", kOwnUninstallKey, L"InstallLocation", false));
}

std::wstring TScoreDBHelper::GetFolder() {
  const std::wstring folder = OwnInstallFolder();
  if (!folder.empty() && DirectoryExists(folder)) return folder;
  return FolderPart(CurrentPlatform().Shell().GetModuleFileName());
}

bool TScoreDBHelper::Load() {
  Loaded = false;
  Entries.clear();
  const std::wstring path = GetFolder() + kScoreDatabaseFileName;
  if (!FileExists(path)) return false;
  try {
    TMemoryStream stream;
    TZipDeCompression::Extract(path, kScoreDatabaseFileName, stream, kScoreDatabasePassword);
    for (std::wstring& token : SplitScoreTokens(DecodeTextFile(stream.Data()))) Entries.push_back(std::move(token));
  } catch (const std::exception&) {
    return false;
  }
  Loaded = true;
  return true;
}

TScore TScoreDBHelper::Lookup(const std::wstring& name) const {
  TScore score;
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    if (!SameText(Entries[i], name)) continue;
    score.Marker = L"ID";
    score.Name = name;
    if (i + 1 < Entries.size() && !ParseScore(Entries[i + 1], score.Score)) score.Score = 2;
    break;
  }
  return score;
}

}  // namespace orvix
