// A window's texts: its table (language/forms) with the built-in English
// texts, then the selected language over it. The window binds its controls
// to their component names; Apply sets their texts, and ApplyAll does it
// for every open window when the language changes, so the texts of each
// window come from one place.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "language/window_texts.h"

namespace orvix {
class TLanguage;
}

namespace orvix::ui {

class Control;

// The language every window applies; nullptr: the built-in English texts.
// Not const: the settings dialog fills its language box and switches through it.
void SetFormLanguage(TLanguage* language);
TLanguage* FormLanguage();

class FormTexts {
 public:
  // `form` is a table of language/forms/forms.h; it outlives the window.
  explicit FormTexts(const TWindowTexts& form);
  ~FormTexts();
  FormTexts(const FormTexts&) = delete;
  FormTexts& operator=(const FormTexts&) = delete;

  // The control shows the component's caption (a list view: its columns).
  void Bind(const std::wstring& name, Control& control);
  // The component's texts as last applied (the table's before Apply); the
  // name must be in the table.
  const std::wstring& Caption(const std::wstring& name) const;
  const std::wstring& Hint(const std::wstring& name) const;
  const std::vector<std::wstring>& Columns(const std::wstring& name) const;

  // Takes the texts from the table and the language, sets the bound
  // controls, then runs onApplied (for texts the window builds in code).
  void Apply();
  std::function<void()> onApplied;

  // Apply for every open window, in the order they were opened.
  static void ApplyAll();

 private:
  const TComponentTexts& Component(const std::wstring& name) const;

  const TWindowTexts& form_;
  TWindowTexts texts_;
  std::vector<std::pair<std::wstring, Control*>> bound_;
};

}  // namespace orvix::ui
