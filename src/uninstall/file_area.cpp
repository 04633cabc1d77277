#include "uninstall/file_area.h"

#include "inventory/rating_shortcut.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "uninstall/file_walk.h"
#include "uninstall/generic_folder_names.h"
#include "uninstall/product_table.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

// The folder a path lies in; empty for a root or a bare name.
std::wstring ParentOf(const std::wstring& path) {
  const std::wstring text = SeenForm(path);
  const std::size_t slash = text.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : text.substr(0, slash);
}

// The Quick Launch folder keeps pinned shortcuts three levels down
// (User Pinned\ImplicitAppShortcuts\<id>); deeper is a loop or not the shell's.
constexpr int kMaxPinnedDepth = 4;

// Whether `outer` holds `inner` (and is not the same folder).
bool Holds(const std::wstring& outer, const std::wstring& inner) {
  return SeenForm(inner).starts_with(SeenForm(outer) + L"\\");
}

class TFileScan {
 public:
  explicit TFileScan(TRegeditScanClasses& scan)
      : scan_(scan),
        record_(scan.Record()),
        walk_(scan),
        productKey_(LowerCase(Trim(record_.Publisher + L" " + record_.DisplayName))) {}

  void Run() {
    // The scan's keyword is the install folder in canonical form: empty
    // when the location is empty, relative, protected or another program's too.
    folder_ = scan_.Keyword();
    if (folder_.empty()) return;
    InstallFolder();
    InstallerFolders();
    SearchNamedFolder(CSIDL_COMMON_APPDATA);
    SearchNamedFolder(CSIDL_APPDATA);
    InstallerIconFolders();
    SearchNamedFolder(CSIDL_COMMON_PROGRAMS);
    SearchNamedFolder(CSIDL_PROGRAMS);
    MenuShortcuts(CSIDL_COMMON_PROGRAMS);
    MenuShortcuts(CSIDL_PROGRAMS);
    DesktopShortcuts(CSIDL_DESKTOPDIRECTORY);
    DesktopShortcuts(CSIDL_COMMON_DESKTOPDIRECTORY);
    PinnedShortcuts();
    if (!record_.DisplayName.empty() && !record_.Publisher.empty()) ProductPaths();
  }

 private:
  bool Running() const { return scan_.ScanState() == ssRunning; }
  std::wstring Special(int csidl) const { return CurrentPlatform().Shell().GetSpecialFolder(csidl); }
  std::wstring ProductColumn(const wchar_t* column) const {
    const TFileterManage& table = ProductTable();
    const std::wstring row = table.FindProductRow(productKey_);
    return row.empty() ? L"" : table.ProductColumn(row, column, L"");
  }

  void ReportAndWalk(const std::wstring& path) {
    if (walk_.Report(path, sfkFolder, 0)) walk_.WalkFolder(path);
  }

  void InstallFolder() {
    if (!Running() || !DirectoryExists(folder_)) return;
    std::vector<std::wstring> kept;
    for (const std::wstring& element : SplitProductList(ProductColumn(L"filter"))) {
      const std::wstring path = ExpandMacroPath(element, record_);
      if (!path.empty()) kept.push_back(path);
    }
    for (const std::wstring& other : scan_.OtherProgramFolders()) kept.push_back(other);
    if (kept.empty()) {
      walk_.Report(folder_, sfkFolder, 0);
    } else {
      // What a product of the maker keeps through an uninstall, and the
      // folders of other programs installed inside, are left alone, and so
      // is every folder that holds them.
      walk_.MarkSeen(folder_);
      for (const std::wstring& path : kept) {
        walk_.LeaveAlone(path);
        for (std::wstring parent = ParentOf(path); !parent.empty(); parent = ParentOf(parent)) walk_.MarkSeen(parent);
      }
    }
    walk_.WalkFolder(folder_);
  }

  // The folders of the product's Windows Installer components. One that
  // holds the install folder also holds other programs' files.
  void InstallerFolders() {
    for (const std::wstring& folder : scan_.InstallerFolders()) {
      if (!Running()) return;
      if (!Holds(folder, folder_)) ReportAndWalk(folder);
    }
  }

  // The contents of a folder named after the publisher and the program
  // (FooSoft\Foo), or after the program alone, in a base folder. A name
  // like "bin" or "x64" names no program.
  void SearchNamedFolder(int csidl) {
    const std::wstring name = IsGenericFolderName(record_.DisplayName) ? L"" : LowerCase(Trim(record_.DisplayName));
    if (!Running() || name.empty()) return;
    const std::wstring base = Special(csidl);
    std::wstring found;
    if (!record_.Publisher.empty()) {
      const std::wstring publisher = walk_.FindNamedFolder(base, LowerCase(record_.Publisher));
      if (!publisher.empty()) found = walk_.FindNamedFolder(publisher, name);
    }
    if (found.empty()) found = walk_.FindNamedFolder(base, name);
    // A name like "Programs" or "Microsoft" may find a folder of the system.
    if (!found.empty() && !scan_.IsProtected(found)) walk_.WalkFolder(found);
  }

  // Where Windows Installer keeps the product's icons.
  void InstallerIconFolders() {
    const std::wstring code = scan_.UninstallKeyName();
    if (code.empty()) return;
    for (const int csidl : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
      if (!Running()) return;
      const std::wstring base = Special(csidl);
      if (base.empty()) continue;
      const std::wstring path = base + L"\\Microsoft\\Installer\\" + code;
      if (DirectoryExists(path)) ReportAndWalk(path);
    }
  }

