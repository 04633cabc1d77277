// Which view each build asks Windows for: the registry class names the
// 64-bit view, or none, per key; the backend of each build turns that into
// the access it passes. Observed through a registry that records every open
// in front of the simulated machine's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "named_case.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/registry_views.h"
#include "platform/sim/sim_machine.h"

namespace orvix::testing {
namespace {

struct AskedKey {
  HKEY parent;
  std::wstring subKey;
  REGSAM view;
};

class RecordingRegistry : public IRegistryApi {
 public:
  explicit RecordingRegistry(IRegistryApi& inner) : inner_(inner) {}

  std::vector<AskedKey> asked;

  LSTATUS OpenKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) override {
    asked.push_back({parent, subKey, access & KEY_WOW64_RES});
    return inner_.OpenKey(parent, subKey, access, result);
  }
  LSTATUS CreateKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) override {
    asked.push_back({parent, subKey, access & KEY_WOW64_RES});
    return inner_.CreateKey(parent, subKey, access, result);
  }
  LSTATUS CloseKey(HKEY key) override { return inner_.CloseKey(key); }
  LSTATUS FlushKey(HKEY key) override { return inner_.FlushKey(key); }
  LSTATUS QueryInfoKey(HKEY key, RegKeyInfo* info) override { return inner_.QueryInfoKey(key, info); }
  LSTATUS EnumKey(HKEY key, DWORD index, std::wstring* name) override { return inner_.EnumKey(key, index, name); }
  LSTATUS EnumValue(HKEY key, DWORD index, std::wstring* name) override {
    return inner_.EnumValue(key, index, name);
  }
  LSTATUS QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override {
    return inner_.QueryValue(key, name, type, data, size);
  }
  LSTATUS SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override {
    return inner_.SetValue(key, name, type, data, size);
  }
  LSTATUS DeleteKey(HKEY parent, const std::wstring& subKey, REGSAM viewSam) override {
    asked.push_back({parent, subKey, viewSam & KEY_WOW64_RES});
    return inner_.DeleteKey(parent, subKey, viewSam);
  }
  LSTATUS DeleteValue(HKEY key, const std::wstring& name) override { return inner_.DeleteValue(key, name); }

 private:
  IRegistryApi& inner_;
};

// A simulated machine whose registry is seen through the recorder.
class RecordingMachine : public sim::SimMachine {
 public:
  explicit RecordingMachine(sim::Bitness bitness) : SimMachine(Options(bitness)), recorder(registry) {
    registry_ = &recorder;
  }
  RecordingRegistry recorder;

 private:
  static sim::MachineOptions Options(sim::Bitness bitness) {
    sim::MachineOptions options;
    options.bitness = bitness;
    return options;
  }
};

constexpr REGSAM kNone = 0;

struct ViewAccessCase : NamedCase {
  sim::Bitness machine;
  HKEY root;
  const wchar_t* opened;  // an existing parent, opened first in the same view; or null
  const wchar_t* path;    // relative to `opened` when that is given
  bool view64;
  const wchar_t* askedFromRoot;  // the whole path the last open asks for, from the root
  REGSAM askedView;              // the view bits the registry class asks for
  REGSAM build32;                // what the 32-bit build passes to Windows
  REGSAM build64;                // what the 64-bit build passes
};

class RegistryViewAccess : public ::testing::TestWithParam<ViewAccessCase> {};

TEST_P(RegistryViewAccess, AsksForTheViewWindowsKeepsTheKeyIn) {
  const ViewAccessCase& c = GetParam();
  RecordingMachine machine(c.machine);
  ScopedPlatform scope(machine);
  TRegistry reg;
  reg.SetRootKey(c.root);
  if (c.view64) reg.Access |= KEY_WOW64_64KEY;
  if (c.opened != nullptr) {
    ASSERT_TRUE(reg.OpenKey(c.opened, true));
  }
  machine.recorder.asked.clear();
  ASSERT_TRUE(reg.OpenKey(c.path, true));
  reg.CloseKey();

  ASSERT_EQ(machine.recorder.asked.size(), 1u);
  const AskedKey& asked = machine.recorder.asked.front();
  if (c.askedFromRoot != nullptr) {
    EXPECT_EQ(asked.parent, c.root);
    EXPECT_EQ(asked.subKey, c.askedFromRoot);
  }
  EXPECT_EQ(asked.view, c.askedView);
  EXPECT_EQ(ProcessViewAccess(asked.view, false), c.build32);
  EXPECT_EQ(ProcessViewAccess(asked.view, true), c.build64);
}

constexpr auto x64 = sim::Bitness::x64;
constexpr auto x86 = sim::Bitness::x86;
constexpr REGSAM k64 = KEY_WOW64_64KEY;
constexpr REGSAM k32 = KEY_WOW64_32KEY;

