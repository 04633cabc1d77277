#include "bench/leftover_machine.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <random>

namespace orvix::bench {
namespace {

constexpr std::uint32_t kSeed = 20261210;
constexpr int kHklmVendors = 450;
constexpr int kHkcuVendors = 300;
constexpr int kMaxVendorDepth = 6;

const std::wstring kClasses = L"HKLM\\SOFTWARE\\Classes\\";
const std::wstring kUserClasses = L"HKCU\\Software\\Classes\\";
const std::wstring kServices = L"HKLM\\SYSTEM\\CurrentControlSet\\services\\";
const std::wstring kWindows = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kUserWindows = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kFirewallRules =
    kServices + L"SharedAccess\\Parameters\\FirewallPolicy\\FirewallRules";
const std::wstring kEventLog = kServices + L"eventlog\\";
const std::wstring kMuiCache = L"HKCU\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
const std::wstring kStandardProxy = L"{00020424-0000-0000-C000-000000000046}";

constexpr std::array kVendorFirst = {L"Amber", L"Bright", L"Cedar", L"Delta", L"Ember", L"Falcon", L"Granite",
                                     L"Harbor", L"Indigo", L"Juniper", L"Kestrel", L"Lumen", L"Maple", L"Nimbus",
                                     L"Onyx", L"Pioneer", L"Quartz", L"Raven", L"Summit", L"Tidal", L"Umber",
                                     L"Vertex", L"Willow", L"Xenon", L"Yarrow", L"Zephyr", L"Aurora", L"Basalt",
                                     L"Cobalt", L"Drift"};
constexpr std::array kVendorSecond = {L"Soft", L"Labs", L"Systems", L"Works", L"Digital", L"Media", L"Logic",
                                      L"Data", L"Studio", L"Tech", L"Apps", L"Interactive", L"Networks",
                                      L"Software", L"Solutions", L"Games", L"Tools", L"Codeworks", L"Bits", L"Ware",
                                      L"Forge", L"Mill", L"Craft", L"Point", L"Line"};
constexpr std::array kProducts = {L"Studio", L"Suite", L"Manager", L"Player", L"Toolkit", L"Viewer", L"Agent",
                                  L"Editor", L"Server", L"Updater", L"Converter", L"Monitor"};
constexpr std::array kSections = {L"Settings", L"Options", L"Recent", L"Plugins", L"Window", L"Profiles",
                                  L"Cache", L"Toolbars", L"History", L"Layouts", L"Filters", L"Accounts"};
constexpr std::array kWords = {L"Render", L"Stream", L"Parse", L"Index", L"Shell", L"Print", L"Sync", L"Codec",
                               L"Font", L"Search", L"Archive", L"Capture", L"Spell", L"Scan", L"Mail", L"Chart"};

std::wstring VendorName(int index) {
  const int first = index % static_cast<int>(kVendorFirst.size());
  const int second = (index / static_cast<int>(kVendorFirst.size())) % static_cast<int>(kVendorSecond.size());
  return std::wstring(kVendorFirst[first]) + L" " + kVendorSecond[second];
}

std::wstring WithoutSpaces(std::wstring text) {
  std::erase(text, L' ');
  return text;
}

class TRandom {
 public:
  // mt19937's sequence is fixed by the standard; the distributions are not,
  // so numbers are taken from it directly.
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
  bool Percent(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }
  std::wstring Guid() {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring text = L"{";
    for (int group : {8, 4, 4, 4, 12}) {
      if (text.size() > 1) text += L'-';
      for (int i = 0; i < group; ++i) text += kHex[engine_() & 15];
    }
    return text + L"}";
  }

 private:
  std::mt19937 engine_{kSeed};
};

class TMachineBuilder {
 public:
  TMachineBuilder(TMachineWriter& writer, const TMachineFolders& folders, const TMachineSize& size)
      : w_(writer), folders_(folders), size_(size) {}

  void Run() {
    TypeLibs();
    Clsids();
    FileTypes();
    Interfaces();
    Services();
    SystemLists();
    VendorKeys();
    ProfileFiles();
    for (std::size_t i = 0; i < BenchPrograms().size(); ++i) Program(static_cast<int>(i), BenchPrograms()[i]);
  }

 private:
  // --- Small writers ------------------------------------------------------

  void Default(const std::wstring& key, const std::wstring& text) {
    w_.Key(key);
    w_.String(key, L"", text);
  }

