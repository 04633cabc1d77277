// Opera 12's widgets (its extensions): "widgets.dat" in the widget folder
// names each widget by a <section id="..."> inside <preferences>, and each
// widget's own folder holds "prefs.dat", an XML file of the same shape whose
// section "ui" gives the widget's "name" and whose section "user" says
// "GadgetEnabledOnStartup" = "yes" while the widget is on. The Opera
// cleaner lists and switches widgets through these.
#pragma once

#include <string>
#include <vector>

namespace orvix {

// The section identifiers of "widgets.dat" in document order; empty when the
// file is missing or is not XML of that shape.
std::vector<std::wstring> ReadOperaWidgetIds(const std::wstring& widgetsDat);

struct TOperaWidgetPrefs {
  std::wstring name;
  bool enabled = false;  // "GadgetEnabledOnStartup" is exactly "yes"
};
// False when the file is missing or is not XML.
bool ReadOperaWidgetPrefs(const std::wstring& prefsDat, TOperaWidgetPrefs& prefs);

// Off deletes the "GadgetEnabledOnStartup" value of section "user"; on sets
// it to "yes", adding it when missing. False when the file is missing or not
// XML, when there is no section "user", when there was nothing to delete, or
// when the file could not be replaced. The file keeps its encoding,
// declaration, layout and line breaks.
bool SetOperaWidgetEnabled(const std::wstring& prefsDat, bool enabled);

}  // namespace orvix
