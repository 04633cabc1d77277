// The rater over Wine's real registry, shell and files: UserAssist values
// as Windows writes them, one naming its program by a known-folder id and
// one by a shortcut the real shell made.
#include <gtest/gtest.h>

#include <string>

#include "formats/text_codec.h"
#include "inventory/rating.h"
#include "inventory/rating_user_assist.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "windows/raw_registry.h"
#include "windows/shell_link_maker.h"
#include "windows/test_files.h"
#include "platform/win32/windows_api.h"

namespace {

// A REG_BINARY value under HKEY_CURRENT_USER (outside namespace orvix, where
// the root key macros' HKEY is Win32's).
bool SetUserBinary(const std::wstring& keyPath, const std::wstring& name, const orvix::Bytes& data) {
  ::HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = ::RegSetValueExW(key, name.c_str(), 0, REG_BINARY, data.data(),
                                   static_cast<::DWORD>(data.size())) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

}  // namespace

namespace orvix {
namespace {

const wchar_t* const kProgramFilesX86Id = L"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}";
const wchar_t* const kProgramFilesX64Id = L"{6D809377-6AF0-444B-8957-A3773F02200E}";

// A value's data in this Windows' layout, with the last start now.
Bytes StartedNow(int osKind) {
  const bool newer = osKind == kOsKindNewer;
  Bytes data(newer ? 72 : 16, 0);
  const FILETIME64 now = CurrentPlatform().Clock().NowUtc();
  for (std::size_t i = 0; i < 8; ++i) data[(newer ? 60 : 8) + i] = static_cast<std::uint8_t>(now >> (8 * i));
  return data;
}

TEST(RatingWine, RatesProgramsStartedByKnownFolderAndByShortcut) {
  const int osKind = UserAssistOsKind();
  const std::wstring countKey = UserAssistKeys(osKind)[0];
  const test::TestKey cleanup(L"HKEY_CURRENT_USER\\" + countKey, test::kOwnView);
  const std::wstring unique = test::UniqueKeyName();

  // Programs under either Program Files, recorded by the folder's id; the
  // 64-bit one the shell does not tell this 32-bit program.
  const std::wstring byId = Rot13(std::wstring(kProgramFilesX86Id) + L"\\" + unique + L"\\tool.exe");
  const std::wstring by64BitId = Rot13(std::wstring(kProgramFilesX64Id) + L"\\" + unique + L"\\tool64.exe");
  // A program started through a shortcut, recorded by the shortcut's path.
  test::ScratchFolder scratch;
  ASSERT_TRUE(ForceDirectories(scratch / L"App"));
  ASSERT_TRUE(test::WriteTestFile(scratch / L"App\\app.exe", "MZ"));
  ASSERT_TRUE(test::MakeShortcut(scratch / L"App.lnk", {.target = scratch / L"App\\app.exe"}));
  const std::wstring byShortcut = Rot13(scratch / L"App.lnk");

  for (const std::wstring& name : {byId, by64BitId, byShortcut})
    ASSERT_TRUE(SetUserBinary(countKey, name, StartedNow(osKind)));
  TAppRateHelper rater;
  for (const std::wstring& name : {byId, by64BitId, byShortcut})
    test::RawDeleteValue(L"HKEY_CURRENT_USER\\" + countKey, name, test::kOwnView);

  IShellApi& shell = CurrentPlatform().Shell();
  const std::wstring programFiles = shell.GetSpecialFolder(CSIDL_PROGRAM_FILESX86);
  const std::wstring programFiles64 = shell.GetEnvironmentVariable(L"ProgramW6432").value_or(L"");
  ASSERT_FALSE(programFiles64.empty()) << "the test prefix is 64-bit";
  for (const std::wstring& folder :
       {programFiles + L"\\" + unique, programFiles64 + L"\\" + unique, scratch / L"App"}) {
    const TAppUsage usage = rater.Rate(folder, 0);
    EXPECT_EQ(UseRangeName(usage.UseRange), L"audToday") << folder;
    EXPECT_EQ(usage.UseRate, aurOften) << folder;
    EXPECT_NEAR(usage.LastUseTime, NowLocal(), 1.0 / 24) << folder;
  }
  EXPECT_EQ(rater.Rate(scratch / L"Elsewhere", 0).UseRange, audUnknown);
}

}  // namespace
}  // namespace orvix
