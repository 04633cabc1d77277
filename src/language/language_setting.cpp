#include "language/language_setting.h"

#include <array>
#include <utility>

#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Windows' English language name -> the internal name of its language file.
constexpr std::array<std::pair<const wchar_t*, const wchar_t*>, 33> kWindowsLanguages{{
    {L"Arabic", L"Arabic"},
    {L"Belarusian", L"Belarusian"},
    {L"Chinese (Traditional)", L"ChineseTrad"},
    {L"Chinese (Simplified)", L"ChineseSimp"},
    {L"Czech", L"Czech"},
    {L"Dinka", L"Dinka"},
    {L"Finnish", L"Finnish"},
    {L"French", L"French"},
    {L"Greek", L"Greek"},
    {L"Hungarian", L"Hungarian"},
    {L"Indonesian", L"Indonesian"},
    {L"Italian", L"Italian"},
    {L"Japanese", L"Japanese"},
    {L"Korean", L"Korean"},
    {L"Portuguese(Brazil)", L"Portuguese(PT-BR)"},
    {L"Romanian", L"Romanian"},
    {L"Russian", L"Russian"},
    {L"Serbian(Cyrillic)", L"Serbian(Cyrillic)"},
    {L"Serbian(Latin)", L"Serbian(Latin)"},
    {L"Slovenian", L"Slovenian"},
    {L"Spanish", L"Spanish"},
    {L"Thai", L"Thai"},
    {L"Turkish", L"Turkish"},
    {L"Ukrainian", L"Ukrainian"},
    {L"Vietnamese", L"Vietnamese"},
    {L"Danish", L"Danish"},
    {L"German", L"German"},
    {L"Dutch", L"Dutch"},
    {L"Malayalam", L"Malayalam"},
    {L"Nuer", L"Nuer"},
    {L"Polish", L"Polish"},
    {L"Portuguese(Portugal)", L"Portuguese(PT-PT)"},
    {L"Swedish", L"Swedish"},
}};

}  // namespace

std::wstring ReadLanguageSetting() {
  if (SettingsPath().empty()) return L"";
  return ReadLanguage(L"English");
}

std::wstring DefaultLanguageName() {
  std::wstring windowsName = CurrentPlatform().Locale().UserInterfaceLanguageName();
  if (windowsName.empty()) windowsName = L"English";
  for (const auto& [windows, internal] : kWindowsLanguages) {
    if (SameText(windowsName, windows)) return internal;
  }
  return L"English";
}

}  // namespace orvix
