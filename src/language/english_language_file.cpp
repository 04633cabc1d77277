#include "language/english_language_file.h"

#include "language/messages.h"

namespace orvix {

std::wstring EnglishLanguageFileText() {
  std::wstring text =
      L"; Orvix Uninstaller interface texts: English, the built-in language.\r\n"
      L"; Written by the build from the program's messages. To translate, copy this file\r\n"
      L"; to <Language>.lng beside it, save it as UTF-8 with a BOM, set DisplayName and\r\n"
      L"; translate every value after \"=\", keeping each %s and %d in its order.\r\n"
      L"\r\n"
      L"[Main]\r\n"
      L"DisplayName=English\r\n"
      L"\r\n"
      L"[Uninstaller_M]\r\n";
  for (const TMessage& message : MessageTable()) text += std::wstring(message.key) + L"=" + message.english + L"\r\n";
  return text;
}

}  // namespace orvix
