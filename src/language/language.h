// TLanguage: the one language object of the process. It reads a language
// file (".lng" in the installation's "Language" folder, an INI text) and
// gives its texts to the windows (the section SectionPrefix + "_" + window
// name) and to every message of the program (the section SectionPrefix +
// "_M"); English is the built-in language and the fallback of every text.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "language/window_texts.h"
#include "platform/ext_ini_file.h"
#include "platform/texts.h"

namespace orvix {

class TLanguage {
 public:
  // The folder starts as the program's folder + "Language".
  explicit TLanguage(std::wstring sectionPrefix);
  ~TLanguage();
  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  const std::wstring& SectionPrefix() const { return sectionPrefix_; }
  const std::wstring& LanguageFolder() const { return languageFolder_; }
  // A trailing backslash is removed.
  void SetLanguageFolder(const std::wstring& folder);

  // Rescans the folder's "*.lng" files in listing order: the internal name is
  // the file name without ".lng"; with display names, each file's
  // [Main] DisplayName (else the internal name) is read as well.
  void LoadLanguageList(const std::wstring& folder, bool withDisplayNames);
  // Scans without display names only when both lists are empty.
  const std::vector<std::wstring>& GetLanguageNames();
  // Scans with display names unless both lists are filled.
  const std::vector<std::wstring>& GetDisplayNames();

  // Loads `name`.lng, or English.lng when that file is missing; when English
  // is missing too nothing changes and false is returned.
  bool SelectLanguage(const std::wstring& name);
  const std::wstring& CurrentLanguage() const { return currentLanguage_; }
  const std::wstring& CurrentDisplayName() const { return currentDisplayName_; }

  // The message of the selected language (an empty value included), or the default.
  std::wstring GetMessage(const std::wstring& key, const std::wstring& englishDefault) const;
  std::optional<std::wstring> FindMessage(const std::wstring& key) const;
  std::wstring ReadLanguageValue(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue) const;

  // Every message of the program (texts.h) answers from this object from now
  // on, until it is destroyed.
  void InstallAsTextSource();

  // Replaces the texts of the components the window owns directly from the
  // window's section; a key that is missing leaves the text as it is.
  void ApplyToComponent(TWindowTexts& window) const;
  // ApplyToComponent for every open window and frame, in the order given.
  void ApplyToAll(const std::vector<TWindowTexts*>& windows) const;

 private:
  void ApplyTo(const std::wstring& section, TComponentTexts& component) const;

  std::wstring sectionPrefix_;
  std::wstring languageFolder_;
  std::wstring currentLanguage_;
  std::wstring currentDisplayName_;
  std::vector<std::wstring> languageNames_;
  std::vector<std::wstring> displayNames_;
  TExtIniFile languageFile_;
  std::unordered_map<std::wstring, std::wstring> messages_;  // upper-cased key -> first value
  bool textSource_ = false;
  TTextSource previousSource_;
};

}  // namespace orvix
