#include "bench/hostile_machine.h"

#include <array>
#include <random>

#include "platform/text.h"
#include "tests/native/shell_link_writer.h"

namespace orvix::bench {
namespace {

const std::wstring kProfile = L"C:\\Users\\Ann";
const std::wstring kRoaming = kProfile + L"\\AppData\\Roaming";
const std::wstring kLocal = kProfile + L"\\AppData\\Local";
const std::wstring kProgramFiles = L"C:\\Program Files";
const std::wstring kProgramFilesX86 = L"C:\\Program Files (x86)";
const std::wstring kCommonFiles = kProgramFiles + L"\\Common Files";
const std::wstring kCommonFilesX86 = kProgramFilesX86 + L"\\Common Files";
const std::wstring kSharedFolder = kProgramFilesX86 + L"\\Shared Tools";
const std::wstring kCommonPrograms = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const std::wstring kSharedMenu = kCommonPrograms + L"\\Utilities";
const std::wstring kTaskBar = kRoaming + L"\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar";
const std::wstring kInstallShield = kCommonFilesX86 + L"\\InstallShield\\Driver\\11\\Intel 32\\Ctor.dll";

const std::wstring kClasses = L"HKLM\\SOFTWARE\\Classes\\";
const std::wstring kWindows = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kWindows32 = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kUserWindows = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kServices = L"HKLM\\SYSTEM\\CurrentControlSet\\services\\";
const std::wstring kComponents = kWindows + L"Installer\\UserData\\S-1-5-18\\Components\\";
const std::wstring kSharedComponent = kComponents + L"0A1B2C3D4E5F60718293A4B5C6D7E8F9";
const std::wstring kSharedClass = L"SharedDoc";
const std::wstring kUserClasses = L"HKCU\\Software\\Classes\\";
const std::wstring kSharedType = kUserClasses + L".png";  // a file type several programs open

// Folders that hold what is not any program's, each with a file of its own.
const std::array<std::wstring, 13> kHostileFolders = {
    L"C:",                      kProgramFiles,          kProgramFilesX86,   kCommonFiles, L"C:\\Windows",
    kProfile,                   kProfile + L"\\Documents", kProfile + L"\\Downloads", kProfile + L"\\Desktop",
    kProfile + L"\\Pictures",   kRoaming,               kLocal,             kCommonFilesX86};

constexpr std::array kNames = {L"Photo",  L"Sync",  L"Audio",  L"Code",  L"Backup", L"Mail",  L"Note",
                               L"Video",  L"Print", L"Game",   L"Chart", L"Scan",   L"Spell", L"Font"};
constexpr std::array kKinds = {L"Forge", L"Pilot", L"Lantern", L"Harbor", L"Beacon", L"Orbit", L"Garden"};
constexpr std::array kPublishers = {L"Amber Soft", L"Cedar Labs", L"Delta Works", L"Ember Tools"};

class TRandom {
 public:
  explicit TRandom(std::uint32_t seed) : engine_(seed) {}
  // mt19937's sequence is fixed by the standard, its distributions are not.
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
  bool Percent(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }
  std::wstring Hex(int digits) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring text;
    for (int i = 0; i < digits; ++i) text += kHex[engine_() & 15];
    return text;
  }
  std::wstring Guid() {
    return L"{" + Hex(8) + L"-" + Hex(4) + L"-" + Hex(4) + L"-" + Hex(4) + L"-" + Hex(12) + L"}";
  }

 private:
  std::mt19937 engine_;
};

std::wstring Lower(const std::wstring& path) { return LowerCase(path); }

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// Where a program was installed, and how its entry writes that place.
enum TLocationKind {
  lkOwn64, lkOwn32, lkOwnUser,  // a folder of its own
  lkHostile,                    // one of kHostileFolders itself
  lkOtherProgram,               // the folder of a program before it
  lkShared,                     // a folder two programs use
  lkLink,                       // a junction or symbolic link to a hostile folder
  lkDotDot,                     // a path through ".."
  lkShortName,                  // the 8.3 form of a hostile folder
  lkKinds
};

class THostileBuilder {
 public:
  // Traits added later draw from streams of their own, so a seed still
  // makes the machine it made before, plus those traits.
  THostileBuilder(sim::SimMachine& machine, std::uint32_t seed)
      : m_(machine),
        random_(seed),
        later_(seed ^ 0x5bd1e995u),
        unrecorded_(seed ^ 0x27d4eb2fu),
        menus_(seed ^ 0x165667b1u),
        types_(seed ^ 0x61c88647u),
        vendors_(seed ^ 0x2545f491u),
        pins_(seed ^ 0x9e3779b9u) {}

