// The usage-statistics contract: export names, argument order, and silence
// without the library.
#include <gtest/gtest.h>

#include <variant>

#include "online/statistics.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

constexpr const wchar_t* kLibrary = L"C:\\Program Files (x86)\\Orvix Uninstaller\\stats.dll";

class StatisticsTest : public testing::SimMachineTest {
 protected:
  void InstallLibrary(bool withDoStatistic) {
    sim::SimLibrary library;
    library.exports["SetStatParam"] = [](const std::vector<ExportArg>&) { return 1; };
    if (withDoStatistic) library.exports["DoStatistic"] = [](const std::vector<ExportArg>&) { return 42; };
    Machine().modules.Install(kLibrary, library);
    Machine().versions.AttachStrings(Machine().shell.GetModuleFileName(), {{L"FileVersion", L"1.2.3.0"}});
  }

  TStatistics statistics;
};

TEST_F(StatisticsTest, ParamsAndEventsReachTheLibraryInOrder) {
  InstallLibrary(true);
  ASSERT_TRUE(statistics.Load(kLibrary));
  statistics.SetParams(0);
  EXPECT_EQ(statistics.Report(L"6", 7), 42);
  statistics.Report(L"7", 0);

  const auto& calls = Machine().modules.calls;
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].name, "SetStatParam");
  EXPECT_EQ(calls[0].args, (std::vector<ExportArg>{L"da3", L"1.2.3.0", L"orvix", 0}));
  EXPECT_EQ(calls[1].name, "DoStatistic");
  EXPECT_EQ(calls[1].args, (std::vector<ExportArg>{L"da3", L"6", 7, 0, 0, 0}));
  EXPECT_EQ(calls[2].args, (std::vector<ExportArg>{L"da3", L"7", 0, 0, 0, 0}));
}

TEST_F(StatisticsTest, EventsAreDroppedWithoutLibraryOrExport) {
  EXPECT_FALSE(statistics.Load(kLibrary));
  statistics.SetParams(0);
  EXPECT_EQ(statistics.Report(L"0", 7), 0);

  InstallLibrary(false);
  ASSERT_TRUE(statistics.Load(kLibrary));
  EXPECT_EQ(statistics.Report(L"0", 7), 0);
  statistics.SetParams(0);
  ASSERT_EQ(Machine().modules.calls.size(), 1u);
  EXPECT_EQ(Machine().modules.calls[0].name, "SetStatParam");
}

}  // namespace
}  // namespace orvix
