// What the language files can change in a window: its name and the texts of
// the components it owns directly, each by name and kind. A window fills this
// from its controls, the language object rewrites the texts, and the window
// puts them back; nothing here touches a control.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvix {

// The kinds of component the language files know, by what their keys change.
enum TComponentKind {
  ckLabelNote,    // skinned multi-line label: Items[i].Caption per line
  ckImageNote,    // skinned image with a hint: .Hint, only while it shows hints
  ckLabel,        // .Caption
  ckButton,       // button, group box, check box, radio button: .Caption
  ckMenuItem,     // .Caption
  ckToolButton,   // tool button, speed button, tab sheet: .Caption
  ckFoldPanel,    // skinned fold panel: .Caption of its button
  ckImageButton,  // skinned image button: .Caption
  ckCheckListBox, // Items[i].Caption per item
  ckComboBox,     // Items[i].Caption per item; the selection stays
  ckTreeView,     // Items[i].Caption per node, every node in tree order
  ckListView,     // Columns[i].Caption per column
  ckOther,        // panels, frames, timers...: no texts of their own
};

struct TComponentTexts {
  std::wstring name;
  TComponentKind kind = ckOther;
  std::wstring caption;
  std::wstring hint;
  bool showHint = false;
  std::vector<std::wstring> items;    // lines, items or tree nodes (tree order)
  std::vector<std::wstring> columns;  // list view column titles
  int selectedIndex = -1;             // combo box
  // What a frame placed on the window owns: its texts come from the frame's
  // own section when the frame itself is applied, never from the window's.
  std::vector<TComponentTexts> owned;
};

// A window or frame: its name (which names its section) and the components it owns.
struct TWindowTexts {
  std::wstring name;
  std::vector<TComponentTexts> components;
};

// Calls `visit` with the key and the text of every text a language file may
// replace in the component, as its kind names them ("lblTitle.Caption",
// "lvList.Columns[1].Caption"...). The language object reads these keys and
// the English file writer writes them, so both always agree.
using TComponentTextVisitor = std::function<void(const std::wstring& key, std::wstring& text)>;
void VisitComponentTexts(TComponentTexts& component, const TComponentTextVisitor& visit);

}  // namespace orvix