  THostileMachine Run() {
    Background();
    const int count = 3 + random_.Below(4);
    for (int i = 0; i < count; ++i) Program(i);
    result_.shredInReview = later_.Percent(50);
    return std::move(result_);
  }

 private:
  // --- Writing with owners ------------------------------------------------

  void File(const std::wstring& path, int owner) {
    m_.files.PutFile(path, std::string("data of ") + std::to_string(owner) + " at " + std::to_string(path.size()));
    result_.owners.Exact(Lower(path), owner);
  }
  void String(const std::wstring& key, const std::wstring& name, const std::wstring& text, int owner) {
    m_.registry.PutString(key, name, text);
    result_.owners.Exact(Lower(ValuePath(key, name)), owner);
  }
  // A key and everything below it for the owner.
  void OwnKey(const std::wstring& key, int owner) {
    m_.registry.PutKey(key);
    result_.owners.Tree(Lower(key), owner);
  }
  void Shortcut(const std::wstring& path, const std::wstring& target, int owner) {
    testing::LinkSpec spec;
    spec.localBasePath = std::string(target.begin(), target.end());  // the paths here are ASCII
    const Bytes bytes = testing::BuildShellLink(spec);
    m_.files.PutFile(path, std::string(bytes.begin(), bytes.end()));
    result_.owners.Exact(Lower(path), owner);
  }
  void OwnFolder(const std::wstring& folder, int owner) {
    m_.files.PutFolder(folder);
    result_.owners.Tree(Lower(folder), owner);
  }

  // --- What belongs to the system and the user ----------------------------

  void Background() {
    for (const std::wstring& folder : kHostileFolders) File(folder + L"\\user file.dat", kNobody);
    File(kProfile + L"\\Documents\\report.docx", kNobody);
    File(kProfile + L"\\Downloads\\setup.exe", kNobody);
    File(kSharedMenu + L"\\Read me.txt", kNobody);
    Shortcut(kTaskBar + L"\\File Explorer.lnk", L"C:\\Windows\\explorer.exe", kNobody);
    File(kRoaming + L"\\Shared Settings\\config.ini", kNobody);
    File(kLocal + L"\\Temp\\cache.bin", kNobody);
    File(kInstallShield, kNobody);
    File(L"C:\\Windows\\System32\\shell32.dll", kNobody);
    File(L"C:\\Windows\\System32\\msiexec.exe", kNobody);
    // Classes every program may add to or take over.
    for (const wchar_t* name : {L"txtfile", L"http", kSharedClass.c_str()}) {
      const std::wstring key = kClasses + name;
      String(key, L"", std::wstring(name) + L" class", kNobody);
      String(key + L"\\shell\\open\\command", L"", L"C:\\Windows\\notepad.exe \"%1\"", kNobody);
    }
    String(kClasses + L".txt", L"", L"txtfile", kNobody);
    String(kSharedType, L"", L"pngfile", kNobody);
    String(kSharedType + L"\\OpenWithProgids", L"pngfile", L"", kNobody);
    String(kSharedType + L"\\OpenWithList", L"MRUList", L"", kNobody);
    String(kWindows + L"Run", L"SecurityHealth", L"C:\\Windows\\System32\\SecurityHealthSystray.exe", kNobody);
    String(kUserWindows + L"Run", L"OneDrive", Quoted(kLocal + L"\\OneDrive\\OneDrive.exe"), kNobody);
    String(kSharedComponent, L"00000000000000000000000000000000", L"C:\\Windows\\System32\\shell32.dll", kNobody);
    String(kServices + L"Spooler", L"ImagePath", L"C:\\Windows\\System32\\spoolsv.exe", kNobody);
  }

  // --- The programs ---------------------------------------------------------

  // The folder a location kind names, and where its files really are.
  struct TPlace {
    std::wstring written;  // the InstallLocation text
    std::wstring real;     // the folder it leads to
    bool own = false;      // a folder of the program's own
  };

  TPlace HostilePlace() {
    const std::wstring& folder = kHostileFolders[static_cast<std::size_t>(random_.Below(kHostileFolders.size()))];
    return {folder == L"C:" ? L"C:\\" : folder, folder, false};
  }

