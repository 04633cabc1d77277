#include "platform/settings.h"

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

constexpr WorkAreaSize kWorkArea{1920, 1040};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appData_ = machine_.shell.GetSpecialFolder(CSIDL_APPDATA);
    mainIni_ = appData_ + L"\\Orvix\\Orvix Uninstaller\\Main.ini";
  }
  void TearDown() override {
    // The flags belong to the process; the next test starts from false.
    WriteAutoUninstaller(false);
    WriteAutoPowerfulScan(false);
  }

  void PutMainIni(std::string_view text) { files_.PutFile(mainIni_, text); }
  std::wstring MainIniText() { return DecodeTextFile(files_.FileBytes(mainIni_).value_or(Bytes{})); }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
  sim::SimFileSystem& files_ = machine_.files;
  std::wstring appData_;
  std::wstring mainIni_;
};

TEST_F(SettingsTest, AFreshProfileGetsTheDataFolderAndDefaultsButNoMainIniUntilAWrite) {
  ASSERT_FALSE(appData_.empty());
  ASSERT_FALSE(files_.Exists(appData_ + L"\\Orvix"));
  EXPECT_EQ(DataFolder(), appData_ + L"\\Orvix\\Orvix Uninstaller\\");
  EXPECT_TRUE(files_.IsFolder(appData_ + L"\\Orvix\\Orvix Uninstaller"));
  EXPECT_EQ(SettingsPath(), mainIni_);

  EXPECT_EQ(ReadLanguage(), L"English");
  EXPECT_FALSE(ReadAutoUninstaller());
  EXPECT_FALSE(ReadAutoPowerfulScan());
  EXPECT_FALSE(ReadCreateRestore());
  EXPECT_FALSE(ReadBatchUninstall());
  EXPECT_EQ(ReadListViewStyle(), 0);
  EXPECT_EQ(ReadUpdateDataBaseDate(), L"");
  const MainWindowPlacement placement = ReadMainWindowPlacement(kWorkArea);
  EXPECT_FALSE(placement.maximized);
  EXPECT_EQ(placement.width, 870);
  EXPECT_EQ(placement.height, 570);
  EXPECT_EQ(placement.left, (1920 - 870) / 2);
  EXPECT_EQ(placement.top, (1040 - 570) / 2);
  const SoftwareListSort sort = ReadSoftwareListSort();
  EXPECT_EQ(sort.columnIndex, 0);
  EXPECT_EQ(sort.sortState, 1);
  EXPECT_FALSE(files_.Exists(mainIni_));

  ASSERT_TRUE(WriteCreateRestore(true));
  EXPECT_EQ(MainIniText(), L"[Main]\r\nCreateRestore=1\r\n");
}

TEST_F(SettingsTest, EveryKeyIsWrittenUnderItsNameAndReadBack) {
  EXPECT_TRUE(WriteLanguage(L"Portuguese(PT-BR)"));
  EXPECT_TRUE(WriteAutoUninstaller(true));
  EXPECT_TRUE(WriteAutoPowerfulScan(false));
  EXPECT_TRUE(WriteCreateRestore(true));
  EXPECT_TRUE(WriteBatchUninstall(true));
  EXPECT_TRUE(WriteListViewStyle(1));
  EXPECT_TRUE(WriteUpdateDataBaseDate(L"05/31/2013 14:02:59"));
  EXPECT_TRUE(WriteSoftwareListSort({3, 2}));
  EXPECT_TRUE(WriteMainWindowPlacement({false, 10, 20, 1000, 700}));
  EXPECT_EQ(MainIniText(),
            L"[Main]\r\nLanguage=Portuguese(PT-BR)\r\nAutoUninstaller=1\r\nAutoPowerfulScan=0\r\nCreateRestore=1\r\n"
            L"Batch Uninstall=1\r\nListView_ViewStyle=1\r\nUpdateDataBaseDate=05/31/2013 14:02:59\r\n"
            L"WindowState=0\r\nWidth=1000\r\nHeight=700\r\nLeft=10\r\nTop=20\r\n"
            L"[Software]\r\nColumnIndex=3\r\nSortState=2\r\n");

  EXPECT_EQ(ReadLanguage(), L"Portuguese(PT-BR)");
  EXPECT_TRUE(ReadCreateRestore());
  EXPECT_TRUE(ReadBatchUninstall());
  EXPECT_EQ(ReadListViewStyle(), 1);
  EXPECT_EQ(ReadUpdateDataBaseDate(), L"05/31/2013 14:02:59");
  EXPECT_EQ(ReadSoftwareListSort().columnIndex, 3);
  EXPECT_EQ(ReadSoftwareListSort().sortState, 2);
}