  int Vendors() { return std::min(kHklmVendors, std::max(1, size_.vendorKeys / 400)); }
  std::wstring RandomVendor() { return VendorName(random_.Below(Vendors())); }
  std::wstring VendorFolder(const std::wstring& vendor) {
    return L"C:\\Program Files\\" + vendor + L"\\" + random_.Pick(kProducts);
  }
  // A COM server, half of them the system's.
  std::wstring ServerFile(const wchar_t* extension) {
    const std::wstring name = LowerWord() + std::to_wstring(random_.Below(900));
    if (random_.Percent(50)) return L"C:\\Windows\\System32\\" + name + extension;
    return VendorFolder(RandomVendor()) + L"\\" + name + extension;
  }
  std::wstring LowerWord() {
    std::wstring word = random_.Pick(kWords);
    std::transform(word.begin(), word.end(), word.begin(), [](wchar_t c) { return c | 0x20; });
    return word;
  }
  const std::wstring& RandomTypeLib() { return typeLibs_[static_cast<std::size_t>(random_.Below(static_cast<int>(typeLibs_.size())))]; }

  // --- COM ----------------------------------------------------------------

  void TypeLib(const std::wstring& id, const std::wstring& file) {
    const std::wstring version = kClasses + L"TypeLib\\" + id + L"\\1.0";
    Default(version, std::wstring(random_.Pick(kWords)) + L" Type Library");
    Default(version + L"\\0\\win32", file);
    Default(version + L"\\FLAGS", L"0");
    Default(version + L"\\HELPDIR", file.substr(0, file.rfind(L'\\')));
  }

  void TypeLibs() {
    for (int i = 0; i < size_.typeLibs; ++i) {
      typeLibs_.push_back(random_.Guid());
      TypeLib(typeLibs_.back(), ServerFile(random_.Percent(50) ? L".tlb" : L".dll"));
    }
  }

  struct TClassSpec {
    std::wstring server;       // the file (in-process) or command line (local)
    bool local = false;
    std::wstring typeLib;      // empty: none
    std::wstring appId;        // empty: none
    std::wstring progId;       // empty: none; its version-independent name is the same without ".1"
  };

  void ClassKey(const std::wstring& clsid, const TClassSpec& spec) {
    const std::wstring key = kClasses + L"CLSID\\" + clsid;
    Default(key, std::wstring(random_.Pick(kWords)) + L" Class");
    if (!spec.appId.empty()) w_.String(key, L"AppID", spec.appId);
    if (spec.local) {
      Default(key + L"\\LocalServer32", spec.server);
    } else {
      Default(key + L"\\InprocServer32", spec.server);
      w_.String(key + L"\\InprocServer32", L"ThreadingModel", random_.Percent(70) ? L"Apartment" : L"Both");
    }
    if (!spec.typeLib.empty()) Default(key + L"\\TypeLib", spec.typeLib);
    if (random_.Percent(20)) w_.Key(key + L"\\Implemented Categories\\" + random_.Guid());
    if (spec.progId.empty()) return;
    const std::wstring independent = spec.progId.substr(0, spec.progId.rfind(L'.'));
    Default(key + L"\\ProgID", spec.progId);
    Default(key + L"\\VersionIndependentProgID", independent);
    Default(kClasses + spec.progId, std::wstring(random_.Pick(kWords)) + L" Object");
    Default(kClasses + spec.progId + L"\\CLSID", clsid);
    Default(kClasses + independent, std::wstring(random_.Pick(kWords)) + L" Object");
    Default(kClasses + independent + L"\\CLSID", clsid);
    Default(kClasses + independent + L"\\CurVer", spec.progId);
  }

  // An AppID key, and for a local server the key named by its executable.
  void AppIdKeys(const std::wstring& appId, const std::wstring& exe) {
    Default(kClasses + L"AppID\\" + appId, std::wstring(random_.Pick(kWords)) + L" Service");
    if (exe.empty()) return;
    w_.Key(kClasses + L"AppID\\" + exe);
    w_.String(kClasses + L"AppID\\" + exe, L"AppID", appId);
  }