  TPlace Place(int index, const std::wstring& publisher, const std::wstring& name) {
    const int kind = random_.Percent(35) ? random_.Below(3) : random_.Below(lkKinds);
    switch (kind) {
      case lkOwn64: return {kProgramFiles + L"\\" + publisher + L"\\" + name, kProgramFiles + L"\\" + publisher + L"\\" + name, true};
      case lkOwn32: return {kProgramFilesX86 + L"\\" + name, kProgramFilesX86 + L"\\" + name, true};
      case lkOwnUser: return {kLocal + L"\\Programs\\" + name, kLocal + L"\\Programs\\" + name, true};
      case lkOtherProgram:
        for (int j = 0; j < index; ++j) {
          if (ownFolders_[static_cast<std::size_t>(j)]) return {result_.programs[static_cast<std::size_t>(j)].location, realFolders_[static_cast<std::size_t>(j)], false};
        }
        return HostilePlace();
      case lkShared:
        // Its own while no other program is installed there too.
        result_.owners.Tree(Lower(kSharedFolder), index);
        return {kSharedFolder, kSharedFolder, false};
      case lkLink: {
        const TPlace target = HostilePlace();
        const std::wstring link = L"C:\\Links\\Link" + std::to_wstring(index);
        m_.files.PutFolder(L"C:\\Links");
        m_.files.MakeJunction(link, target.real + (target.real == L"C:" ? L"\\" : L""),
                              random_.Percent(50) ? IO_REPARSE_TAG_MOUNT_POINT : IO_REPARSE_TAG_SYMLINK);
        return {link, target.real, false};
      }
      case lkDotDot:
        if (random_.Percent(50)) return {kProgramFiles + L"\\" + name + L"\\..", kProgramFiles, false};
        return {kProfile + L"\\Documents\\..\\Downloads", kProfile + L"\\Downloads", false};
      case lkShortName: {
        TPlace place = HostilePlace();
        std::wstring shortPath;
        if (m_.files.GetShortPathName(place.written, &shortPath) == ERROR_SUCCESS) place.written = shortPath;
        return place;
      }
      default: return HostilePlace();
    }
  }

  void Program(int index) {
    const std::wstring name = std::wstring(random_.Pick(kNames)) + L" " + random_.Pick(kKinds) + L" " +
                              std::to_wstring(index);
    const std::wstring shortName = name.substr(0, name.find(L' ')) + std::to_wstring(index);
    const std::wstring publisher = random_.Pick(kPublishers);
    TPlace place = Place(index, publisher, name);
    result_.programs.push_back({name, place.written});
    ownFolders_.push_back(place.own);
    realFolders_.push_back(place.real);

    const std::wstring exe = place.real + L"\\" + shortName + L".exe";
    if (place.own) {
      OwnFolder(place.real, index);
      File(place.real + L"\\bin\\" + shortName + L"Core.dll", index);
      File(place.real + L"\\data\\strings.dat", index);
      // A name of its own for the user's file: the name may go, the data stays.
      if (later_.Percent(15)) {
        const std::wstring name = place.real + L"\\data\\report.docx";
        m_.files.MakeHardLink(name, kProfile + L"\\Documents\\report.docx");
        result_.owners.Exact(Lower(name), index);
      }
    }
    File(exe, index);
    Entry(index, name, publisher, place, exe);
    Settings(index, name, publisher, place);
    Registrations(index, shortName, exe);
  }

  void Entry(int index, const std::wstring& name, const std::wstring& publisher, const TPlace& place,
             const std::wstring& exe) {
    static const std::array<std::wstring, 3> kUninstall = {kWindows + L"Uninstall\\", kWindows32 + L"Uninstall\\",
                                                           kUserWindows + L"Uninstall\\"};
    const std::wstring& uninstall = kUninstall[static_cast<std::size_t>(random_.Below(3))];
    std::wstring key = uninstall + (random_.Percent(50) ? random_.Guid() : name);
    // A broken installer writes its entry straight into the Uninstall key,
    // which holds every other program's entry: its values are its own, the key is not.
    if (!brokenEntryWritten_ && later_.Percent(8)) {
      brokenEntryWritten_ = true;
      key = uninstall.substr(0, uninstall.size() - 1);
      m_.registry.PutKey(key);
      for (const wchar_t* value : {L"DisplayName", L"Publisher", L"InstallLocation", L"UninstallString", L"DisplayIcon"})
        result_.owners.Exact(Lower(ValuePath(key, value)), index);
    } else {
      OwnKey(key, index);
    }
    m_.registry.PutString(key, L"DisplayName", name);
    m_.registry.PutString(key, L"Publisher", publisher);
    bool uninstallerInFolder = false;
    switch (random_.Below(4)) {
      case 0: m_.registry.PutString(key, L"UninstallString", L"RunDll32 " + kInstallShield + L",LaunchSetup"); break;
      case 1: m_.registry.PutString(key, L"UninstallString", L"MsiExec.exe /X" + random_.Guid()); break;
      default:
        m_.registry.PutString(key, L"UninstallString", Quoted(place.written + L"\\uninstall.exe") + L" /uninstall");
        uninstallerInFolder = true;
        break;
    }
    // Most installers whose uninstaller lies in the install folder record no
    // folder; the scan then goes by the uninstaller's. (Where nothing in the
    // entry leads to the folder, no scanner can tell it is the program's.)
    if (!(uninstallerInFolder && unrecorded_.Percent(40)))
      m_.registry.PutString(key, L"InstallLocation", place.written);
    switch (random_.Below(3)) {
      case 0: m_.registry.PutString(key, L"DisplayIcon", L"C:\\Windows\\System32\\shell32.dll,4"); break;
      case 1: m_.registry.PutString(key, L"DisplayIcon", kProfile + L"\\Documents\\report.docx"); break;
      default: m_.registry.PutString(key, L"DisplayIcon", exe + L",0"); break;
    }
  }