TEST_F(SettingsTest, ValuesThatAreNotNumbersReadAsTheDefaults) {
  PutMainIni(
      "[Main]\r\nWidth=wide\r\nHeight=600\r\nLeft=\r\nTop=-5\r\nWindowState=max\r\nListView_ViewStyle=icons\r\n"
      "AutoUninstaller=2\r\nCreateRestore=yes\r\n[Software]\r\nSortState=down\r\n");
  const MainWindowPlacement placement = ReadMainWindowPlacement(kWorkArea);
  EXPECT_FALSE(placement.maximized);
  EXPECT_EQ(placement.width, 870);
  EXPECT_EQ(placement.height, 600);
  EXPECT_EQ(placement.left, (1920 - 870) / 2);  // centred with the width actually used
  EXPECT_EQ(placement.top, -5);
  EXPECT_EQ(ReadListViewStyle(), 0);
  EXPECT_TRUE(ReadAutoUninstaller());  // any integer but 0
  EXPECT_FALSE(ReadCreateRestore());
  EXPECT_EQ(ReadSoftwareListSort().sortState, 1);
}

TEST_F(SettingsTest, ClosingMaximisedKeepsTheLastNormalBounds) {
  ASSERT_TRUE(WriteMainWindowPlacement({false, 10, 20, 1000, 700}));
  ASSERT_TRUE(WriteMainWindowPlacement({true, -8, -8, 1936, 1056}));
  EXPECT_EQ(MainIniText(), L"[Main]\r\nWindowState=1\r\nWidth=1000\r\nHeight=700\r\nLeft=10\r\nTop=20\r\n");

  MainWindowPlacement placement = ReadMainWindowPlacement(kWorkArea);
  EXPECT_TRUE(placement.maximized);
  EXPECT_EQ(placement.left, 10);
  EXPECT_EQ(placement.top, 20);
  EXPECT_EQ(placement.width, 1000);
  EXPECT_EQ(placement.height, 700);

  ASSERT_TRUE(WriteMainWindowPlacement({false, 30, 40, 900, 600}));
  placement = ReadMainWindowPlacement(kWorkArea);
  EXPECT_FALSE(placement.maximized);
  EXPECT_EQ(placement.left, 30);
}

TEST_F(SettingsTest, ReadingTheAutomaticModesSetsTheProcessWideFlags) {
  PutMainIni("[Main]\r\nAutoUninstaller=1\r\nAutoPowerfulScan=1\r\n");
  EXPECT_FALSE(AutoUninstallerFlag());
  EXPECT_TRUE(ReadAutoUninstaller());
  EXPECT_TRUE(AutoUninstallerFlag());
  EXPECT_FALSE(AutoPowerfulScanFlag());
  EXPECT_TRUE(ReadAutoPowerfulScan());
  EXPECT_TRUE(AutoPowerfulScanFlag());

  EXPECT_TRUE(WriteAutoPowerfulScan(false));
  EXPECT_FALSE(AutoPowerfulScanFlag());
  EXPECT_TRUE(AutoUninstallerFlag());
}

TEST_F(SettingsTest, WithoutAnApplicationDataFolderNothingIsWrittenAnywhere) {
  machine_.shell.SetSpecialFolder(CSIDL_APPDATA, L"");
  EXPECT_EQ(DataFolder(), L"");
  EXPECT_EQ(SettingsPath(), L"");
  EXPECT_EQ(ReadLanguage(), L"English");
  EXPECT_FALSE(WriteLanguage(L"German"));
  EXPECT_FALSE(files_.Exists(L"Main.ini"));
}

}  // namespace
}  // namespace orvix
