// Opening the real registry editor at a key: Wine's own editor, under the
// virtual display scripts/wine-test provides. Where Wine has no display the
// tests are skipped. Each test ends every editor before and after.
#include <gtest/gtest.h>

#include <string>

#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "windows/raw_registry.h"
#include "platform/win32/windows_api.h"

#include <commctrl.h>

namespace {

using orvix::test::kOwnView;
using orvix::test::kView32;
using orvix::test::TestKey;

const std::wstring kApplet = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr ::DWORD kEditorCloseMs = 5000;

HWND FindEditor() { return ::FindWindowW(L"RegEdit_RegEdit", nullptr); }

struct ClassSearch {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) != search->className) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindDescendant(HWND parent, const wchar_t* className) {
  ClassSearch search{className, nullptr};
  ::EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// The selected key as the editor's status bar shows it, without the root
// node's name ("VM\" under Wine, "Computer\" on Windows).
std::wstring SelectedKey(HWND editor) {
  HWND status = FindDescendant(editor, L"msctls_statusbar32");
  wchar_t text[1024] = {};
  if (status == nullptr || SendBounded(status, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text)) < 0) return {};
  const std::wstring shown = text;
  const std::size_t slash = shown.find(L'\\');
  return slash == std::wstring::npos ? L"" : shown.substr(slash + 1);
}

// Index of the only selected row of the value list; -1 for none or several.
LRESULT SelectedValueRow(HWND editor) {
  HWND list = FindDescendant(editor, L"SysListView32");
  if (list == nullptr || SendBounded(list, LVM_GETSELECTEDCOUNT, 0, 0) != 1) return -1;
  return SendBounded(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
}

bool EditorIs64Bit(HWND editor) {
  ::DWORD processId = 0;
  ::GetWindowThreadProcessId(editor, &processId);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  BOOL wow64 = TRUE;
  if (process != nullptr) {
    ::IsWow64Process(process, &wow64);
    ::CloseHandle(process);
  }
  return !wow64;
}

// Ends every editor, by WM_CLOSE (which makes it save LastKey; Wine's
// takes about 2 s to go) or at once, waiting for each process to end.
void EndEditors(bool politely) {
  while (HWND editor = FindEditor()) {
    ::DWORD processId = 0;
    ::GetWindowThreadProcessId(editor, &processId);
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (process == nullptr) return;
    if (politely) ::PostMessageW(editor, WM_CLOSE, 0, 0);
    if (!politely || ::WaitForSingleObject(process, kEditorCloseMs) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, kEditorCloseMs);
    ::CloseHandle(process);
  }
}

bool HasDisplay() {
  return !orvix::test::RunningUnderWine() || ::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
}

class RegistryEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasDisplay()) GTEST_SKIP() << "Wine has no display here";
    EndEditors(false);
  }
  void TearDown() override { EndEditors(false); }

  // The editor's own settings key goes when the test made it.
  TestKey applet_{kApplet, kOwnView};
};

TEST_F(RegistryEditor, StartsAtTheKeyAndSelectsTheValue) {
  TestKey entry(L"HKEY_CURRENT_USER\\Software\\" + orvix::test::UniqueKeyName() + L"\\Entry", kOwnView);
  // Rows: (Default), then the values in name order.
  for (const wchar_t* value : {L"Alpha", L"DisplayName", L"Zeta"}) {
    ASSERT_TRUE(orvix::test::RawSetString(entry.Text(), value, L"x", kOwnView));
  }

  ASSERT_TRUE(orvix::OpenInRegistryEditor(entry.Text() + L"\\", L"DisplayName", true));
  HWND editor = FindEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(EditorIs64Bit(editor));
  EXPECT_EQ(SelectedKey(editor), entry.Text());
  EXPECT_EQ(SelectedValueRow(editor), 2);

  // The editor remembers where it was when it closes (Windows puts the root
  // node's name in front).
  EndEditors(true);
  EXPECT_TRUE(orvix::test::RawReadString(kApplet, L"LastKey", kOwnView).ends_with(entry.Text()));
}

TEST_F(RegistryEditor, MovesARunningEditorThroughAFavourite) {
  TestKey first(L"HKEY_CURRENT_USER\\Software\\" + orvix::test::UniqueKeyName(), kOwnView);
  TestKey second(L"HKEY_CURRENT_USER\\Software\\" + orvix::test::UniqueKeyName(), kOwnView);
  TestKey favorites(kApplet + L"\\Favorites", kOwnView);
  ASSERT_TRUE(orvix::test::RawCreateKey(first.Text(), kOwnView));
  ASSERT_TRUE(orvix::test::RawCreateKey(second.Text(), kOwnView));
  // A favourite of the user's own: ours must find its index past it.
  ASSERT_TRUE(orvix::test::RawSetString(favorites.Text(), L"AUsersFavourite", L"HKEY_USERS", kOwnView));

  ASSERT_TRUE(orvix::OpenInRegistryEditor(first.Text(), L"", true));
  HWND editor = FindEditor();
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(SelectedKey(editor), first.Text());

  ASSERT_TRUE(orvix::OpenInRegistryEditor(second.Text(), L"", true));
  EXPECT_EQ(FindEditor(), editor) << "the running editor was replaced";
  EXPECT_EQ(SelectedKey(editor), second.Text());
  EXPECT_EQ(orvix::test::RawReadString(favorites.Text(), L"OrvixRegJmp", kOwnView), L"");
  EXPECT_EQ(orvix::test::RawReadString(favorites.Text(), L"AUsersFavourite", kOwnView), L"HKEY_USERS");
}

TEST_F(RegistryEditor, ShowsKeysOfThe32BitViewWhereThe64BitEditorHasThem) {
  // Wine starts its built-in editor as a 64-bit program, whoever asks.
  if (!orvix::test::RunningUnderWine()) GTEST_SKIP() << "Windows has a 32-bit editor";
  const std::wstring name = orvix::test::UniqueKeyName();
  TestKey software(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\" + name, kView32);
  TestKey classes(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\" + name, kView32);
  TestKey clsid(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + name, kView32);
  for (const TestKey* key : {&software, &classes, &clsid}) {
    ASSERT_TRUE(orvix::test::RawCreateKey(key->Text(), kView32));
  }
  const struct {
    std::wstring opened;  // as a 32-bit program names it
    std::wstring shown;   // as the 64-bit editor names it
  } cases[] = {
      {software.Text(), L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\" + name},
      // A key that is gone: its nearest parent is shown.
      {software / L"Gone", L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\" + name},
      {classes.Text(), classes.Text()},  // shared by both views
      {L"HKEY_CLASSES_ROOT\\CLSID\\" + name, L"HKEY_LOCAL_MACHINE\\Software\\Classes\\Wow6432Node\\CLSID\\" + name},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(orvix::OpenInRegistryEditor(c.opened, L"", false));
    HWND editor = FindEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(EditorIs64Bit(editor));
    EXPECT_TRUE(orvix::SameText(SelectedKey(editor), c.shown)) << SelectedKey(editor) << " for " << c.opened;
  }
}

}  // namespace