  // Settings in the profile and the registry, under the publisher's name;
  // the publisher's folder and key are the program's while no other program
  // on the machine has the same publisher.
  void Settings(int index, const std::wstring& name, const std::wstring& publisher, const TPlace& place) {
    result_.owners.Tree(Lower(kRoaming + L"\\" + publisher), index);
    result_.owners.Tree(Lower(L"HKCU\\Software\\" + publisher), index);
    File(kRoaming + L"\\" + publisher + L"\\" + name + L"\\settings.ini", index);
    OwnKey(L"HKCU\\Software\\" + publisher + L"\\" + name, index);
    m_.registry.PutString(L"HKCU\\Software\\" + publisher + L"\\" + name, L"InstallDir", place.written);
    const std::wstring machine = (random_.Percent(50) ? L"HKLM\\SOFTWARE\\" : L"HKLM\\SOFTWARE\\Wow6432Node\\") + name;
    OwnKey(machine, index);
    m_.registry.PutString(machine, L"Path", place.written);
    // A suite's key named like the program that also records the user's
    // folder: the program's value goes, the key is the suite's.
    if (vendors_.Percent(30)) {
      const std::wstring suite = L"HKLM\\SOFTWARE\\Suite Shared\\" + name;
      String(suite, L"InstallDir", place.written, index);
      String(suite, L"Documents", kProfile + L"\\Documents", kNobody);
    }
  }

  void Registrations(int index, const std::wstring& shortName, const std::wstring& exe) {
    const std::wstring command = Quoted(exe) + L" \"%1\"";
    if (random_.Percent(50)) {
      const std::wstring clsid = kClasses + L"CLSID\\" + random_.Guid();
      OwnKey(clsid, index);
      m_.registry.PutString(clsid + L"\\InprocServer32", L"", exe);
    }
    if (random_.Percent(50)) {
      const std::wstring progId = shortName + L".Document";
      OwnKey(kClasses + L"." + shortName, index);
      m_.registry.PutString(kClasses + L"." + shortName, L"", progId);
      OwnKey(kClasses + progId, index);
      m_.registry.PutString(kClasses + progId + L"\\shell\\open\\command", L"", command);
    }
    // A verb of its own in a class others use, and a class taken over.
    if (random_.Percent(40)) {
      const std::wstring verb = kClasses + (random_.Percent(50) ? L"txtfile" : kSharedClass) + L"\\shell\\" + shortName;
      OwnKey(verb, index);
      m_.registry.PutString(verb + L"\\command", L"", command);
    }
    if (random_.Percent(20)) {
      const std::wstring open = kClasses + L"http\\shell\\open";
      m_.registry.PutString(open + L"\\command", L"", command);
      // Its command replaced the one before: the verb is the last writer's.
      result_.owners.exact[Lower(ValuePath(open + L"\\command", L""))] = index;
      result_.owners.trees[Lower(open)] = index;
    }
    if (random_.Percent(40)) {
      OwnKey(kServices + shortName + L"Svc", index);
      m_.registry.PutString(kServices + shortName + L"Svc", L"ImagePath", Quoted(exe));
    }
    if (random_.Percent(50)) String(random_.Percent(50) ? kWindows + L"Run" : kUserWindows + L"Run", shortName, Quoted(exe), index);
    if (random_.Percent(50)) {
      const std::wstring appPath = kWindows + L"App Paths\\" + shortName + L".exe";
      OwnKey(appPath, index);
      m_.registry.PutString(appPath, L"", exe);
    }
    if (random_.Percent(40)) {
      const std::wstring product = random_.Hex(32);
      const std::wstring component = kComponents + random_.Hex(32);
      OwnKey(component, index);
      m_.registry.PutString(component, product, exe);
      if (random_.Percent(50)) String(kSharedComponent, product, exe, index);
    }
    if (random_.Percent(60)) {
      const std::wstring menu = kCommonPrograms + L"\\" + shortName;
      OwnFolder(menu, index);
      Shortcut(menu + L"\\" + shortName + L".lnk", exe, index);
    }
    if (random_.Percent(30)) Shortcut(kProfile + L"\\Desktop\\" + shortName + L".lnk", exe, index);
    // A menu folder several programs and the user put shortcuts in.
    if (menus_.Percent(40)) Shortcut(kSharedMenu + L"\\" + shortName + L".lnk", exe, index);
    UserFileTypes(index, shortName, exe);
    if (pins_.Percent(40)) Shortcut(kTaskBar + L"\\" + shortName + L".lnk", exe, index);
  }