  // Shortcuts that start something in the install folder (or the folder itself).
  void DesktopShortcuts(int csidl) {
    const std::wstring desktop = Special(csidl);
    if (!Running() || desktop.empty()) return;
    const std::wstring prefix = desktop.ends_with(L'\\') ? desktop : desktop + L"\\";
    walk_.ListFolder(prefix, [&](const FindData& data) {
      if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
      const std::wstring path = prefix + data.name;
      if (StartsInInstallFolder(path)) walk_.Report(path, sfkFile, static_cast<std::int64_t>(data.size));
      return true;
    });
  }

  // Shortcuts pinned to the taskbar or the Start menu, which the shell keeps
  // below the user's Quick Launch folder (User Pinned\TaskBar, ...): the
  // shortcuts alone, never a folder, which the shell keeps for every program.
  void PinnedShortcuts() {
    std::wstring appData = Special(CSIDL_APPDATA);
    while (!appData.empty() && appData.back() == L'\\') appData.pop_back();
    if (!Running() || appData.empty()) return;
    ReportShortcutsBelow(appData + L"\\Microsoft\\Internet Explorer\\Quick Launch", 0);
  }

  void ReportShortcutsBelow(const std::wstring& folder, int depth) {
    walk_.ListFolder(folder + L"\\", [&](const FindData& data) {
      const std::wstring path = folder + L"\\" + data.name;
      if ((data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return true;
      if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        if (depth < kMaxPinnedDepth) ReportShortcutsBelow(path, depth + 1);
      } else if (EndsWithText(data.name, L".lnk") && StartsInInstallFolder(path)) {
        walk_.Report(path, sfkFile, static_cast<std::int64_t>(data.size));
      }
      return true;
    });
  }

  // Whether a shortcut starts something in the install folder (or opens the
  // folder itself), and not in another program's folder inside it.
  bool StartsInInstallFolder(const std::wstring& shortcut) const {
    std::wstring target = LowerCase(ShortcutTargetPath(shortcut));
    if (target.empty()) return false;
    if (!target.ends_with(L'\\')) target += L'\\';
    if (!target.starts_with(folder_)) return false;
    for (const std::wstring& other : scan_.OtherProgramFolders()) {
      if (target.starts_with(other)) return false;
    }
    return true;
  }

  // A folder of a Start menu and what it holds: the program's shortcuts, and
  // the sub-folders holding nothing but them.
  struct TMenuFolder {
    std::vector<std::pair<std::wstring, std::int64_t>> shortcuts;  // the program's, with their sizes
    std::vector<TMenuFolder> onlyOurs;                              // sub-folders of nothing else
    std::vector<TMenuFolder> mixed;                                 // sub-folders holding anything else
    std::wstring path;
    bool holdsOthers = false;
  };

  TMenuFolder ReadMenuFolder(const std::wstring& path) {
    TMenuFolder folder;
    folder.path = path;
    std::vector<std::wstring> subFolders;
    walk_.ListFolder(path + L"\\", [&](const FindData& data) {
      const std::wstring child = path + L"\\" + data.name;
      if ((data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        folder.holdsOthers = true;
      } else if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        subFolders.push_back(child);
      } else if (EndsWithText(data.name, L".lnk") && StartsInInstallFolder(child)) {
        folder.shortcuts.emplace_back(child, static_cast<std::int64_t>(data.size));
      } else {
        folder.holdsOthers = true;
      }
      return true;
    });
    if (walk_.HoldsDotNames(path)) folder.holdsOthers = true;
    for (const std::wstring& sub : subFolders) {
      TMenuFolder read = ReadMenuFolder(sub);
      const bool ours = !read.holdsOthers && (!read.shortcuts.empty() || !read.onlyOurs.empty());
      folder.holdsOthers = folder.holdsOthers || !ours;
      (ours ? folder.onlyOurs : folder.mixed).push_back(std::move(read));
    }
    return folder;
  }

  void ReportMenuFolder(const TMenuFolder& folder) {
    for (const auto& [path, size] : folder.shortcuts) walk_.Report(path, sfkFile, size);
    for (const TMenuFolder& sub : folder.onlyOurs) ReportAndWalk(sub.path);
    for (const TMenuFolder& sub : folder.mixed) ReportMenuFolder(sub);
  }

  // Shortcuts anywhere in a Start menu that start something in the install
  // folder; a folder of the menu holding nothing else goes whole.
  void MenuShortcuts(int csidl) {
    std::wstring menu = Special(csidl);
    while (!menu.empty() && menu.back() == L'\\') menu.pop_back();
    if (!Running() || menu.empty() || !DirectoryExists(menu)) return;
    ReportMenuFolder(ReadMenuFolder(menu));
  }

  // The fixed folders and files of the maker's own products. A path that
  // names nothing is still offered: its walk finds nothing.
  void ProductPaths() {
    for (const std::wstring& element : SplitProductList(ProductColumn(L"path"))) {
      if (!Running()) return;
      const std::wstring path = ExpandMacroPath(element, record_);
      if (path.empty()) continue;
      if (FileExists(path)) {
        walk_.Report(path, sfkFile, 0);
      } else {
        ReportAndWalk(path);
      }
    }
  }

  TRegeditScanClasses& scan_;
  const TSoftInfo& record_;
  TFileWalk walk_;
  const std::wstring productKey_;
  std::wstring folder_;
};

class TFileArea : public TScanArea {
 public:
  int Number() const override { return 21; }
  bool NeedsKeyword() const override { return false; }
  TScanAreaKind Kind() const override { return sakFiles; }
  void Run(TRegeditScanClasses& scan) override {
    TFileScan(scan).Run();
    scan.InstallerFolders().clear();
  }
};

}  // namespace

TScanAreaPtr MakeFileArea() { return std::make_unique<TFileArea>(); }

}  // namespace orvix