  void Clsids() {
    // Each ProgID pair (versioned and independent) counts as two classes.
    const int withProgId = size_.classes / 3;
    for (int i = 0; i < size_.clsids; ++i) {
      clsids_.push_back(random_.Guid());
      TClassSpec spec;
      spec.local = random_.Percent(25);
      spec.server = spec.local ? L"\"" + ServerFile(L".exe") + L"\" /automation" : ServerFile(L".dll");
      if (random_.Percent(50) && !typeLibs_.empty()) spec.typeLib = RandomTypeLib();
      if (i < withProgId) spec.progId = WithoutSpaces(RandomVendor()) + L".Class" + std::to_wstring(i) + L".1";
      if (random_.Percent(20)) {
        spec.appId = random_.Guid();
        const std::wstring exe = spec.local ? L"server" + std::to_wstring(i) + L".exe" : L"";
        AppIdKeys(spec.appId, exe);
      }
      ClassKey(clsids_.back(), spec);
    }
  }

  // A file type with its extension: what opens it, and its icon.
  void FileType(const std::wstring& classes, const std::wstring& extension, const std::wstring& type,
                const std::wstring& program) {
    Default(classes + extension, type);
    if (random_.Percent(30)) w_.String(classes + extension, L"Content Type", L"application/x-" + LowerWord());
    Default(classes + type, std::wstring(random_.Pick(kWords)) + L" File");
    Default(classes + type + L"\\DefaultIcon", program + L",1");
    Default(classes + type + L"\\shell\\open\\command", L"\"" + program + L"\" \"%1\"");
    if (random_.Percent(25)) Default(classes + type + L"\\shell\\print\\command", L"\"" + program + L"\" /p \"%1\"");
  }

  void FileTypes() {
    // A third of the classes; one in ten is the user's own.
    for (int i = 0; i < size_.classes / 6; ++i) {
      const std::wstring vendor = RandomVendor();
      FileType(i % 10 == 0 ? kUserClasses : kClasses, L".f" + std::to_wstring(i),
               WithoutSpaces(vendor) + L".File" + std::to_wstring(i), VendorFolder(vendor) + L"\\app.exe");
    }
  }

  void Interface(const std::wstring& iid, const std::wstring& typeLib) {
    const std::wstring key = kClasses + L"Interface\\" + iid;
    Default(key, L"I" + std::wstring(random_.Pick(kWords)) + std::to_wstring(random_.Below(100)));
    Default(key + L"\\ProxyStubClsid32", kStandardProxy);
    Default(key + L"\\NumMethods", std::to_wstring(3 + random_.Below(30)));
    if (typeLib.empty()) return;
    Default(key + L"\\TypeLib", typeLib);
    w_.String(key + L"\\TypeLib", L"Version", L"1.0");
  }

  void Interfaces() {
    for (int i = 0; i < size_.interfaces; ++i) {
      const std::wstring iid = random_.Guid();
      Interface(iid, random_.Percent(90) && !typeLibs_.empty() ? RandomTypeLib() : L"");
    }
  }

  // --- The system's lists -------------------------------------------------

  void Service(const std::wstring& name, const std::wstring& image, bool withDevice) {
    const std::wstring key = kServices + name;
    w_.Key(key);
    w_.String(key, L"ImagePath", image);
    w_.String(key, L"DisplayName", name + L" Service");
    w_.String(key, L"Description", L"Keeps the " + LowerWord() + L" data up to date.");
    w_.String(key, L"ObjectName", L"LocalSystem");
    w_.Dword(key, L"Start", 2 + static_cast<DWORD>(random_.Below(3)));
    w_.Dword(key, L"Type", random_.Percent(50) ? 16 : 1);
    w_.Dword(key, L"ErrorControl", 1);
    w_.Key(key + L"\\Parameters");
    w_.Dword(key + L"\\Parameters", L"Interval", static_cast<DWORD>(random_.Below(3600)));
    if (!withDevice) return;
    const std::wstring instance = L"Root\\LEGACY_" + name + L"\\0000";
    w_.Key(key + L"\\Enum");
    w_.String(key + L"\\Enum", L"0", instance);
    w_.Dword(key + L"\\Enum", L"Count", 1);
    w_.Dword(key + L"\\Enum", L"NextInstance", 1);
    const std::wstring device = L"HKLM\\SYSTEM\\CurrentControlSet\\Enum\\" + instance;
    w_.Key(device);
    w_.String(device, L"Service", name);
  }

  void EventSource(const std::wstring& log, const std::wstring& name, const std::wstring& messages) {
    const std::wstring key = kEventLog + log + L"\\" + name;
    w_.Key(key);
    w_.String(key, L"EventMessageFile", messages);
    w_.Dword(key, L"TypesSupported", 7);
  }

