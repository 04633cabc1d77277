#include "uninstall/deletion_guard.h"

#include <algorithm>
#include <string_view>

#include "language/messages.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Keys that hold or serve many programs, in the guard's form: none of them,
// and no key above one, is ever deleted as a whole.
constexpr std::wstring_view kSharedKeys[] = {
    L"software\\microsoft\\windows\\currentversion\\uninstall",
    L"software\\microsoft\\windows\\currentversion\\app paths",
    L"software\\microsoft\\windows\\currentversion\\run",
    L"software\\microsoft\\windows\\currentversion\\runonce",
    L"software\\microsoft\\windows\\currentversion\\runonceex",
    L"software\\microsoft\\windows\\currentversion\\policies",
    L"software\\microsoft\\windows\\currentversion\\sharedlls",
    L"software\\microsoft\\windows\\currentversion\\installer\\userdata",
    L"software\\microsoft\\windows\\currentversion\\explorer\\fileexts",
    L"software\\microsoft\\windows\\currentversion\\explorer\\shell folders",
    L"software\\microsoft\\windows\\currentversion\\explorer\\user shell folders",
    L"software\\microsoft\\windows\\currentversion\\explorer\\userassist",
    L"software\\microsoft\\windows\\currentversion\\explorer\\browser helper objects",
    L"software\\microsoft\\windows\\currentversion\\shell extensions\\approved",
    L"software\\microsoft\\windows nt\\currentversion\\profilelist",
    L"software\\microsoft\\windows nt\\currentversion\\image file execution options",
    L"software\\microsoft\\windows nt\\currentversion\\winlogon",
    L"software\\microsoft\\internet explorer\\toolbar",
    L"software\\microsoft\\internet explorer\\extensions",
    L"software\\microsoft\\windows\\shellnoroam\\muicache",
    L"software\\policies",
    L"software\\clients",
    L"software\\registeredapplications",
    L"software\\classes\\clsid",
    L"software\\classes\\interface",
    L"software\\classes\\typelib",
    L"software\\classes\\appid",
    L"software\\classes\\installer\\products",
    L"software\\classes\\installer\\features",
    L"software\\classes\\installer\\components",
    L"software\\classes\\installer\\upgradecodes",
    L"software\\classes\\applications",
    L"software\\classes\\systemfileassociations",
    L"software\\classes\\local settings",
    L"software\\classes\\mime\\database\\content type",
    L"system\\currentcontrolset\\services",
    L"system\\currentcontrolset\\control",
    L"system\\currentcontrolset\\enum",
    L"system\\controlset001\\services",
    L"system\\controlset002\\services",
    L"system\\currentcontrolset\\services\\eventlog\\application",
    L"system\\currentcontrolset\\services\\sharedaccess\\parameters\\firewallpolicy",
    L"control panel",
    L"environment",
    L"keyboard layout",
    L"printers",
    L"network",
    L"sam",
    L"security",
};

// Classes that Windows and every program use: a program may have taken one
// over (a browser the http handler, an editor txtfile), but the class and its
// list of verbs stay; only the program's own verb may go.
constexpr std::wstring_view kSharedClasses[] = {
    L"*",       L".bat",          L".cmd",     L".com",      L".dll",        L".exe",     L".htm",
    L".html",   L".ini",          L".lnk",     L".reg",      L".txt",        L".url",     L".xml",
    L".zip",    L"allfilesystemobjects", L"batfile", L"cmdfile", L"comfile", L"compressedfolder",
    L"directory", L"dllfile",     L"drive",    L"exefile",   L"file",        L"folder",   L"ftp",
    L"htmlfile", L"http",         L"https",    L"inifile",   L"internetshortcut", L"lnkfile", L"mailto",
    L"news",    L"regfile",       L"txtfile",  L"unknown",   L"xmlfile",     L"zipfile",
};

constexpr std::wstring_view kClasses = L"software\\classes\\";

std::wstring Without(std::wstring text, std::wstring_view part) {
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part)) text.erase(at, part.size());
  return text;
}

// Whether `key` is `container` or holds it.
bool AtOrAbove(std::wstring_view key, std::wstring_view container) {
  return container == key || (container.starts_with(key) && container[key.size()] == L'\\');
}

