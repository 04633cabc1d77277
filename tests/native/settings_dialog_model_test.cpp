#include "platform/settings_dialog_model.h"

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "platform/settings.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

const std::vector<std::wstring> kLanguages{L"English", L"Deutsch", L"Fran\u00e7ais"};

class SettingsDialogModelTest : public ::testing::Test {
 protected:
  void TearDown() override {
    WriteAutoUninstaller(false);
    WriteAutoPowerfulScan(false);
  }
  std::wstring MainIniText() { return DecodeTextFile(machine_.files.FileBytes(SettingsPath()).value_or(Bytes{})); }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
};

TEST_F(SettingsDialogModelTest, StartsFromMainIniWithOkDisabled) {
  machine_.files.PutFile(DataFolder() + L"Main.ini", "[Main]\r\nAutoPowerfulScan=1\r\n");
  SettingsDialogModel model(kLanguages, L"deutsch");
  EXPECT_FALSE(model.AutoUninstaller());
  EXPECT_TRUE(model.AutoPowerfulScan());
  EXPECT_TRUE(AutoPowerfulScanFlag());
  EXPECT_EQ(model.SelectedLanguage(), 1);  // found ignoring case
  EXPECT_FALSE(model.OkEnabled());
  EXPECT_EQ(model.Ok(), std::nullopt);  // a disabled OK does nothing
  EXPECT_EQ(MainIniText(), L"[Main]\r\nAutoPowerfulScan=1\r\n");

  EXPECT_EQ(SettingsDialogModel(kLanguages, L"Klingon").SelectedLanguage(), -1);
}

TEST_F(SettingsDialogModelTest, OkWritesBothFlagsAndKeepsTheLanguageWhenUnchanged) {
  SettingsDialogModel model(kLanguages, L"English");
  model.ToggleAutoUninstaller();
  EXPECT_TRUE(model.OkEnabled());
  model.ToggleAutoUninstaller();  // back again: OK stays enabled
  model.ToggleAutoPowerfulScan();
  EXPECT_TRUE(model.OkEnabled());
  EXPECT_FALSE(AutoPowerfulScanFlag());  // nothing stored before OK
  EXPECT_FALSE(FileExists(SettingsPath()));

  EXPECT_EQ(model.Ok(), std::nullopt);
  EXPECT_FALSE(AutoUninstallerFlag());
  EXPECT_TRUE(AutoPowerfulScanFlag());
  EXPECT_EQ(MainIniText(), L"[Main]\r\nAutoUninstaller=0\r\nAutoPowerfulScan=1\r\n");
}

TEST_F(SettingsDialogModelTest, PickingAnotherLanguageEnablesOkAndOkNamesIt) {
  SettingsDialogModel model(kLanguages, L"English");
  model.SelectLanguage(0);  // the language already shown
  EXPECT_FALSE(model.OkEnabled());
  model.SelectLanguage(7);  // no such item
  EXPECT_FALSE(model.OkEnabled());
  model.SelectLanguage(2);
  EXPECT_TRUE(model.OkEnabled());
  EXPECT_EQ(model.Ok(), std::optional<std::wstring>(L"Fran\u00e7ais"));
  EXPECT_EQ(MainIniText(), L"[Main]\r\nAutoUninstaller=0\r\nAutoPowerfulScan=0\r\n");  // the caller writes Language

  SettingsDialogModel back(kLanguages, L"English");
  back.SelectLanguage(2);
  back.SelectLanguage(0);  // and back to the one shown at the start
  EXPECT_EQ(back.Ok(), std::nullopt);
}

TEST_F(SettingsDialogModelTest, CancelWritesNothing) {
  {
    SettingsDialogModel model(kLanguages, L"English");
    model.ToggleAutoUninstaller();
    model.SelectLanguage(1);
  }  // closed without OK
  EXPECT_FALSE(FileExists(SettingsPath()));
  EXPECT_FALSE(AutoUninstallerFlag());
}

}  // namespace
}  // namespace orvix
