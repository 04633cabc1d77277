// Window and control lookup over EnumWindows / EnumChildWindows.
#include "automation/window_search.h"

#include <cwchar>

namespace orvix::automation {
namespace {

constexpr UINT kTextTimeoutMs = 2000;

bool Matches(HWND window, const TWindowQuery& query) {
  if (!::IsWindowVisible(window)) return false;
  if (!query.className.empty() && ClassOf(window) != query.className) return false;
  if (query.title.empty() && query.titlePart.empty()) return true;
  const std::wstring title = WindowText(window);
  if (!query.title.empty() && title != query.title) return false;
  return query.titlePart.empty() || title.find(query.titlePart) != std::wstring::npos;
}

struct TTopSearch {
  const TWindowQuery* query;
  HWND found = nullptr;
};

BOOL CALLBACK VisitTop(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TTopSearch*>(data);
  if (!Matches(window, *search.query)) return TRUE;
  search.found = window;
  return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

HWND ByClass(HWND window, const std::wstring& spec) {
  const size_t colon = spec.rfind(L':');
  std::wstring className = spec;
  int index = 0;
  if (colon != std::wstring::npos) {
    className = spec.substr(0, colon);
    index = static_cast<int>(std::wcstol(spec.c_str() + colon + 1, nullptr, 10));
  }
  for (HWND control : Controls(window)) {
    if (ClassOf(control) == className && index-- == 0) return control;
  }
  return nullptr;
}

HWND ByText(HWND window, const std::wstring& text) {
  HWND hidden = nullptr;
  for (HWND control : Controls(window)) {
    if (WithoutMnemonics(WindowText(control)) != text) continue;
    if (::IsWindowVisible(control)) return control;
    if (!hidden) hidden = control;
  }
  return hidden;
}

}  // namespace

HWND FindTopWindow(const TWindowQuery& query) {
  TTopSearch search{&query};
  ::EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Controls(HWND window) {
  std::vector<HWND> controls;
  ::EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

HWND FindControl(HWND window, const std::wstring& selector) {
  if (selector == L".") return window;
  if (selector.size() > 1 && selector[0] == L'#') {
    const int id = static_cast<int>(std::wcstol(selector.c_str() + 1, nullptr, 10));
    for (HWND control : Controls(window)) {
      if (::GetDlgCtrlID(control) == id) return control;
    }
    return nullptr;
  }
  if (selector.size() > 1 && selector[0] == L'@') return ByClass(window, selector.substr(1));
  return ByText(window, WithoutMnemonics(selector));
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied))
    return {};
  text.resize(copied);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring WithoutMnemonics(const std::wstring& text) {
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    else if (text[i] == L'&') continue;
    plain += text[i];
  }
  return plain;
}

}  // namespace orvix::automation