// A device enumerator (Enum\Root, Enum\PCI...) holds every device it found.
bool IsDeviceEnumerator(const std::wstring& key) {
  const std::size_t enumAt = key.find(L"\\enum\\");
  if (!key.starts_with(L"system\\") || enumAt == std::wstring::npos) return false;
  const std::wstring_view below = std::wstring_view(key).substr(enumAt + 6);
  return below.find(L'\\') == std::wstring_view::npos && key.find(L'\\', 7) == enumAt;
}

bool IsSharedKey(const std::wstring& key) {
  for (const std::wstring_view shared : kSharedKeys) {
    if (AtOrAbove(key, shared)) return true;
  }
  if (IsDeviceEnumerator(key)) return true;
  if (!key.starts_with(kClasses)) return false;
  // A shared class itself, or its list of verbs.
  const std::wstring_view inClasses = std::wstring_view(key).substr(kClasses.size());
  for (const std::wstring_view shared : kSharedClasses) {
    if (inClasses == shared) return true;
    if (inClasses.starts_with(shared) && inClasses.substr(shared.size()) == L"\\shell") return true;
  }
  return false;
}

// A hive itself and its first level (SOFTWARE, SYSTEM...), in the guard's form.
bool IsHiveTop(const std::wstring& key) {
  return key.empty() || key.find(L'\\') == std::wstring::npos || key == L"software\\classes";
}

}  // namespace

std::wstring GuardedKeyForm(HKEY root, const std::wstring& keyPath) {
  std::wstring key = LowerCase(keyPath);
  std::replace(key.begin(), key.end(), L'/', L'\\');
  while (key.starts_with(L'\\')) key.erase(0, 1);
  while (key.ends_with(L'\\')) key.pop_back();
  if (root == HKEY_USERS) {
    // "S-1-5-21-...\Software\..." or the user's classes, "S-1-5-21-..._classes\...".
    const std::size_t slash = key.find(L'\\');
    const std::wstring user = key.substr(0, slash);
    key = slash == std::wstring::npos ? L"" : key.substr(slash + 1);
    if (user.ends_with(L"_classes")) key = std::wstring(kClasses) + key;
    if (user.empty()) return {};
  } else if (root == HKEY_CLASSES_ROOT) {
    key = key.empty() ? L"software\\classes" : std::wstring(kClasses) + key;
  } else if (root != HKEY_LOCAL_MACHINE && root != HKEY_CURRENT_USER && root != HKEY_CURRENT_CONFIG) {
    return {};
  }
  key = Without(key, L"wow6432node\\");
  if (key.ends_with(L"\\wow6432node")) key.resize(key.size() - 12);
  return key == L"wow6432node" ? L"" : key;
}

std::wstring TDeletionGuard::RefuseFile(const std::wstring& path) const {
  const std::wstring trimmed = Trim(path);
  if (CanonicalFolder(trimmed).empty()) return Text(msg::Guard_Not_Full_Path_M);
  if (protected_.IsProtected(trimmed))
    return Text(msg::Guard_Protected_M);
  // The path itself may be a link; what lies behind a linked folder is not
  // where the scan found it, unless the link is one of the system's own
  // folders (a user's Desktop that is a link, as under Wine).
  std::wstring bare = trimmed;
  while (bare.size() > 3 && bare.back() == L'\\') bare.pop_back();
  const std::size_t slash = bare.rfind(L'\\');
  const auto systemFolder = [this](const std::wstring& link) { return protected_.IsListed(link); };
  if (slash != std::wstring::npos && ReachedThroughLink(bare.substr(0, slash), systemFolder))
    return Text(msg::Guard_Through_Link_M);
  return {};
}

std::wstring TDeletionGuard::RefuseKey(HKEY root, const std::wstring& keyPath) const {
  const std::wstring key = GuardedKeyForm(root, keyPath);
  if (IsHiveTop(key)) return Text(msg::Guard_Hive_Top_M);
  if (IsSharedKey(key)) return Text(msg::Guard_Shared_Key_M);
  return {};
}

bool IsSharedOrTopKey(HKEY root, const std::wstring& keyPath) {
  const std::wstring key = GuardedKeyForm(root, keyPath);
  return IsHiveTop(key) || IsSharedKey(key);
}

std::wstring TDeletionGuard::RefuseValue(HKEY root, const std::wstring& keyPath) const {
  if (GuardedKeyForm(root, keyPath).empty()) return Text(msg::Guard_Hive_Top_M);
  return {};
}

}  // namespace orvix
