// The addresses the main window's menus open and what the About box shows.
#include "shell/shell_commands.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "shell/about_model.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

struct AddressCase : NamedCase {
  std::wstring address;
  std::wstring expected;
};

class ShellAddresses : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ShellAddresses, AreTheProductsOwn) { EXPECT_EQ(GetParam().address, GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Menu, ShellAddresses,
    ::testing::Values(
        AddressCase{{"SupportWithVersion"}, TechnicalSupportAddress(L"3.1.0.22"),
                    L"https://www.orvix-uninstaller.example/productfeedback.php?product=orvix-uninstaller&ver=3.1.0.22"},
        AddressCase{{"SupportWithoutVersion"}, TechnicalSupportAddress(L"Unknown"),
                    L"https://www.orvix-uninstaller.example/productfeedback.php?product=orvix-uninstaller&ver=unknown"},
        AddressCase{{"SupportVersionEscaped"}, TechnicalSupportAddress(L"3.1 beta&x"),
                    L"https://www.orvix-uninstaller.example/productfeedback.php?product=orvix-uninstaller&ver=3.1+beta%26x"},
        AddressCase{{"ProductSite"}, ProductSiteAddress(), L"https://www.orvix-uninstaller.example/"},
        AddressCase{{"Forum"}, ForumAddress(), L"https://www.orvix-uninstaller.example/forum/orvix-uninstaller"},
        AddressCase{{"ManualWithBackslash"}, UserManualPath(L"C:\\Orvix\\"), L"C:\\Orvix\\Help.html"},
        AddressCase{{"ManualWithout"}, UserManualPath(L"C:\\Orvix"), L"C:\\Orvix\\Help.html"}),
    CaseName());

class AboutTextsTest : public SimMachineTest {};

TEST_F(AboutTextsTest, ShowTheProgramsVersion) {
  EXPECT_EQ(AboutTexts().version, L"vUnknown") << "no version resource";
  Machine().versions.AttachStrings(Machine().shell.GetModuleFileName(), {{L"FileVersion", L"3.1.0.22"}});
  const TAboutTexts texts = AboutTexts();
  EXPECT_EQ(texts.title, L"Orvix Uninstaller");
  EXPECT_EQ(texts.version, L"v3.1.0.22");
  EXPECT_EQ(texts.closeHint, L"Close");
  EXPECT_FALSE(texts.legal.empty());
}

}  // namespace
}  // namespace orvix::testing