  void FirewallRule(const std::wstring& program) {
    w_.Key(kFirewallRules);
    w_.String(kFirewallRules, random_.Guid(),
              L"v2.10|Action=Allow|Active=TRUE|Dir=In|Protocol=6|App=" + program + L"|Name=" + LowerWord() + L"|");
  }

  void Services() {
    for (int i = 0; i < size_.services; ++i) {
      const std::wstring name = std::wstring(random_.Pick(kWords)) + L"Svc" + std::to_wstring(i);
      const bool system = random_.Percent(60);
      Service(name, system ? L"\\SystemRoot\\System32\\drivers\\" + name + L".sys"
                           : L"\"" + VendorFolder(RandomVendor()) + L"\\" + name + L".exe\"",
              i % 3 == 0);
    }
    for (int i = 0; i < std::max(1, size_.services / 2); ++i) {
      EventSource(i % 3 == 0 ? L"System" : L"Application", std::wstring(random_.Pick(kWords)) + std::to_wstring(i),
                  ServerFile(L".dll"));
      FirewallRule(ServerFile(L".exe"));
    }
  }

  void SystemLists() {
    const int count = std::max(1, size_.services / 4);
    for (int i = 0; i < count; ++i) {
      const std::wstring exe = ServerFile(L".exe");
      const std::wstring name = LowerWord() + std::to_wstring(i);
      if (i < 12) StringAt(kWindows + L"Run", name, L"\"" + exe + L"\" /tray");
      if (i < 8) StringAt(kUserWindows + L"Run", name, L"\"" + exe + L"\"");
      if (i < 5) StringAt(kWindows + L"Control Panel\\Cpls", name, ServerFile(L".cpl"));
      Default(kWindows + L"App Paths\\" + name + L".exe", exe);
      w_.String(kWindows + L"App Paths\\" + name + L".exe", L"Path", exe.substr(0, exe.rfind(L'\\')));
      StringAt(kMuiCache, exe, name);
      if (i < 6) {
        Default(L"HKLM\\SOFTWARE\\Clients\\Media\\" + name + L"\\shell\\open\\command", L"\"" + exe + L"\"");
      }
    }
    const std::wstring approved = kWindows + L"Shell Extensions\\Approved";
    for (int i = 0; i < std::min(static_cast<int>(clsids_.size()), 2 * count); ++i) {
      StringAt(approved, clsids_[static_cast<std::size_t>(random_.Below(static_cast<int>(clsids_.size())))],
               std::wstring(random_.Pick(kWords)) + L" Extension");
    }
  }

  void StringAt(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    w_.Key(key);
    w_.String(key, name, text);
  }

  // --- Vendor keys --------------------------------------------------------

  void SettingValues(const std::wstring& key, const std::wstring& folder) {
    w_.Key(key);
    const int values = 2 + random_.Below(3);
    for (int i = 0; i < values; ++i) {
      switch (random_.Below(5)) {
        case 0: w_.String(key, L"InstallDir", folder); break;
        case 1: w_.String(key, L"Version", std::to_wstring(random_.Below(12)) + L"." + std::to_wstring(random_.Below(40))); break;
        case 2: w_.Dword(key, L"Enabled", static_cast<DWORD>(random_.Below(2))); break;
        case 3: w_.String(key, L"LastFile", folders_.appData + L"\\" + LowerWord() + L".dat"); break;
        default: w_.Dword(key, L"Value" + std::to_wstring(i), static_cast<DWORD>(random_.Below(100000))); break;
      }
    }
  }

  // A vendor's tree of `budget` keys, breadth first: products, then
  // sections nested up to a few levels.
  void VendorTree(const std::wstring& root, const std::wstring& vendor, int budget) {
    const std::wstring folder = VendorFolder(vendor);
    std::deque<std::pair<std::wstring, int>> queue{{root + L"\\" + vendor, 0}};
    while (!queue.empty() && budget > 0) {
      const auto [key, depth] = queue.front();
      queue.pop_front();
      SettingValues(key, folder);
      --budget;
      if (depth >= kMaxVendorDepth) continue;
      const int children = depth == 0 ? 1 + random_.Below(4) : 1 + random_.Below(5);
      for (int i = 0; i < children; ++i) {
        const std::wstring name = depth == 0 ? std::wstring(kProducts[static_cast<std::size_t>(i)])
                                             : std::wstring(random_.Pick(kSections)) + std::to_wstring(i);
        queue.emplace_back(key + L"\\" + name, depth + 1);
      }
    }
  }

