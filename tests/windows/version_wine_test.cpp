// Version resources and signer names read from files the build stamped and
// signed.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "windows/test_files.h"

namespace orvix {
namespace {

using test::BesideTestProgram;

class VersionWineTest : public ::testing::Test {
 protected:
  IVersionApi& versions() { return platform_.Versions(); }

  win32::Win32Platform platform_;
};

TEST_F(VersionWineTest, ReadsEveryTranslationOfAStampedProgram) {
  // tests/windows/programs/sleeper.rc
  VersionResource resource;
  ASSERT_TRUE(versions().GetVersionResource(BesideTestProgram(L"orvix_test_sleeper.exe"), &resource));

  using Translation = std::pair<std::uint16_t, std::uint16_t>;
  EXPECT_EQ(resource.translations, (std::vector<Translation>{{0x0409, 1200}, {0x0407, 1252}}));
  EXPECT_EQ(resource.fixedFileVersion, 0x0001000200030004u);

  const std::map<std::wstring, std::wstring, TextLess> expected = {
      {L"040904B0\\CompanyName", L"Orvix Test Company"},
      {L"040904B0\\FileDescription", L"Sleeps for the Windows tests"},
      {L"040904B0\\FileVersion", L"1.2.3.4 (test)"},
      {L"040904B0\\ProductName", L"Orvix Test Sleeper"},
      {L"040904B0\\ProductVersion", L"5.6"},
      {L"040904B0\\WOW Version", L"seven"},
      {L"040704E4\\CompanyName", L"Orvix Testfirma"},
      {L"040704E4\\FileVersion", L"1,2,3,4"},
  };
  EXPECT_EQ(resource.strings, expected);  // names the file lacks stay absent
}

TEST_F(VersionWineTest, FilesWithoutAResourceAnswerFalse) {
  test::ScratchFolder scratch;
  ASSERT_TRUE(test::WriteTestFile(scratch / L"notes.txt", "no resource here"));
  VersionResource resource;
  EXPECT_FALSE(versions().GetVersionResource(scratch / L"notes.txt", &resource));
  EXPECT_FALSE(versions().GetVersionResource(scratch / L"missing.exe", &resource));
}

TEST_F(VersionWineTest, SignerNameOfASignedProgram) {
  const std::wstring signedCopy = BesideTestProgram(L"orvix_test_signed.exe");
  if (!test::PathExists(signedCopy)) GTEST_SKIP() << "the build had no openssl and osslsigncode to sign with";
  EXPECT_EQ(versions().GetSignerName(signedCopy), L"Orvix Test Signer");
  EXPECT_EQ(versions().GetSignerName(BesideTestProgram(L"orvix_test_sleeper.exe")), L"");
  EXPECT_EQ(versions().GetSignerName(BesideTestProgram(L"no_such_program.exe")), L"");
}

}  // namespace
}  // namespace orvix
