#include "ui/form_texts.h"

#include <algorithm>
#include <cstdlib>

#include "language/language.h"
#include "ui/control.h"
#include "ui/list_view.h"

namespace orvix::ui {
namespace {

TLanguage* gLanguage = nullptr;

std::vector<FormTexts*>& OpenForms() {
  static std::vector<FormTexts*> forms;
  return forms;
}

}  // namespace

void SetFormLanguage(TLanguage* language) { gLanguage = language; }
TLanguage* FormLanguage() { return gLanguage; }

FormTexts::FormTexts(const TWindowTexts& form) : form_(form), texts_(form) { OpenForms().push_back(this); }

FormTexts::~FormTexts() { std::erase(OpenForms(), this); }

void FormTexts::Bind(const std::wstring& name, Control& control) {
  Component(name);  // a name outside the table is a programming error
  bound_.emplace_back(name, &control);
}

const TComponentTexts& FormTexts::Component(const std::wstring& name) const {
  for (const TComponentTexts& component : texts_.components) {
    if (component.name == name) return component;
  }
  // A window asked for a component its table lacks: its table is incomplete.
  std::abort();
}

const std::wstring& FormTexts::Caption(const std::wstring& name) const { return Component(name).caption; }
const std::wstring& FormTexts::Hint(const std::wstring& name) const { return Component(name).hint; }
const std::vector<std::wstring>& FormTexts::Columns(const std::wstring& name) const {
  return Component(name).columns;
}

void FormTexts::Apply() {
  texts_ = form_;
  if (gLanguage != nullptr) gLanguage->ApplyToComponent(texts_);
  for (const auto& [name, control] : bound_) {
    const TComponentTexts& component = Component(name);
    if (auto* list = dynamic_cast<ListView*>(control)) {
      for (std::size_t i = 0; i < component.columns.size(); ++i) {
        list->SetColumnTitle(static_cast<int>(i), component.columns[i]);
      }
    } else if (component.kind == ckImageNote) {
      control->SetAccessibleName(component.hint);
    } else {
      control->SetText(component.caption);
    }
  }
  if (onApplied) onApplied();
}

void FormTexts::ApplyAll() {
  const std::vector<FormTexts*> forms = OpenForms();
  for (FormTexts* form : forms) {
    if (std::find(OpenForms().begin(), OpenForms().end(), form) != OpenForms().end()) form->Apply();
  }
}

}  // namespace orvix::ui
