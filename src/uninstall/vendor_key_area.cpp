// Areas 14 and 15: the vendor keys directly under HKEY_LOCAL_MACHINE
// \SOFTWARE and HKEY_CURRENT_USER \Software. A key named exactly like the
// program is its own and goes whole, and so does a key below a vendor key
// that is named like the program or its install folder (or their ends),
// records that folder, and names no place outside it; any other vendor key only loses the values
// that name the install folder.
#include <algorithm>
#include <array>
#include <vector>

#include "platform/text.h"
#include "uninstall/generic_folder_names.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/software_list_areas.h"

namespace orvix {
namespace {

// Keys that hold everyone's data, or none of a vendor's: never walked.
constexpr std::array<const wchar_t*, 8> kExcludedVendors = {
    L"classes", L"clients", L"intel", L"imgBurn", L"caphyou", L"cddb", L"Microsoft", L"Wow6432Node"};

// Keys that hold what every program registers: walked for values naming the
// install folder, but never reported whole for a program of the same name.
constexpr std::array<const wchar_t*, 3> kSharedByPrograms = {L"ODBC", L"Policies", L"RegisteredApplications"};

// On 64-bit Windows these keys of HKLM\SOFTWARE are one key in both views;
// the 32-bit view lists them too (its own listing is Wow6432Node's), so the
// 32-bit pass leaves them to the 64-bit one instead of reporting them twice.
constexpr std::array<const wchar_t*, 2> kSharedByViews = {L"Policies", L"RegisteredApplications"};

template <std::size_t N>
bool IsOneOf(const std::wstring& name, const std::array<const wchar_t*, N>& names) {
  for (const wchar_t* entry : names) {
    if (SameText(name, entry)) return true;
  }
  return false;
}

class TVendorKeyArea : public TScanArea {
 public:
  TVendorKeyArea(int number, HKEY root, const wchar_t* software, TScanViews views)
      : number_(number), root_(root), software_(software), views_(views) {}

  int Number() const override { return number_; }
  bool NeedsKeyword() const override { return true; }
  TScanViews Views() const override { return views_; }

  void Run(TRegeditScanClasses& scan) override {
    TScanKey software(root_, software_, scan.View64());
    const bool view32OfWow64 = root_ == HKEY_LOCAL_MACHINE && scan.Wow64() && !scan.View64();
    for (const std::wstring& name : software.SubKeyNames()) {
      if (!scan.Tick()) return;
      if (IsOneOf(name, kExcludedVendors)) continue;
      if (view32OfWow64 && IsOneOf(name, kSharedByViews)) continue;
      if (name == scan.Record().DisplayName && !IsOneOf(name, kSharedByPrograms)) {
        scan.ReportKey(reported_, root_, name, software.Below(name));
        continue;
      }
      TScanKey vendor(root_, software.Below(name), scan.View64());
      if (vendor) WalkValues(scan, vendor, 0);
    }
  }

 private:
  // Depth first, each key's values before its sub-keys. Stop requests are
  // looked at between vendor keys only.
  void WalkValues(TRegeditScanClasses& scan, TScanKey& key, int depth) {
    const std::vector<std::wstring> values = key.ValueNames();
    const bool recordsFolder = std::any_of(values.begin(), values.end(), [&](const std::wstring& value) {
      return NamesInstallFolder(scan, key.ValueText(value));
    });
    if (recordsFolder && depth > 0 && IsProgramsName(scan, key) && PlacesLieInFolder(scan, key)) {
      scan.ReportKey(reported_, key.Root(), key.Path(), key.Path());
      return;
    }
    for (const std::wstring& value : values) {
      const std::wstring text = key.ValueText(value);
      if (NamesInstallFolder(scan, text)) scan.ReportValue(key.Root(), key.Path(), value, text);
    }
    if (depth >= kMaxKeyDepth) return;
    for (const std::wstring& name : key.SubKeyNames()) {
      TScanKey sub(key.Root(), key.Below(name), key.View64());
      if (sub) WalkValues(scan, sub, depth + 1);
    }
  }

  // The key's own name is the program's name or its install folder's (when
  // that says whose the folder is), or the end of either after the maker's
  // name ("Sample Mixer" of "Orvix Sample Mixer").
  static bool IsProgramsName(const TRegeditScanClasses& scan, TScanKey& key) {
    const std::wstring& path = key.Path();
    const std::wstring name = Trim(path.substr(path.rfind(L'\\') + 1));
    if (IsGenericFolderName(name)) return false;
    const std::wstring& keyword = scan.Keyword();  // "c:\...\folder\"
    const std::size_t start = keyword.rfind(L'\\', keyword.size() - 2) + 1;
    const std::wstring folderName = keyword.substr(start, keyword.size() - 1 - start);
    for (const std::wstring& programName : {Trim(scan.Record().DisplayName), folderName}) {
      if (SameText(name, programName)) return true;
      if (programName.size() > name.size() && EndsWithText(programName, L" " + name)) return true;
    }
    return false;
  }

  int number_;
  HKEY root_;
  const wchar_t* software_;
  TScanViews views_;
  TFoundNames reported_;
};

}  // namespace

bool NamesInstallFolder(const TRegeditScanClasses& scan, const std::wstring& text) {
  if (text.empty() || text.back() == L'\\') return scan.MatchesKeyword(text);
  return scan.MatchesKeyword(text + L"\\");
}

bool PlacesLieInFolder(const TRegeditScanClasses& scan, TScanKey& key, int depth) {
  for (const std::wstring& value : key.ValueNames()) {
    const std::wstring text = Trim(key.ValueText(value));
    const std::wstring_view path = text.starts_with(L'"') ? std::wstring_view(text).substr(1) : text;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && !NamesInstallFolder(scan, std::wstring(path)))
      return false;
  }
  if (depth >= kMaxKeyDepth) return false;
  for (const std::wstring& name : key.SubKeyNames()) {
    TScanKey sub(key.Root(), key.Below(name), key.View64());
    if (sub && !PlacesLieInFolder(scan, sub, depth + 1)) return false;
  }
  return true;
}

// HKLM\SOFTWARE is kept apart per view: a 32-bit program's vendor key lives
// in the 32-bit view (Wow6432Node), a 64-bit program's in the 64-bit one, and
// an installer of one bitness may well write keys of the other; the 64-bit
// pass skips Wow6432Node, which the 32-bit pass walks under its own name.
TScanAreaPtr MakeMachineVendorArea() {
  return std::make_unique<TVendorKeyArea>(14, HKEY_LOCAL_MACHINE, L"\\SOFTWARE", svBoth);
}

// HKCU\Software is one key in both views (only some class keys below it are
// redirected, and Classes is not walked), so one pass sees it all.
TScanAreaPtr MakeUserVendorArea() {
  return std::make_unique<TVendorKeyArea>(15, HKEY_CURRENT_USER, L"\\Software", svEntry);
}

}  // namespace orvix
