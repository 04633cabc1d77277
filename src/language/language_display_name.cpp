#include "language/language_display_name.h"

#include <utility>

#include "language/interface_messages.h"
#include "language/language.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace orvix {

TLanguageDisplayName::TLanguageDisplayName(TLanguage& language, std::wstring languageFolder)
    : language_(language), languageFolder_(std::move(languageFolder)) {}

void TLanguageDisplayName::FillLanguageBox(TComponentTexts& comboBox) {
  language_.LoadLanguageList(languageFolder_, true);
  comboBox.items = language_.GetDisplayNames();
  comboBox.selectedIndex = -1;
  for (std::size_t i = 0; i < comboBox.items.size(); ++i) {
    if (SameText(comboBox.items[i], language_.CurrentDisplayName())) {
      comboBox.selectedIndex = static_cast<int>(i);
      break;
    }
  }
}

bool TLanguageDisplayName::SelectByDisplayName(const std::wstring& displayName,
                                               const std::vector<TWindowTexts*>& openWindows,
                                               const std::function<void()>& refreshCodeTexts) {
  const std::vector<std::wstring> displayNames = language_.GetDisplayNames();
  const std::vector<std::wstring> languageNames = language_.GetLanguageNames();
  for (std::size_t i = 0; i < displayNames.size() && i < languageNames.size(); ++i) {
    if (!SameText(displayNames[i], displayName)) continue;
    WriteLanguage(languageNames[i]);
    language_.SelectLanguage(languageNames[i]);
    language_.ApplyToAll(openWindows);
    LoadInterfaceMessages(language_);
    if (refreshCodeTexts) refreshCodeTexts();
    return true;
  }
  return false;
}

}  // namespace orvix
