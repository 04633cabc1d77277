// The simulated user's locale: settable formats, Windows-1252 as ANSI code page.
#pragma once

#include "formats/windows_1252.h"
#include "platform/locale_api.h"

namespace orvix::sim {

class SimLocale : public ILocaleApi {
 public:
  std::wstring ShortDateFormat() override { return shortDateFormat; }
  std::wstring LongTimeFormat() override { return longTimeFormat; }
  wchar_t DecimalSeparator() override { return decimalSeparator; }
  std::wstring UserInterfaceLanguageName() override { return userInterfaceLanguageName; }
  DWORD AnsiCodePage() override { return 1252; }
  std::string ToAnsi(std::wstring_view text) override { return ToWindows1252(text); }
  std::wstring FromAnsi(std::string_view bytes) override { return FromWindows1252(bytes); }

  std::wstring shortDateFormat = L"M/d/yyyy";
  std::wstring longTimeFormat = L"h:mm:ss tt";
  wchar_t decimalSeparator = L'.';
  std::wstring userInterfaceLanguageName = L"English";
};

}  // namespace orvix::sim
