#include "language/language.h"

#include <utility>

#include "platform/app_frame.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvix {
namespace {

// A language file is a few dozen kilobytes; anything far larger is not one,
// and reading it must not stall the start.
constexpr std::uint64_t kMaxLanguageFileSize = 4 << 20;

std::wstring WithoutTrailingBackslash(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

// The whole file, or nothing when it cannot be read or is too large to be a language file.
bool LoadLanguageFile(const std::wstring& path, TExtIniFile& file) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, kMaxLanguageFileSize)) return false;
  file.LoadText(DecodeTextFile(bytes));
  return true;
}

std::wstring DisplayNameOf(const TExtIniFile& file, const std::wstring& name) {
  return file.ReadString(L"Main", L"DisplayName", name);
}

}  // namespace

TLanguage::TLanguage(std::wstring sectionPrefix)
    : sectionPrefix_(std::move(sectionPrefix)), languageFolder_(TAppFrame().ProgramFolder() + L"Language") {}

TLanguage::~TLanguage() {
  if (textSource_) SetTextSource(std::move(previousSource_));
}

void TLanguage::SetLanguageFolder(const std::wstring& folder) { languageFolder_ = WithoutTrailingBackslash(folder); }

void TLanguage::LoadLanguageList(const std::wstring& folder, bool withDisplayNames) {
  SetLanguageFolder(folder);
  languageNames_.clear();
  displayNames_.clear();
  IFileSystem& files = CurrentPlatform().Files();
  FindData data;
  FindHandle handle = 0;
  if (files.FindFirst(languageFolder_ + L"\\*.lng", &data, &handle) != ERROR_SUCCESS) return;
  const TFindListing listing(files, handle);
  do {
    // The pattern also matches "x.lngx" through short names; only ".lng" files count.
    if (!EndsWithText(data.name, L".lng") || (data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::wstring name = data.name.substr(0, data.name.size() - 4);
    languageNames_.push_back(name);
    if (!withDisplayNames) continue;
    TExtIniFile file;
    if (!LoadLanguageFile(languageFolder_ + L"\\" + data.name, file)) file.LoadText(L"");
    displayNames_.push_back(DisplayNameOf(file, name));
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
}

const std::vector<std::wstring>& TLanguage::GetLanguageNames() {
  if (languageNames_.empty() && displayNames_.empty()) LoadLanguageList(languageFolder_, false);
  return languageNames_;
}

const std::vector<std::wstring>& TLanguage::GetDisplayNames() {
  if (languageNames_.empty() || displayNames_.empty()) LoadLanguageList(languageFolder_, true);
  return displayNames_;
}

bool TLanguage::SelectLanguage(const std::wstring& name) {
  const auto path = [this](const std::wstring& language) { return languageFolder_ + L"\\" + language + L".lng"; };
  std::wstring chosen = name;
  TExtIniFile file;
  if (chosen.empty() || !FileExists(path(chosen)) || !LoadLanguageFile(path(chosen), file)) {
    chosen = L"English";
    if (!FileExists(path(chosen)) || !LoadLanguageFile(path(chosen), file)) return false;
  }
  currentLanguage_ = chosen;
  languageFile_ = std::move(file);
  currentDisplayName_ = DisplayNameOf(languageFile_, chosen);
  messages_.clear();
  for (const std::wstring& line : languageFile_.ReadSectionValues(sectionPrefix_ + L"_M")) {
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    messages_.try_emplace(UpperCase(line.substr(0, equals)), line.substr(equals + 1));
  }
  return true;
}

std::optional<std::wstring> TLanguage::FindMessage(const std::wstring& key) const {
  const auto found = messages_.find(UpperCase(key));
  if (found == messages_.end()) return std::nullopt;
  return found->second;
}

std::wstring TLanguage::GetMessage(const std::wstring& key, const std::wstring& englishDefault) const {
  return FindMessage(key).value_or(englishDefault);
}

std::wstring TLanguage::ReadLanguageValue(const std::wstring& section, const std::wstring& key,
                                          const std::wstring& defaultValue) const {
  return languageFile_.ReadString(section, key, defaultValue);
}

void TLanguage::InstallAsTextSource() {
  TTextSource source = [this](const std::wstring& key) { return FindMessage(key); };
  if (textSource_) {
    SetTextSource(std::move(source));
    return;
  }
  previousSource_ = SetTextSource(std::move(source));
  textSource_ = true;
}

void TLanguage::ApplyTo(const std::wstring& section, TComponentTexts& component) const {
  VisitComponentTexts(component, [&](const std::wstring& key, std::wstring& text) {
    text = ReadLanguageValue(section, key, text);
  });
}

void TLanguage::ApplyToComponent(TWindowTexts& window) const {
  if (window.name.empty()) return;
  const std::wstring section = sectionPrefix_ + L"_" + window.name;
  // One level deep: what a component owns in turn keeps its texts.
  for (TComponentTexts& component : window.components) {
    if (!component.name.empty()) ApplyTo(section, component);
  }
}

void TLanguage::ApplyToAll(const std::vector<TWindowTexts*>& windows) const {
  for (TWindowTexts* window : windows) {
    if (window != nullptr) ApplyToComponent(*window);
  }
}

}  // namespace orvix