INSTANTIATE_TEST_SUITE_P(
    Table, RegistryViewAccess,
    ::testing::Values(
        // Outside the classes the core's view is the one asked for.
        ViewAccessCase{{"Uninstall32"}, x64, HKEY_LOCAL_MACHINE, nullptr,
                       L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false, nullptr, kNone, kNone, k32},
        ViewAccessCase{{"Uninstall64"}, x64, HKEY_LOCAL_MACHINE, nullptr,
                       L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true, nullptr, k64, k64, k64},
        ViewAccessCase{{"UserRun32"}, x64, HKEY_CURRENT_USER, nullptr,
                       L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", false, nullptr, kNone, kNone, k32},
        // Shared classes: the 64-bit view, the same key on Windows.
        ViewAccessCase{{"MachineFileType32"}, x64, HKEY_LOCAL_MACHINE, nullptr, L"\\SOFTWARE\\Classes\\.orvix",
                       false, L"SOFTWARE\\Classes\\.orvix", k64, k64, k64},
        ViewAccessCase{{"ClassesKey32"}, x64, HKEY_LOCAL_MACHINE, nullptr, L"\\SOFTWARE\\Classes", false,
                       L"SOFTWARE\\Classes", k64, k64, k64},
        ViewAccessCase{{"ClassesRoot32"}, x64, HKEY_CLASSES_ROOT, nullptr, L"\\OrvixFile\\shell\\open", false,
                       L"OrvixFile\\shell\\open", k64, k64, k64},
        ViewAccessCase{{"UserFileType32"}, x64, HKEY_CURRENT_USER, nullptr, L"\\Software\\Classes\\.orvix", false,
                       L"Software\\Classes\\.orvix", k64, k64, k64},
        ViewAccessCase{{"TypeLib32"}, x64, HKEY_LOCAL_MACHINE, nullptr, L"\\SOFTWARE\\Classes\\TypeLib\\{1}", false,
                       L"SOFTWARE\\Classes\\TypeLib\\{1}", k64, k64, k64},
        // Redirected classes keep the 32-bit view.
        ViewAccessCase{{"Clsid32"}, x64, HKEY_LOCAL_MACHINE, nullptr, L"\\SOFTWARE\\Classes\\CLSID\\{1}", false,
                       L"SOFTWARE\\Classes\\CLSID\\{1}", kNone, kNone, k32},
        ViewAccessCase{{"RootInterface32"}, x64, HKEY_CLASSES_ROOT, nullptr, L"\\Interface\\{1}", false,
                       L"Interface\\{1}", kNone, kNone, k32},
        ViewAccessCase{{"MediaType32"}, x64, HKEY_CLASSES_ROOT, nullptr, L"\\media type\\video", false,
                       L"media type\\video", kNone, kNone, k32},
        ViewAccessCase{{"Clsid64"}, x64, HKEY_LOCAL_MACHINE, nullptr, L"\\SOFTWARE\\Classes\\CLSID\\{1}", true,
                       nullptr, k64, k64, k64},
        // A key opened below an open class key is asked for by its whole
        // path, from the root, in the view of that whole path.
        ViewAccessCase{{"ClsidBelowOpenClasses32"}, x64, HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes", L"CLSID\\{1}",
                       false, L"SOFTWARE\\Classes\\CLSID\\{1}", kNone, kNone, k32},
        ViewAccessCase{{"FileTypeBelowOpenSoftware32"}, x64, HKEY_LOCAL_MACHINE, L"\\SOFTWARE", L"Classes\\.orvix",
                       false, L"SOFTWARE\\Classes\\.orvix", k64, k64, k64},
        // A 32-bit machine has one view: no view bits (and no 64-bit build).
        ViewAccessCase{{"MachineFileTypeOn32BitWindows"}, x86, HKEY_LOCAL_MACHINE, nullptr,
                       L"\\SOFTWARE\\Classes\\.orvix", false, nullptr, kNone, kNone, k32}),
    CaseName{});

// Opened from the root by its whole path, a class key is still the key that
// relative names are resolved against: an empty name deletes nothing, and
// a child's name deletes only the child.
TEST(RegistryViewAccessDelete, RelativeNamesBelowAClassKeyStayBelowIt) {
  RecordingMachine machine(x64);
  ScopedPlatform scope(machine);
  machine.registry.PutKey(L"HKLM\\SOFTWARE\\Classes\\.orvix\\OpenWithList");
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey(L"\\SOFTWARE\\Classes\\.orvix", false));
  EXPECT_FALSE(reg.DeleteKey(L""));
  EXPECT_TRUE(reg.KeyExists(L"OpenWithList"));
  EXPECT_TRUE(reg.DeleteKey(L"OpenWithList"));
  reg.CloseKey();
  EXPECT_FALSE(RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes\\.orvix\\OpenWithList", false));
  EXPECT_TRUE(RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes\\.orvix", false));
}

}  // namespace
}  // namespace orvix::testing