  // A per-user file type of its own, "Open with" entries in a type others
  // share, and a class of an earlier program it took over (that class keeps
  // its icon: only the verb is the last writer's).
  void UserFileTypes(int index, const std::wstring& shortName, const std::wstring& exe) {
    const std::wstring command = Quoted(exe) + L" \"%1\"";
    const std::wstring exeName = exe.substr(exe.rfind(L'\\') + 1);
    const std::wstring progId = shortName + L".Sketch";
    if (types_.Percent(50)) {
      OwnKey(kUserClasses + progId, index);
      m_.registry.PutString(kUserClasses + progId + L"\\DefaultIcon", L"", exe + L",1");
      m_.registry.PutString(kUserClasses + progId + L"\\shell\\open\\command", L"", command);
      OwnKey(kUserClasses + L"." + shortName + L"sk", index);
      m_.registry.PutString(kUserClasses + L"." + shortName + L"sk", L"", progId);
      m_.registry.PutString(kUserClasses + L"." + shortName + L"sk\\OpenWithProgids", progId, L"");
      OwnKey(kUserClasses + L"Applications\\" + exeName, index);
      m_.registry.PutString(kUserClasses + L"Applications\\" + exeName + L"\\shell\\open\\command", L"", command);
      if (types_.Percent(50)) String(kSharedType + L"\\OpenWithProgids", progId, L"", index);
      if (types_.Percent(50)) String(kSharedType + L"\\OpenWithList", std::wstring(1, L'a' + index), exeName, index);
      if (types_.Percent(50)) String(kSharedType + L"\\OpenWithList", exeName, L"", index);
    }
    if (index > 0 && types_.Percent(30)) {
      const std::wstring other = kUserClasses + L"Taken" + std::to_wstring(index - 1);
      OwnKey(other, index - 1);
      String(other + L"\\DefaultIcon", L"", realFolders_[static_cast<std::size_t>(index - 1)] + L"\\icon.ico", index - 1);
      String(other + L"\\shell\\open\\command", L"", command, index);
      result_.owners.trees[Lower(other + L"\\shell\\open")] = index;
    }
  }

  sim::SimMachine& m_;
  TRandom random_;
  TRandom later_;
  TRandom unrecorded_;
  TRandom menus_;
  TRandom types_;
  TRandom vendors_;
  TRandom pins_;
  bool brokenEntryWritten_ = false;
  THostileMachine result_;
  std::vector<bool> ownFolders_;
  std::vector<std::wstring> realFolders_;
};

void Mark(std::map<std::wstring, int>& marks, const std::wstring& path, int owner) {
  const auto [it, added] = marks.emplace(path, owner);
  if (!added && it->second != owner) it->second = kNobody;
}

}  // namespace

void TOwnerMarks::Tree(const std::wstring& path, int owner) { Mark(trees, path, owner); }
void TOwnerMarks::Exact(const std::wstring& path, int owner) { Mark(exact, path, owner); }

int TOwnerMarks::OwnerOf(const std::wstring& path) const {
  if (const auto it = exact.find(path); it != exact.end()) return it->second;
  for (std::wstring up = path;;) {
    if (const auto it = trees.find(up); it != trees.end()) return it->second;
    const std::size_t slash = up.rfind(L'\\');
    if (slash == std::wstring::npos) return kNobody;
    up.resize(slash);
  }
}

std::wstring ValuePath(const std::wstring& key, const std::wstring& name) { return key + L"\\*" + name; }

THostileMachine BuildHostileMachine(sim::SimMachine& machine, std::uint32_t seed) {
  return THostileBuilder(machine, seed).Run();
}

}  // namespace orvix::bench
