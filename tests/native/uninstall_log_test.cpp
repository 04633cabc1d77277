// The day's uninstall log: its place, its name by local date, its two
// headers and appending to it.
#include <gtest/gtest.h>

#include "log_fixture.h"
#include "platform/texts.h"

namespace orvix {
namespace {

using Lines = std::vector<std::wstring>;

class UninstallLogTest : public testing::LogTest {};

const std::wstring kRule(36, L'=');

TEST_F(UninstallLogTest, FirstWriterOfTheDayWritesItsHeaderOnce) {
  const std::wstring folder = L"C:\\Users\\Ann\\AppData\\Roaming\\Orvix\\Orvix Uninstaller\\Log\\";
  ASSERT_FALSE(Machine().files.Exists(folder));
  EXPECT_EQ(TodaysLog(), folder + L"2013-05-31.log");

  ASSERT_TRUE(AppendUninstallLog({L"[Foo]", L"Date:5/31/2013 2:03:07 PM", L""}, UninstallWindowLogHeader));
  SetMoment(2013, 5, 31, 23, 59, 59);
  ASSERT_TRUE(AppendUninstallLog({L"[Bar]"}, ReviewLogHeader));

  const Lines expected = {kRule,
                          L"Orvix Uninstaller Log",
                          L"Applicaption Version: 3.1.0.7",
                          L"Operation System Verison: Windows 10",
                          L"Date:2013-05-31 14:03:07",
                          kRule,
                          L"",
                          L"[Foo]",
                          L"Date:5/31/2013 2:03:07 PM",
                          L"",
                          L"[Bar]"};
  EXPECT_EQ(LogLines(folder + L"2013-05-31.log"), expected);
}

TEST_F(UninstallLogTest, TheReviewHeaderHasNoBlankAfterItsColonsAndATranslatedTitle) {
  const TTextSource previous = SetTextSource([](const std::wstring& key) -> std::optional<std::wstring> {
    if (key == L"Log_M") return L"Protokoll";
    return std::nullopt;
  });
  const bool written = AppendUninstallLog({L"[Foo]"}, ReviewLogHeader);
  SetTextSource(previous);
  ASSERT_TRUE(written);
  const Lines expected = {kRule,
                          L"Orvix Uninstaller Protokoll",
                          L"Applicaption Version:3.1.0.7",
                          L"Operation System Verison:Windows 10",
                          L"Date:2013-05-31 14:03:07",
                          kRule,
                          L"",
                          L"[Foo]"};
  EXPECT_EQ(LogLines(TodaysLog()), expected);
}

TEST_F(UninstallLogTest, ANewLocalDayStartsANewFile) {
  AppendUninstallLog({L"[Foo]"}, ReviewLogHeader);
  // 23:30 UTC is already the next day two hours east.
  SetMoment(2013, 5, 31, 23, 30, 0);
  Machine().clock.SetUtcOffsetMinutes(120);
  AppendUninstallLog({L"[Bar]"}, ReviewLogHeader);
  const Lines second = LogLines(UninstallLogFolder() + L"2013-06-01.log");
  ASSERT_EQ(second.size(), 8u);
  EXPECT_EQ(second[4], L"Date:2013-06-01 01:30:00");
  EXPECT_EQ(second.back(), L"[Bar]");
  EXPECT_EQ(LogLines(UninstallLogFolder() + L"2013-05-31.log").back(), L"[Foo]");
}

TEST_F(UninstallLogTest, KeepsLinesOfFilesWrittenByOthers) {
  // An older file with LF line ends and no byte-order mark: read in the ANSI
  // code page, written back as UTF-16LE.
  Machine().files.PutFile(TodaysLog(), std::string_view("[Old]\ncaf\xe9\n"));
  ASSERT_TRUE(AppendUninstallLog({L"[New]"}, ReviewLogHeader));
  EXPECT_EQ(LogLines(TodaysLog()), (Lines{L"[Old]", L"caf\u00e9", L"[New]"}));
}

TEST_F(UninstallLogTest, AFileThatCannotBeReadIsNeverReplaced) {
  Machine().files.PutFile(TodaysLog(), std::string_view("[Old]\r\n"));
  Machine().files.LockFile(TodaysLog(), 0);
  EXPECT_FALSE(AppendUninstallLog({L"[New]"}, ReviewLogHeader));
  Machine().files.UnlockFile(TodaysLog());
  EXPECT_EQ(Machine().files.FileText(TodaysLog()), "[Old]\r\n");
}

}  // namespace
}  // namespace orvix
