// Posted mouse, keyboard and command messages.
#include "automation/input.h"

#include <cwchar>

#include "automation/window_search.h"

namespace orvix::automation {
namespace {

struct TKeyName {
  const wchar_t* name;
  UINT key;
};
constexpr TKeyName kKeys[] = {
    {L"ENTER", VK_RETURN}, {L"ESC", VK_ESCAPE}, {L"TAB", VK_TAB},   {L"DELETE", VK_DELETE},
    {L"APPS", VK_APPS},    {L"UP", VK_UP},      {L"DOWN", VK_DOWN}, {L"SPACE", VK_SPACE},
};

UINT VirtualKey(const std::wstring& name) {
  for (const TKeyName& key : kKeys) {
    if (name == key.name) return key.key;
  }
  if (name.size() >= 2 && name[0] == L'F') {
    const long number = std::wcstol(name.c_str() + 1, nullptr, 10);
    if (number >= 1 && number <= 12) return VK_F1 + static_cast<UINT>(number) - 1;
  }
  if (name.size() == 1 && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'0' && name[0] <= L'9')))
    return name[0];
  return 0;
}

LPARAM KeyData(UINT key, bool up) {
  const UINT scanCode = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  LPARAM data = 1 | (static_cast<LPARAM>(scanCode) << 16);
  if (up) data |= static_cast<LPARAM>(0xC0000000u);
  return data;
}

}  // namespace

bool Click(HWND control) {
  if (!::IsWindowEnabled(control)) return false;
  if (ClassOf(control) == L"Button") return ::PostMessageW(control, BM_CLICK, 0, 0);
  RECT bounds{};
  ::GetClientRect(control, &bounds);
  const LPARAM centre = MAKELPARAM(bounds.right / 2, bounds.bottom / 2);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  return ::PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

void PostCommand(HWND window, int commandId) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool PressKey(HWND window, HWND target, const std::wstring& keyName) {
  const UINT key = VirtualKey(keyName);
  if (key == 0) return false;
  if (target == window) {
    const HWND focus = FocusOf(window);
    if (focus) target = focus;
  }
  // The key-up may find the window gone already (Enter closed a message box).
  ::PostMessageW(target, WM_KEYDOWN, key, KeyData(key, false));
  ::PostMessageW(target, WM_KEYUP, key, KeyData(key, true));
  return true;
}

void TypeText(HWND control, const std::wstring& text) {
  for (const wchar_t c : text) ::PostMessageW(control, WM_CHAR, c, 1);
}

}  // namespace orvix::automation
