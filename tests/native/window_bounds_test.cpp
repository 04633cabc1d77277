// The main window's bounds from "Main.ini" against the monitors' work
// areas, centring, the floating button and the resize limit.
#include "shell/window_bounds.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "platform/profile_ini.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

// The primary monitor's work area in the simulation: 1920 x 1040 at 0, 0.
const TRect kPrimaryWork{0, 0, 1920, 1040};
// A second monitor right of the primary one, its task bar on the left.
const sim::SimMonitor kRightMonitor{{1920, 0, 3200, 1024}, {1980, 0, 3200, 1024}};

struct BoundsCase : testing::NamedCase {
  std::vector<std::pair<const wchar_t*, const wchar_t*>> keys;  // [Main] keys written
  bool secondMonitor;
  TRect bounds;
  TRect restore;
};

class WindowBoundsTest : public testing::SimMachineTest, public ::testing::WithParamInterface<BoundsCase> {};

TEST_P(WindowBoundsTest, ReadsAVisibleWindow) {
  const BoundsCase& row = GetParam();
  if (row.secondMonitor) Machine().windows.SetMonitors({{{0, 0, 1920, 1080}, kPrimaryWork}, kRightMonitor});
  for (const auto& [key, value] : row.keys) ASSERT_TRUE(WriteIniString(SettingsPath(), L"Main", key, value));

  const TMainBounds start = ReadStartBounds();
  EXPECT_EQ(start.bounds, row.bounds);
  EXPECT_EQ(start.restore, row.restore);
}

INSTANTIATE_TEST_SUITE_P(
    MainIni, WindowBoundsTest,
    ::testing::Values(
        BoundsCase{{"NoFileCentresTheDefaultSize"}, {}, false, RectOf(525, 235, 870, 570), RectOf(525, 235, 870, 570)},
        BoundsCase{{"Width500GrowsTo870"}, {{L"Width", L"500"}, {L"Left", L"10"}, {L"Top", L"10"}}, false,
                   RectOf(10, 10, 870, 570), RectOf(10, 10, 870, 570)},
        BoundsCase{{"LeftMinus3000StartsAtTheWorkAreaLeft"}, {{L"Left", L"-3000"}, {L"Top", L"100"}}, false,
                   RectOf(0, 100, 870, 570), RectOf(0, 100, 870, 570)},
        BoundsCase{{"PastTheWorkAreaShrinksToIt"},
                   {{L"Width", L"5000"}, {L"Height", L"3000"}, {L"Left", L"0"}, {L"Top", L"0"}},
                   false, RectOf(0, 0, 1920, 1020), RectOf(0, 0, 1920, 1020)},
        BoundsCase{{"VanishedMonitorComesBackOnTheNearestOne"},
                   {{L"Left", L"2500"}, {L"Top", L"300"}, {L"Width", L"1000"}, {L"Height", L"700"}},
                   false, RectOf(920, 300, 1000, 700), RectOf(920, 300, 1000, 700)},
        BoundsCase{{"FarBelowComesBackAboveTheOverhang"}, {{L"Left", L"100"}, {L"Top", L"5000"}}, false,
                   RectOf(100, 450, 870, 570), RectOf(100, 450, 870, 570)},
        BoundsCase{{"SecondMonitorKeepsTheWindowThere"},
                   {{L"Left", L"2100"}, {L"Top", L"50"}, {L"Width", L"900"}, {L"Height", L"600"}},
                   true, RectOf(2100, 50, 900, 600), RectOf(2100, 50, 900, 600)},
        BoundsCase{{"SecondMonitorsTaskBarIsLeftFree"}, {{L"Left", L"1930"}, {L"Top", L"50"}}, true,
                   RectOf(1980, 50, 870, 570), RectOf(1980, 50, 870, 570)},
        BoundsCase{{"MaximisedFillsTheWorkAreaLessTheOverhang"},
                   {{L"WindowState", L"1"}, {L"Left", L"-3000"}, {L"Top", L"40"}, {L"Width", L"500"}},
                   false, RectOf(0, 0, 1920, 1020), RectOf(0, 40, 870, 570)},
        BoundsCase{{"MaximisedOnTheSecondMonitor"},
                   {{L"WindowState", L"1"}, {L"Left", L"2000"}, {L"Top", L"40"}},
                   true, RectOf(1980, 0, 1220, 1004), RectOf(2000, 40, 870, 570)}),
    testing::CaseName());

TEST(WindowBoundsPureTest, SmallScreenKeepsTheWindowInside) {
  // A work area smaller than the least size: the window stays visible.
  EXPECT_EQ(ClampToWorkArea(RectOf(-50, -50, 870, 570), {0, 0, 800, 560}), RectOf(0, 0, 800, 540));
}

TEST(WindowBoundsPureTest, ChildWindowsAndTheFloatingButton) {
  const TRect main = RectOf(100, 50, 871, 571);
  // Halves round toward zero, also when the child is the larger one.
  EXPECT_EQ(CenteredOn(main, 400, 300), RectOf(335, 185, 400, 300));
  EXPECT_EQ(CenteredOn(main, 900, 600), RectOf(86, 36, 900, 600));
  EXPECT_EQ(CenteredOn(RectOf(0, 0, 870, 570), 875, 575), RectOf(-2, -2, 875, 575));
  EXPECT_EQ(FloatingButtonBounds(main), RectOf(458, 537, 155, 104));
  EXPECT_EQ(ResizedBounds(main, 600, 900), RectOf(100, 50, 870, 900));
  EXPECT_EQ(ResizedBounds(main, 1000, 100), RectOf(100, 50, 1000, 570));
}

}  // namespace
}  // namespace orvix
