// Calling stdcall exports of a real library: texts and integers arrive in
// order for every argument count, and what is missing is answered, not
// called. The library is tests/windows/programs/echo_exports.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"
#include "windows/test_files.h"

namespace orvix {
namespace {

class ModulesWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    echo_ = modules().LoadLibrary(test::BesideTestProgram(L"orvix_test_echo.dll"));
    ASSERT_NE(echo_, 0u);
  }

  IModuleApi& modules() { return platform_.Modules(); }

  win32::Win32Platform platform_;
  ModuleHandle echo_ = 0;
};

// What the library's FoldN answers for its arguments.
std::int32_t Fold(const std::vector<std::int32_t>& words) {
  std::uint32_t result = 17;
  for (std::int32_t word : words) result = result * 31u + static_cast<std::uint32_t>(word);
  return static_cast<std::int32_t>(result);
}

TEST_F(ModulesWineTest, IntegersArriveInOrderForEveryArgumentCount) {
  for (int count = 0; count <= 8; ++count) {
    std::vector<std::int32_t> words;
    std::vector<ExportArg> args;
    for (int i = 0; i < count; ++i) {
      const std::int32_t word = (i % 2 == 0 ? 1 : -1) * (1000 * (i + 1) + 7);  // negatives too
      words.push_back(word);
      args.emplace_back(word);
    }
    const std::string name = "Fold" + std::to_string(count);
    ASSERT_TRUE(modules().HasExport(echo_, name));
    EXPECT_EQ(modules().CallExport(echo_, name, args), Fold(words)) << name;
  }
}

TEST_F(ModulesWineTest, TextsArriveAsUtf16BesideIntegers) {
  EXPECT_EQ(modules().CallExport(echo_, "CharAt", {std::wstring(L"a\u00f1\u20ac"), 2}), 0x20AC);
  EXPECT_EQ(modules().CallExport(echo_, "CharAt", {std::wstring(L"a\u00f1\u20ac"), 1}), 0x00F1);
  EXPECT_EQ(modules().CallExport(echo_, "CharAt", {std::wstring(L"abc"), 3}), -1);
  EXPECT_EQ(modules().CallExport(echo_, "FindIn", {std::wstring(L"hello world"), std::wstring(L"world")}), 6);
  EXPECT_EQ(modules().CallExport(echo_, "FindIn", {std::wstring(L"world"), std::wstring(L"hello world")}), -1);
  EXPECT_EQ(modules().CallExport(echo_, "FindIn", {std::wstring(L""), std::wstring(L"x")}), -1);
}

TEST_F(ModulesWineTest, ABufferArgumentIsWrittenByTheCallAndReadBack) {
  const ExportBuffer status = std::make_shared<std::vector<std::uint8_t>>(12, 0);
  EXPECT_EQ(modules().CallExport(echo_, "FillBytes", {status, 12, 0xA5}), 12);
  EXPECT_EQ(*status, std::vector<std::uint8_t>(12, 0xA5));
}

// A DLL named like a system one and planted beside the program, where an
// elevated program started from Downloads would find it first.
TEST_F(ModulesWineTest, SystemLibrariesComeFromSystem32AndNeverFromBesideTheProgram) {
  EXPECT_NE(modules().LoadSystemLibrary(L"version.dll"), 0u);

  const std::wstring plantedName = L"orvix_planted_" + std::to_wstring(::GetCurrentProcessId()) + L".dll";
  const std::wstring planted = test::BesideTestProgram(plantedName);
  ASSERT_TRUE(::CopyFileW(test::BesideTestProgram(L"orvix_test_echo.dll").c_str(), planted.c_str(), TRUE));
  EXPECT_EQ(modules().LoadSystemLibrary(plantedName), 0u);
  // A bare name finds it beside the program until the programs' start-up
  // restricts the search to System32.
  const HMODULE found = ::LoadLibraryW(plantedName.c_str());
  EXPECT_NE(found, nullptr);
  if (found != nullptr) ::FreeLibrary(found);
  // The restriction lasts as long as the process, and the system's own
  // libraries load theirs under it: it is tried in a child, so that later
  // tests run as before.
  EXPECT_EXIT(
      {
        win32::RestrictDllSearchToSystem();
        std::exit(::LoadLibraryW(plantedName.c_str()) == nullptr ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "")
      << "after the restriction a bare name no longer finds the library beside the program";
  EXPECT_TRUE(::DeleteFileW(planted.c_str()));
}

TEST_F(ModulesWineTest, MissingLibrariesAndExportsAreAnsweredNotCalled) {
  EXPECT_EQ(modules().LoadLibrary(test::BesideTestProgram(L"no_such_library.dll")), 0u);
  EXPECT_FALSE(modules().HasExport(echo_, "NoSuchExport"));
  EXPECT_FALSE(modules().HasExport(echo_, "Fold2@8"));  // exported under the plain name only
  EXPECT_FALSE(modules().HasExport(0, "Fold0"));
  EXPECT_EQ(modules().CallExport(echo_, "NoSuchExport", {1, 2}), 0);
  EXPECT_EQ(modules().CallExport(0, "Fold0", {}), 0);
  // More arguments than any call form takes: refused rather than guessed.
  EXPECT_EQ(modules().CallExport(echo_, "Fold8", std::vector<ExportArg>(9, ExportArg{1})), 0);
  // Loading again gives the same module.
  EXPECT_EQ(modules().LoadLibrary(test::BesideTestProgram(L"orvix_test_echo.dll")), echo_);
}

}  // namespace
}  // namespace orvix
