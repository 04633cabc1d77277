#include "ui/combo_box.h"

#include "ui/win.h"

namespace orvix::ui {

bool ComboBox::Create(HWND parent) {
  return CreateControl(parent, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL);
}

void ComboBox::SetItems(const std::vector<std::wstring>& items) {
  ::SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : items) ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::SetSelected(int index) { ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int ComboBox::Selected() const { return static_cast<int>(::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }

void ComboBox::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE && onChanged) onChanged();
}

}  // namespace orvix::ui
