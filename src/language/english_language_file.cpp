#include "language/english_language_file.h"

#include "language/forms/forms.h"
#include "language/messages.h"

namespace orvix {

std::wstring EnglishLanguageFileText() {
  std::wstring text =
      L"; Orvix Uninstaller interface texts: English, the built-in language.\r\n"
      L"; Written by the build from the program's messages. To translate, copy this file\r\n"
      L"; to <Language>.lng beside it, save it as UTF-8 with a BOM, set DisplayName and\r\n"
      L"; translate every value after \"=\", keeping each %s and %d in its order. The\r\n"
      L"; sections after the messages hold each window's captions, hints and columns.\r\n"
      L"\r\n"
      L"[Main]\r\n"
      L"DisplayName=English\r\n"
      L"\r\n"
      L"[" + std::wstring(kLanguageSectionPrefix) + L"_M]\r\n";
  for (const TMessage& message : MessageTable()) text += std::wstring(message.key) + L"=" + message.english + L"\r\n";
  // Every window's section, from the same tables the windows take their texts from.
  for (const TWindowTexts* form : AllForms()) {
    text += L"\r\n[" + std::wstring(kLanguageSectionPrefix) + L"_" + form->name + L"]\r\n";
    for (TComponentTexts component : form->components) {
      VisitComponentTexts(component, [&](const std::wstring& key, std::wstring& value) {
        text += key + L"=" + value + L"\r\n";
      });
    }
  }
  return text;
}

}  // namespace orvix
