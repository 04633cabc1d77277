// The user's locale and the system's ANSI code page, and the clock.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace orvix {

class ILocaleApi {
 public:
  virtual ~ILocaleApi() = default;
  // LOCALE_SSHORTDATE, e.g. "M/d/yyyy" or "dd.MM.yyyy".
  virtual std::wstring ShortDateFormat() = 0;
  // LOCALE_STIMEFORMAT, e.g. "h:mm:ss tt" or "HH:mm:ss".
  virtual std::wstring LongTimeFormat() = 0;
  virtual wchar_t DecimalSeparator() = 0;
  // The English name of the user's interface language: LOCALE_SENGLANGUAGE
  // of GetUserDefaultUILanguage, e.g. "German"; empty when unknown.
  virtual std::wstring UserInterfaceLanguageName() = 0;
  virtual DWORD AnsiCodePage() = 0;
  // Text to and from the ANSI code page; characters it lacks become "?".
  virtual std::string ToAnsi(std::wstring_view text) = 0;
  virtual std::wstring FromAnsi(std::string_view bytes) = 0;
};

class IClockApi {
 public:
  virtual ~IClockApi() = default;
  // GetSystemTimeAsFileTime.
  virtual FILETIME64 NowUtc() = 0;
  // FileTimeToLocalFileTime: the local time of a UTC file time.
  virtual FILETIME64 ToLocal(FILETIME64 utc) = 0;
  // GetTickCount: milliseconds since start, wrapping.
  virtual DWORD TickCount() = 0;
  // Sleep; the simulation advances its clock instead of waiting.
  virtual void Sleep(DWORD milliseconds) = 0;
};

}  // namespace orvix
