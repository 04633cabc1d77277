// orvix_profile_switch: the Chrome or Firefox cleaner's switch over a real
// browser profile of this machine, for tests/browsers/real_browsers.py. The
// profile is copied into a simulated Windows machine (Chromium's "Default"
// profile below the local application data, a Firefox profile named by
// profiles.ini below the roaming one), the cleaner lists its add-ons and
// switches the one asked for, and the files it changed are copied back.
//
//   orvix_profile_switch chrome|firefox PROFILE_FOLDER disable|enable ID
//
// Exit code 0 when the cleaner reported the switch done, 1 when it did not,
// 2 for wrong arguments or an add-on it does not list.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "addons/chrome_browser_cleaner.h"
#include "addons/firefox_browser_cleaner.h"
#include "native/browser_fixtures.h"
#include "platform/sim/sim_machine.h"

using namespace orvix;

namespace {

int Usage() {
  std::fputs("usage: orvix_profile_switch chrome|firefox PROFILE_FOLDER disable|enable ID\n", stderr);
  return 2;
}

// Where the profile goes in the machine; Firefox's also gets a profiles.ini.
std::wstring PlaceProfile(sim::SimMachine& machine, bool chrome, const std::filesystem::path& profile) {
  TChromeBrowserCleaner folders;
  if (chrome) {
    const std::wstring target = folders.LocalAppDataDir + L"\\Chromium\\User Data\\Default";
    testing::CopyIntoMachine(machine, profile, target);
    return target;
  }
  const std::wstring mozilla = folders.AppDataDir + L"\\Mozilla\\Firefox";
  const std::wstring target = mozilla + L"\\Profiles\\probe.default";
  testing::CopyIntoMachine(machine, profile, target);
  machine.files.PutFile(mozilla + L"\\profiles.ini",
                        "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/probe.default\r\nDefault=1\r\n");
  return target;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return Usage();
  const std::string browser = argv[1];
  const std::string action = argv[3];
  if ((browser != "chrome" && browser != "firefox") || (action != "disable" && action != "enable")) return Usage();
  const std::filesystem::path profile = argv[2];
  const std::wstring id = std::filesystem::path(argv[4]).wstring();

  sim::SimMachine machine;
  ScopedPlatform scope(machine);
  const std::wstring target = PlaceProfile(machine, browser == "chrome", profile);
  std::unique_ptr<TCustomBrowserCleaner> cleaner;
  if (browser == "chrome") {
    cleaner = std::make_unique<TChromeBrowserCleaner>();
  } else {
    cleaner = std::make_unique<TFFBrowserCleaner>();
  }
  cleaner->IncludeInactive = true;  // a switched-off add-on is listed to be switched on
  cleaner->List();
  const TPluginItem* item = nullptr;
  for (const auto& listed : cleaner->Items) {
    if (listed->ItemID == id) item = listed.get();
  }
  if (item == nullptr) {
    std::fprintf(stderr, "orvix_profile_switch: the %s cleaner lists no add-on %s\n", argv[1], argv[4]);
    return 2;
  }
  bool done = false;
  cleaner->OnPluginAction = [&done](TCustomBrowserCleaner&, TPluginItem* entry, bool success, std::uint8_t action) {
    if (entry != nullptr && (action == paRemoved || action == paRestored)) done = success;
  };
  const std::wstring itemId = item->ID;
  if (action == "disable") {
    cleaner->RemoveItems({itemId});
  } else {
    cleaner->RestoreItems({itemId});
  }
  const int written = testing::CopyChangesOut(machine, target, profile);
  std::printf("orvix_profile_switch: %s %s: %s, %d file(s) written back\n", argv[3], argv[4],
              done ? "done" : "FAILED", written);
  return done ? 0 : 1;
}
