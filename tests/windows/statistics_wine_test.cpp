// The usage-statistics contract against a real library: export names,
// argument order, UTF-16 texts and the stdcall convention. A wrong
// convention or order would corrupt the stack or the recorded line.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "formats/text_codec.h"
#include "online/statistics.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "windows/test_files.h"

namespace {

std::string ReadAndRemove(const std::wstring& path) {
  std::ifstream in(orvix::ToUtf8(path), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  std::remove(orvix::ToUtf8(path).c_str());
  return text.str();
}

TEST(StatisticsWineTest, CallsReachTheLibraryInTheAgreedForm) {
  const std::wstring library = orvix::test::BesideTestProgram(L"orvix_test_statistics.dll");
  const std::wstring calls = library + L".calls.txt";
  ReadAndRemove(calls);

  orvix::TStatistics statistics;
  ASSERT_TRUE(statistics.Load(library));
  statistics.SetParams(0);
  EXPECT_EQ(statistics.Report(L"6", 7), 107);
  EXPECT_EQ(statistics.Report(L"7", 0), 100);

  const std::string version =
      orvix::ToUtf8(orvix::FileVersionText(orvix::CurrentPlatform().Shell().GetModuleFileName()));
  EXPECT_NE(version, "Unknown") << "the test program carries a version resource";
  EXPECT_EQ(ReadAndRemove(calls), "SetStatParam|da3|" + version + "|orvix|0\n"
                                  "DoStatistic|da3|6|7|0|0|0\n"
                                  "DoStatistic|da3|7|0|0|0|0\n");
}

TEST(StatisticsWineTest, MissingLibraryOrExportsDropEvents) {
  orvix::TStatistics absent;
  EXPECT_FALSE(absent.Load(orvix::test::BesideTestProgram(L"no_such_statistics.dll")));
  absent.SetParams(0);
  EXPECT_EQ(absent.Report(L"0", 7), 0);

  orvix::TStatistics withoutExports;
  ASSERT_TRUE(withoutExports.Load(orvix::test::BesideTestProgram(L"orvix_test_echo.dll")));
  withoutExports.SetParams(0);
  EXPECT_EQ(withoutExports.Report(L"0", 7), 0);
}

}  // namespace