  void VendorKeys() {
    const int hklmBudget = size_.vendorKeys * 3 / 5;
    const int hklmVendors = Vendors();
    const int hkcuVendors = std::min(kHkcuVendors, hklmVendors);
    for (int v = 0; v < hklmVendors; ++v) {
      // A quarter of the machine's vendors wrote to the 32-bit view.
      const std::wstring root = v % 4 == 3 ? L"HKLM\\SOFTWARE\\Wow6432Node" : L"HKLM\\SOFTWARE";
      VendorTree(root, VendorName(v), hklmBudget / hklmVendors * (25 + random_.Below(151)) / 100);
    }
    const int hkcuBudget = size_.vendorKeys - hklmBudget;
    for (int v = 0; v < hkcuVendors; ++v) {
      VendorTree(L"HKCU\\Software", VendorName(v * 7 % hklmVendors), hkcuBudget / hkcuVendors * (25 + random_.Below(151)) / 100);
    }
  }

  // --- Files --------------------------------------------------------------

  void ProfileFiles() {
    const std::array<std::pair<const std::wstring*, int>, 4> shares = {
        std::pair{&folders_.commonAppData, 40}, {&folders_.appData, 40}, {&folders_.commonPrograms, 10},
        {&folders_.programs, 10}};
    int made = 0;
    for (const auto& [base, percent] : shares) {
      const bool startMenu = base == &folders_.commonPrograms || base == &folders_.programs;
      const int count = std::max(1, size_.files * percent / 100);
      for (int i = 0; i < count; ++i, ++made) {
        const std::wstring vendor = *base + L"\\" + RandomVendor();
        if (startMenu) {
          w_.File(vendor + L"\\" + random_.Pick(kProducts) + L" " + std::to_wstring(made) + L".lnk", 1024);
        } else {
          const std::wstring sub = random_.Percent(30) ? L"\\Data" + std::to_wstring(random_.Below(5)) : L"";
          w_.File(vendor + L"\\" + random_.Pick(kProducts) + sub + L"\\file" + std::to_wstring(made) + L".dat",
                  static_cast<std::size_t>(random_.Below(4096)));
        }
      }
    }
  }

  // --- The installed programs and their leftovers -------------------------

