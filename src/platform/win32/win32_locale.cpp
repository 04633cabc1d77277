#include "platform/locale_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

std::wstring LocaleText(LCID locale, LCTYPE item) {
  const int size = ::GetLocaleInfoW(locale, item, nullptr, 0);
  if (size <= 1) return L"";
  std::wstring text(size, L'\0');
  if (::GetLocaleInfoW(locale, item, text.data(), size) == 0) return L"";
  text.resize(size - 1);
  return text;
}

std::wstring UserLocaleText(LCTYPE item) { return LocaleText(LOCALE_USER_DEFAULT, item); }

class Win32Locale : public ILocaleApi {
 public:
  std::wstring ShortDateFormat() override { return UserLocaleText(LOCALE_SSHORTDATE); }
  std::wstring LongTimeFormat() override { return UserLocaleText(LOCALE_STIMEFORMAT); }

  wchar_t DecimalSeparator() override {
    const std::wstring separator = UserLocaleText(LOCALE_SDECIMAL);
    return separator.empty() ? L'.' : separator.front();
  }

  std::wstring UserInterfaceLanguageName() override {
    return LocaleText(MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT), LOCALE_SENGLANGUAGE);
  }

  orvix::DWORD AnsiCodePage() override { return ::GetACP(); }

  std::string ToAnsi(std::wstring_view text) override {
    if (text.empty()) return {};
    // Without best-fit mapping a missing character becomes "?" instead of a
    // look-alike ("A" for "Ā"), as the simulation does it.
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr,
                                           nullptr);
    if (size <= 0) return {};
    std::string bytes(size, '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
  }

  std::wstring FromAnsi(std::string_view bytes) override {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::wstring text(size, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
    return text;
  }
};

}  // namespace

std::unique_ptr<ILocaleApi> MakeLocale() { return std::make_unique<Win32Locale>(); }

}  // namespace orvix::win32
