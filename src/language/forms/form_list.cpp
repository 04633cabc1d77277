// The one list of described windows, and the shorthands the tables use.
#include "language/forms/forms.h"

namespace orvix {

const std::vector<const TWindowTexts*>& AllForms() {
  static const std::vector<const TWindowTexts*> kForms = {
      &MainWindowForm(),
      &SoftwareFrameForm(),
      &UninstallButtonForm(),
      &SettingsForm(),
      &AboutForm(),
      &UninstallingForm(),
      &PowerScanForm(),
  };
  return kForms;
}

TComponentTexts CaptionComponent(std::wstring name, TComponentKind kind, std::wstring caption) {
  TComponentTexts component;
  component.name = std::move(name);
  component.kind = kind;
  component.caption = std::move(caption);
  return component;
}

TComponentTexts HintComponent(std::wstring name, std::wstring hint) {
  TComponentTexts component;
  component.name = std::move(name);
  component.kind = ckImageNote;
  component.hint = std::move(hint);
  component.showHint = true;
  return component;
}

TComponentTexts ItemsComponent(std::wstring name, TComponentKind kind, std::vector<std::wstring> items) {
  TComponentTexts component;
  component.name = std::move(name);
  component.kind = kind;
  component.items = std::move(items);
  return component;
}

TComponentTexts ListViewComponent(std::wstring name, std::vector<std::wstring> columns) {
  TComponentTexts component;
  component.name = std::move(name);
  component.kind = ckListView;
  component.columns = std::move(columns);
  return component;
}

const TComponentTexts* FindComponent(const TWindowTexts& form, const std::wstring& name) {
  for (const TComponentTexts& component : form.components) {
    if (component.name == name) return &component;
  }
  return nullptr;
}

}  // namespace orvix
