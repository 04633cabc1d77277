// TLanguageDisplayName: the language box of the settings dialog and the
// switch to the language the user picks there.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "language/window_texts.h"

namespace orvix {

class TLanguage;

class TLanguageDisplayName {
 public:
  TLanguageDisplayName(TLanguage& language, std::wstring languageFolder);

  // Rescans the folder and fills the box with every display name in listing
  // order, the current language's selected (none when absent).
  void FillLanguageBox(TComponentTexts& comboBox);

  // Switches to the language shown as `displayName` (found ignoring case):
  // writes it to "Main.ini", selects it, applies it to every open window,
  // refetches the interface messages, then lets `refreshCodeTexts` redo the
  // texts that windows build in code. False when no language has that name.
  bool SelectByDisplayName(const std::wstring& displayName, const std::vector<TWindowTexts*>& openWindows,
                           const std::function<void()>& refreshCodeTexts = {});

 private:
  TLanguage& language_;
  std::wstring languageFolder_;
};

}  // namespace orvix
