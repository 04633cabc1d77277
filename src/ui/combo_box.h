// A drop-down list (a combo box the user cannot type into), for the
// settings dialog's language box. The items and the selection come from the
// view's model; a user's choice raises onChanged.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace orvix::ui {

class ComboBox : public Control {
 public:
  bool Create(HWND parent);
  void SetItems(const std::vector<std::wstring>& items);
  // -1 selects nothing.
  void SetSelected(int index);
  int Selected() const;
  std::function<void()> onChanged;
  void OnCommand(WORD code) override;
};

}  // namespace orvix::ui
