// The add-on record's set-up, the browser vocabulary and GUID texts.
#include "addons/plugin_item.h"

#include <cstdio>
#include <random>

#include "platform/process_helpers.h"

namespace orvix {
namespace {

struct BrowserNames {
  TPluginBrowsr browser;
  const wchar_t* display;
  const wchar_t* executable;
  const wchar_t* heading;
};

constexpr BrowserNames kBrowsers[] = {
    {pbIE, L"IE", L"iexplore.exe", L"Internet Explorer"},
    {pbChrome, L"Chrome", L"chrome.exe", L"Google Chrome"},
    {pbFireFox, L"Firefox", L"firefox.exe", L"Mozilla FireFox"},
    {pbOpera, L"Opera", L"opera.exe", L"Opera"},
};

const BrowserNames* NamesOf(TPluginBrowsr browser) {
  for (const BrowserNames& names : kBrowsers) {
    if (names.browser == browser) return &names;
  }
  return nullptr;
}

}  // namespace

TPluginItem::TPluginItem() : ID(L"{" + NewGuidText() + L"}") {}

std::wstring BrowserDisplayName(TPluginBrowsr browser) {
  const BrowserNames* names = NamesOf(browser);
  return names != nullptr ? names->display : L"";
}

std::wstring BrowserExecutable(TPluginBrowsr browser) {
  const BrowserNames* names = NamesOf(browser);
  return names != nullptr ? names->executable : L"";
}

std::wstring BrowserExportHeading(TPluginBrowsr browser) {
  const BrowserNames* names = NamesOf(browser);
  return names != nullptr ? names->heading : L"";
}

bool IsBrowserRunning(TPluginBrowsr browser) {
  const std::wstring executable = BrowserExecutable(browser);
  return executable.empty() || IsProcessRunning(executable);
}

std::wstring PluginGroupName(std::uint8_t group) {
  switch (group) {
    case pgExtension: return L"Extensions";
    case pgPlugin: return L"Plug-ins";
    case pgToolbar: return L"Toolbar";
    case pgBHO: return L"BHO";
    case pgActiveX: return L"ActiveX";
    default: return L"";
  }
}

// A random (version 4) GUID: IDs only need to be unique within one run.
std::wstring NewGuidText() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  const std::uint64_t high = (generator() & 0xFFFFFFFFFFFF0FFFull) | 0x4000ull;
  const std::uint64_t low = (generator() & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;
  wchar_t text[40];
  std::swprintf(text, 40, L"%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(high >> 32),
                static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
                static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
  return text;
}

}  // namespace orvix
