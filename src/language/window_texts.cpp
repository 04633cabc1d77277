// The keys of a component's texts in a language file's window section, by
// the component's kind; used by TLanguage and by the English file writer.
#include "language/window_texts.h"

namespace orvix {
namespace {

std::wstring ItemKey(const std::wstring& name, const wchar_t* list, std::size_t index) {
  return name + L"." + list + L"[" + std::to_wstring(index) + L"].Caption";
}

}  // namespace

void VisitComponentTexts(TComponentTexts& component, const TComponentTextVisitor& visit) {
  const std::wstring& name = component.name;
  const auto visitList = [&](const wchar_t* list, std::vector<std::wstring>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) visit(ItemKey(name, list, i), texts[i]);
  };
  switch (component.kind) {
    case ckLabelNote:
    case ckCheckListBox:
    case ckComboBox:
    case ckTreeView:
      visitList(L"Items", component.items);
      break;
    case ckImageNote:
      if (component.showHint) visit(name + L".Hint", component.hint);
      break;
    case ckLabel:
    case ckButton:
    case ckMenuItem:
    case ckToolButton:
    case ckFoldPanel:
    case ckImageButton:
      visit(name + L".Caption", component.caption);
      break;
    case ckListView:
      visitList(L"Columns", component.columns);
      break;
    case ckOther:
      break;
  }
}

}  // namespace orvix