  void Program(int index, const TBenchProgram& program) {
    const std::wstring& folder = program.folder;
    const std::wstring shortName = WithoutSpaces(program.name);
    const std::wstring exe = folder + L"\\" + shortName + L".exe";

    const std::wstring uninstall = kWindows + L"Uninstall\\" + (index % 3 == 0 ? random_.Guid() : program.name);
    w_.Key(uninstall);
    w_.String(uninstall, L"DisplayName", program.name);
    w_.String(uninstall, L"DisplayVersion", std::to_wstring(index + 1) + L".2.0");
    w_.String(uninstall, L"Publisher", program.publisher);
    w_.String(uninstall, L"InstallLocation", folder);
    w_.String(uninstall, L"UninstallString", L"\"" + folder + L"\\uninstall.exe\"");
    w_.String(uninstall, L"DisplayIcon", exe + L",0");
    w_.Dword(uninstall, L"EstimatedSize", 40960);
    for (int i = 0; i < 40; ++i) {
      w_.File(folder + (i % 3 == 0 ? L"\\bin\\lib" : L"\\res\\data") + std::to_wstring(i) + L".bin", 2048);
    }
    w_.File(exe, 8192);

    // COM: its own type library, classes with ProgIDs, interfaces.
    const std::wstring typeLib = random_.Guid();
    TypeLib(typeLib, folder + L"\\" + shortName + L".tlb");
    std::wstring firstClsid;
    for (int i = 0; i < 25; ++i) {
      const std::wstring clsid = random_.Guid();
      if (firstClsid.empty()) firstClsid = clsid;
      TClassSpec spec;
      spec.local = i % 5 == 0;
      spec.server = spec.local ? L"\"" + exe + L"\" /automation" : folder + L"\\bin\\" + shortName + L"Core.dll";
      spec.typeLib = typeLib;
      if (i % 2 == 0) spec.progId = shortName + L".Object" + std::to_wstring(i) + L".1";
      if (spec.local) {
        spec.appId = random_.Guid();
        AppIdKeys(spec.appId, shortName + std::to_wstring(i) + L".exe");
      }
      ClassKey(clsid, spec);
    }
    for (int i = 0; i < 30; ++i) Interface(random_.Guid(), typeLib);
    for (int i = 0; i < 3; ++i) {
      FileType(kClasses, L"." + shortName.substr(0, 3) + std::to_wstring(index) + std::to_wstring(i),
               shortName + L".Document." + std::to_wstring(i), exe);
    }

    // The system's lists.
    if (index % 2 == 0) Service(shortName + L"Service", L"\"" + folder + L"\\service.exe\"", index % 4 == 0);
    EventSource(L"Application", program.name, folder + L"\\messages.dll");
    FirewallRule(exe);
    if (index % 2 == 1) StringAt(kWindows + L"Run", shortName + L"Tray", L"\"" + folder + L"\\tray.exe\" /background");
    if (index % 3 == 1) StringAt(kUserWindows + L"Run", shortName, L"\"" + exe + L"\" /minimized");
    Default(kWindows + L"App Paths\\" + shortName + L".exe", exe);
    w_.String(kWindows + L"App Paths\\" + shortName + L".exe", L"Path", folder);
    StringAt(kWindows + L"Shell Extensions\\Approved", firstClsid, program.name + L" Shell Extension");
    StringAt(kMuiCache, exe, program.name);

    // Its vendor keys, a key named like it, and a value in another vendor's key.
    const std::wstring machine = index % 4 == 2 ? L"HKLM\\SOFTWARE\\Wow6432Node" : L"HKLM\\SOFTWARE";
    VendorTree(machine + L"\\" + program.publisher, program.name, 30);
    VendorTree(L"HKCU\\Software\\" + program.publisher, program.name, 30);
    if (index % 3 == 1) {
      w_.Key(L"HKLM\\SOFTWARE\\" + program.name);
      w_.String(L"HKLM\\SOFTWARE\\" + program.name, L"Path", folder);
    }
    StringAt(L"HKLM\\SOFTWARE\\" + RandomVendor() + L"\\Plugins", shortName, folder + L"\\plugin.dll");
    // VendorTree wrote its own folder into the values; name the program's too.
    StringAt(machine + L"\\" + program.publisher + L"\\" + program.name, L"InstallDir", folder);

    // Files in the profile and the Start menu.
    for (int i = 0; i < 20; ++i) {
      w_.File(folders_.commonAppData + L"\\" + program.publisher + L"\\" + program.name + L"\\cache" +
                  std::to_wstring(i) + L".db", 512);
    }
    for (int i = 0; i < 10; ++i) {
      w_.File(folders_.appData + L"\\" + program.name + (i % 2 == 0 ? L"\\Logs\\log" : L"\\settings") +
                  std::to_wstring(i) + L".txt", 256);
    }
    w_.File(folders_.commonPrograms + L"\\" + program.name + L"\\" + program.name + L".lnk", 1024);
    w_.File(folders_.commonPrograms + L"\\" + program.name + L"\\Uninstall " + program.name + L".lnk", 1024);
  }

  TMachineWriter& w_;
  const TMachineFolders& folders_;
  TMachineSize size_;
  TRandom random_;
  std::vector<std::wstring> typeLibs_;
  std::vector<std::wstring> clsids_;
};

}  // namespace

TMachineSize TMachineSize::Divided(int divisor) const {
  auto part = [divisor](int count) { return std::max(1, count / divisor); };
  return {part(clsids), part(classes), part(interfaces), part(typeLibs), part(services), part(vendorKeys),
          part(files)};
}

const std::vector<TBenchProgram>& BenchPrograms() {
  static const std::vector<TBenchProgram> programs = [] {
    const std::array names = {L"Photo Forge", L"Sync Pilot", L"Audio Lantern", L"Code Harbor", L"Backup Beacon",
                              L"Mail Orbit", L"Note Garden", L"Video Quarry", L"Print Atlas", L"Game Vault"};
    std::vector<TBenchProgram> list;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::wstring publisher = VendorName(static_cast<int>(7 + 41 * i));
      list.push_back({names[i], publisher, L"C:\\Program Files\\" + publisher + L"\\" + names[i]});
    }
    return list;
  }();
  return programs;
}

void WriteLeftoverMachine(TMachineWriter& writer, const TMachineFolders& folders, const TMachineSize& size) {
  TMachineBuilder(writer, folders, size).Run();
}

}  // namespace orvix::bench
