// The exported software list, byte for byte.
#include "inventory/list_export.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::Add;
using testing::DateOf;
using testing::Entry;

class ListExportTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    Machine().versions.AttachStrings(Machine().shell.GetModuleFileName(), {{L"FileVersion", L"3.1.0.0"}});
    testing::SetNow(Machine().clock, DateOf(2024, 3, 5) + (14 * 3600 + 7 * 60 + 9) / 86400.0);

    TSoftInfo cafe = Entry(L"Caf\u00e9 Tools \u2713");
    cafe.DisplayVersion = L"2.1";
    cafe.Publisher = L"\u00c7ompany";
    cafe.InstallDateText = L"3/1/2024";
    cafe.SizeText = L"1.50 MB";
    cafe.HelpLink = L"https://example.test/help";
    cafe.KeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Cafe";
    cafe.UninstallString = L"\"C:\\Program Files\\Cafe\\unins000.exe\"";
    Add(items, cafe);
    TSoftInfo gone = Entry(L"Removed App");
    gone.Hidden = true;
    Add(items, gone);
    TSoftInfo update = Entry(L"Security Update for Windows (KB123456)");
    update.IsUpdate = true;
    update.RootName = L"HKEY_CURRENT_USER";
    Add(items, update);
  }

  TSoftList items;
  const std::wstring expected =
      L"====================================\r\n"
      L"Software List\r\n"
      L"Application Version:3.1.0.0\r\n"
      L"Windows 10\r\n"
      L"Exported Time:03-05-2024 14:07:09\r\n"
      L"====================================\r\n"
      L"\r\n"
      L"Software Name: Caf\u00e9 Tools \u2713\r\n"
      L"Version: 2.1\r\n"
      L"Publisher: \u00c7ompany\r\n"
      L"Install Time: 3/1/2024\r\n"
      L"Size: 1.50 MB\r\n"
      L"Help info: https://example.test/help\r\n"
      L"Registry Key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Cafe\r\n"
      L"Uninstall Command: \"C:\\Program Files\\Cafe\\unins000.exe\"\r\n"
      L"----------------------------------------------\r\n"
      L"\r\n"
      L"Software Name: Security Update for Windows (KB123456)\r\n"
      L"Version: -\r\n"
      L"Publisher:  \r\n"
      L"Install Time: \r\n"
      L"Size: \r\n"
      L"Help info: -\r\n"
      L"Registry Key: HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
      L"Security Update for Windows (KB123456)\r\n"
      L"Uninstall Command: C:\\Program Files\\Security Update for Windows (KB123456)\\uninst.exe\r\n"
      L"----------------------------------------------\r\n"
      L"\r\n";
};

TEST_F(ListExportTest, WritesEveryVisibleEntryAsUtf16WithByteOrderMark) {
  const std::wstring path = L"C:\\Users\\Ann\\Documents\\Software List.txt";
  ASSERT_TRUE(SaveSoftwareList(path, items, L"ADD-ONS\r\n"));

  const std::optional<Bytes> bytes = Machine().files.FileBytes(path);
  ASSERT_TRUE(bytes);
  Bytes want = {0xFF, 0xFE};
  const Bytes body = ToUtf16Le(expected + L"ADD-ONS\r\n");
  want.insert(want.end(), body.begin(), body.end());
  EXPECT_EQ(*bytes, want);
  EXPECT_EQ(testing::Narrow(FromUtf16Le(bytes->data() + 2, bytes->size() - 2)),
            testing::Narrow(expected + L"ADD-ONS\r\n"));
  // The check mark is one UTF-16 unit, low byte first.
  const std::size_t check = 2 + 2 * expected.find(L'\u2713');
  EXPECT_EQ((*bytes)[check], 0x13);
  EXPECT_EQ((*bytes)[check + 1], 0x27);
}

TEST_F(ListExportTest, ReplacesAnOldFileAndReportsAFolderThatIsMissing) {
  const std::wstring path = L"C:\\Users\\Ann\\Documents\\list.txt";
  Machine().files.PutFile(path, std::string_view("old"));
  ASSERT_TRUE(SaveSoftwareList(path, items));
  EXPECT_EQ(Machine().files.FileBytes(path)->size(), 2 + 2 * expected.size());
  EXPECT_EQ(Machine().files.ListNames(L"C:\\Users\\Ann\\Documents"), (std::vector<std::wstring>{L"list.txt"}))
      << "no temporary file is left behind";

  EXPECT_FALSE(SaveSoftwareList(L"C:\\No Such Folder\\list.txt", items));
  EXPECT_FALSE(Machine().files.Exists(L"C:\\No Such Folder"));
}

TEST(ListExportNamesTest, TimesAndFileNames) {
  EXPECT_EQ(ExportTimeText(DateOf(2024, 3, 5)), L"03-05-2024 00:00:00");
  EXPECT_EQ(ExportTimeText(DateOf(2024, 12, 31, 23) + 59.5 / 1440), L"12-31-2024 23:59:30");
  EXPECT_EQ(ExportTimeText(DateOf(2024, 12, 31) + 0.9999999999), L"01-01-2025 00:00:00")
      << "a time that rounds to midnight is the next day";

  const struct {
    const wchar_t* chosen;
    const wchar_t* file;
  } names[] = {
      {L"C:\\Docs\\Software List", L"C:\\Docs\\Software List.txt"},
      {L"C:\\Docs\\list.TXT", L"C:\\Docs\\list.TXT"},
      {L"C:\\Docs\\list.txt.bak", L"C:\\Docs\\list.txt.bak"},
      {L"C:\\notes.txt\\list", L"C:\\notes.txt\\list.txt"},
      {L"list", L"list.txt"},
  };
  for (const auto& n : names) EXPECT_EQ(ExportFileName(n.chosen), n.file) << testing::Narrow(n.chosen);
}

}  // namespace
}  // namespace orvix
