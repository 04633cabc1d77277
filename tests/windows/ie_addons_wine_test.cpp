// The Internet Explorer cleaner against Wine's real registry: a small COM
// server of ours, registered by regsvr32 as a browser helper object and as a
// toolbar, is listed, switched off (and then no longer listed) and switched
// on again.
#include <gtest/gtest.h>

#include <string>

#include "addons/ie_browser_cleaner.h"
#include "platform/platform.h"
#include "windows/raw_registry.h"
#include "windows/test_files.h"

namespace {

constexpr wchar_t kHelperClass[] = L"{6C1D5E0A-3B2F-4F7A-9E51-0A7C2D4B8E11}";
constexpr wchar_t kToolbarClass[] = L"{6C1D5E0A-3B2F-4F7A-9E51-0A7C2D4B8E12}";
constexpr wchar_t kSettings[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";

// The exit code of a command run to its end; 1 when it cannot start.
orvix::DWORD RunAndWait(const std::wstring& command) {
  orvix::IProcessApi& processes = orvix::CurrentPlatform().Processes();
  orvix::StartedProcess started;
  if (processes.CreateProcess(command, L"", 0, &started) != 0) return 1;
  processes.WaitForProcess(started.process, 60000);
  orvix::DWORD code = 1;
  processes.GetExitCode(started.process, &code);
  processes.CloseProcess(started);
  return code;
}

// Registers the server for one test and removes every trace afterwards.
class RegisteredHelper {
 public:
  RegisteredHelper() : dll_(orvix::test::BesideTestProgram(L"orvix_test_browser_helper.dll")) {
    registered = RunAndWait(L"regsvr32.exe /s \"" + dll_ + L"\"") == 0;
  }
  ~RegisteredHelper() {
    RunAndWait(L"regsvr32.exe /s /u \"" + dll_ + L"\"");
    for (const wchar_t* clsid : {kHelperClass, kToolbarClass})
      orvix::test::RawDeleteTree(std::wstring(kSettings) + clsid, orvix::test::kOwnView);
  }
  bool registered = false;

 private:
  std::wstring dll_;
};

const orvix::TPluginItem* Entry(const orvix::TCustomBrowserCleaner& cleaner, const wchar_t* clsid) {
  for (const auto& item : cleaner.Items) {
    if (item->ItemID == clsid) return item.get();
  }
  return nullptr;
}

TEST(IeAddonsWineTest, OurHelperAndToolbarAreListedSwitchedOffAndOnAgain) {
  RegisteredHelper helper;
  ASSERT_TRUE(helper.registered);
  const bool ours64 = sizeof(void*) == 8;  // regsvr32 of our own bitness registered it

  orvix::TIEBrowserCleaner cleaner;
  ASSERT_TRUE(cleaner.IsBrowserInstalled());
  cleaner.List();
  const orvix::TPluginItem* bho = Entry(cleaner, kHelperClass);
  const orvix::TPluginItem* toolbar = Entry(cleaner, kToolbarClass);
  ASSERT_NE(bho, nullptr);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(bho->Caption, L"Orvix Test Helper");
  EXPECT_EQ(bho->Collection.Kind, orvix::pgBHO);
  EXPECT_EQ(bho->Is64Bit, ours64);
  EXPECT_EQ(bho->Paths[0], std::wstring(L"80000002\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser "
                                        L"Helper Objects\\") + kHelperClass);
  EXPECT_EQ(toolbar->Caption, L"Orvix Test Toolbar");
  EXPECT_EQ(toolbar->Collection.Kind, orvix::pgToolbar);
  EXPECT_EQ(toolbar->Is64Bit, ours64);

  bool allSwitched = true;
  cleaner.OnPluginAction = [&](orvix::TCustomBrowserCleaner&, orvix::TPluginItem* item, bool ok, std::uint8_t) {
    if (item != nullptr) allSwitched = allSwitched && ok;
  };
  cleaner.RemoveItems({bho->ID, toolbar->ID});
  EXPECT_TRUE(allSwitched);

  orvix::TIEBrowserCleaner after;
  after.List();
  EXPECT_EQ(Entry(after, kHelperClass), nullptr);
  EXPECT_EQ(Entry(after, kToolbarClass), nullptr);

  orvix::TIEBrowserCleaner offToo;
  offToo.IncludeInactive = true;
  offToo.List();
  const orvix::TPluginItem* off = Entry(offToo, kHelperClass);
  ASSERT_NE(off, nullptr);
  EXPECT_FALSE(off->Active);
  offToo.RestoreItems({off->ID, Entry(offToo, kToolbarClass)->ID});

  orvix::TIEBrowserCleaner restored;
  restored.List();
  EXPECT_NE(Entry(restored, kHelperClass), nullptr);
  EXPECT_NE(Entry(restored, kToolbarClass), nullptr);
}

}  // namespace
