// The forced-uninstall window's logic without its window: the chosen path
// and the path box, the entries installed where the path points (or whose
// name holds a name another process sent), the Next button's rules and the
// hand-over to the uninstall window, and Search Online.
#pragma once

#include <string>
#include <vector>

namespace orvix {

class TSoftwareInfo;
struct TSoftInfo;

enum TForcedPage { fpTip, fpListView };

// One row of the result list: columns "Display Name", "Size", "Install Date".
struct TForcedRow {
  int index = -1;  // the entry's position in the inventory
  std::wstring caption;
  std::wstring sizeText;
  std::wstring installDateText;
};

// What Next hands to the uninstall window: the chosen entry, or for a bare
// path no entry and the files its run deletes before the scan of their folder.
struct TForcedUninstallRequest {
  TSoftInfo* entry = nullptr;
  std::wstring forcedPath;   // ChosenPath: the file itself, also a shortcut
  std::wstring pathBoxPath;  // bare path only: the accepted path
  bool ByPath() const { return entry == nullptr; }
};

// The uninstall window as forced uninstall starts it.
class IForcedUninstallLauncher {
 public:
  virtual ~IForcedUninstallLauncher() = default;
  virtual void RunForced(const TForcedUninstallRequest& request) = 0;
};

// Message boxes with the window's caption as title.
class IForcedUninstallPrompts {
 public:
  virtual ~IForcedUninstallPrompts() = default;
  virtual void Message(const std::wstring& text) = 0;
};

class TForcedUninstallModel {
 public:
  TForcedUninstallModel(TSoftwareInfo& inventory, IForcedUninstallPrompts& prompts);

  const std::wstring& ChosenPath() const { return chosenPath_; }
  const std::wstring& PathBox() const { return pathBox_; }
  TForcedPage Page() const { return page_; }
  const std::vector<TForcedRow>& Rows() const { return rows_; }
  int SelectedRow() const { return selected_; }
  // Next was pressed: the software list is refreshed once the window closes.
  bool Started() const { return started_; }
  // With rows: at most one, or one selected. Without rows: only when the
  // path box holds an accepted path, never a bare program name.
  bool NextEnabled() const;

  // A path from the file dialog: as AcceptPath, and a refused one is
  // reported, the path box emptied, the "Tip" page shown.
  bool ChooseFile(const std::wstring& path);
  // Dropped files: the first one; a refused path is ignored without a word.
  bool DropFiles(const std::vector<std::wstring>& paths);
  // Replaces a shortcut by its target, checks the result and lists the
  // entries installed in its folder; false when refused.
  bool AcceptPath(const std::wstring& path);
  // The same for a folder given as such (the console's forced uninstall).
  bool AcceptFolder(const std::wstring& folder);
  void ListEntriesByFolder(const std::wstring& path);
  // A program name from another process: the path box shows the name.
  void ListEntriesByName(const std::wstring& name);
  // -1 for none.
  void SelectRow(int row);

  // Hands the chosen entry (the only row, or the selected one), or the bare
  // path when nothing matched, to the uninstall window; false when Next is
  // disabled.
  bool Next(IForcedUninstallLauncher& launcher);

  // The selected row's web search address; empty without a selection.
  std::wstring SearchOnlineAddress() const;
  // Opens it with the verb "open", else starts "iexplore.exe" with it.
  bool SearchOnline();
  // Opens the selected entry's install folder when it exists.
  bool OpenFolder();

 private:
  bool Accept(const std::wstring& chosen, const std::wstring& path, bool folderAllowed);
  void Refuse();
  void ShowEntries(int found, const std::vector<std::wstring>& indexes);
  TSoftInfo* SelectedEntry() const;

  TSoftwareInfo& inventory_;
  IForcedUninstallPrompts& prompts_;
  std::wstring chosenPath_;
  std::wstring pathBox_;
  bool pathAccepted_ = false;  // the path box holds a checked path, not a name
  TForcedPage page_ = fpTip;
  std::vector<TForcedRow> rows_;
  int selected_ = -1;
  bool started_ = false;
};

// The web search address for a program name: the name UTF-8 encoded and
// form-escaped in the query key "q".
std::wstring SearchOnlineAddressFor(const std::wstring& displayName);

}  // namespace orvix
