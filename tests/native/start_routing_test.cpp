// The start's routing: what a start with given arguments sends to a copy
// that already runs, and how it ends; the WM_COPYDATA payload both ways.
#include "shell/start_routing.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "shell/window_messages.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

using sim::SimWindowMessage;

struct SentMessage {
  DWORD message;
  std::uintptr_t wParam;
  std::wstring text;  // WM_COPYDATA only
  bool operator==(const SentMessage&) const = default;
};

std::ostream& operator<<(std::ostream& os, const SentMessage& sent) {
  return os << std::hex << sent.message << "/" << std::dec << sent.wParam << "/" << sent.text.size();
}

struct RouteCase : testing::NamedCase {
  std::vector<std::wstring> args;
  bool otherCopyRuns;  // its mutex and its window exist
  bool installWanted;
  std::optional<int> exitCode;
  std::vector<SentMessage> sent;
  bool installed;
};

class StartRoutingTest : public testing::SimMachineTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(StartRoutingTest, SendsTheRequestAndEnds) {
  const RouteCase& row = GetParam();
  sim::SimWindows& windows = Machine().windows;
  WindowHandle running = 0;
  if (row.otherCopyRuns) {
    windows.AddMutex(L"Orvix_Uninstall");
    running = windows.AddWindow(L"TfrmOrvixUninstall", L"Orvix Uninstaller");
  }
  std::vector<std::wstring> installedInto;
  const TSelfInstallHooks install{[&] { return row.installWanted; },
                                  [&](const std::wstring& target) { installedInto.push_back(target); }};

  EXPECT_EQ(RouteStart(ParseStartArguments(row.args), install), row.exitCode);

  std::vector<SentMessage> sent;
  for (const SimWindowMessage& message : windows.Messages()) {
    EXPECT_EQ(message.window, running);
    const std::wstring text = message.message == WM_COPYDATA ? DecodeCopyData(message.bytes.data(), message.bytes.size())
                                                             : L"";
    sent.push_back({message.message, message.wParam, text});
  }
  EXPECT_EQ(sent, row.sent);
  EXPECT_EQ(installedInto.size(), row.installed ? 1u : 0u);
  // The first copy holds the name from now on; an installer's start that
  // found no copy running never took it.
  EXPECT_EQ(windows.HasMutex(L"Orvix_Uninstall"), row.otherCopyRuns || !row.exitCode.has_value());
}

const SentMessage kFront{0x465, 0, L""};

INSTANTIATE_TEST_SUITE_P(
    Starts, StartRoutingTest,
    ::testing::Values(
        RouteCase{{"FirstCopyStarts"}, {}, false, false, std::nullopt, {}, false},
        RouteCase{{"FirstCopyWithControlStatistics"}, {L"control_statistics", L"Editor"}, false, false, std::nullopt,
                  {}, false},
        RouteCase{{"SecondCopyBringsTheFirstToTheFront"}, {}, true, false, 0, {kFront}, false},
        RouteCase{{"SecondCopyHandsOverTheProgramName"},
                  {L" CONTROL_statistics ", L"  Video Suite "},
                  true,
                  false,
                  0,
                  {kFront, {WM_COPYDATA, 2026, L"Video Suite"}},
                  false},
        RouteCase{{"BlankProgramNameIsNotSent"}, {L"control_statistics", L"   "}, true, false, 0, {kFront}, false},
        RouteCase{{"SecondCopyAsksForTheShredder"}, {L"explorer_statistics"}, true, false, 0,
                  {kFront, {0x7EB, 0, L""}}, false},
        RouteCase{{"MenuRightOnlyBringsToTheFront"}, {L"MenuRight"}, true, false, 0, {kFront}, false},
        RouteCase{{"InstallWithoutRunningCopyEnds"}, {L"/install", L"C:\\Target"}, false, true, 0, {}, true},
        RouteCase{{"InstallNotWantedWithoutRunningCopyEnds"}, {L"/install", L"C:\\Target"}, false, false, 0, {}, false},
        RouteCase{{"InstallWhileRunningFindsTheWindow"}, {L"/install", L"C:\\Target"}, true, true, 0, {kFront}, true}),
    testing::CaseName());

TEST_F(StartRoutingTest, WindowsUnderOtherTitlesAreNotTheProgramsOwn) {
  Machine().windows.AddWindow(L"TfrmOrvixUninstall", L"Orvix_Uninstall");
  Machine().windows.AddWindow(L"TfrmOrvixUninstall", L"Uninstaller");
  Machine().windows.AddMutex(L"Orvix_Uninstall");
  // A window under another title is not the program's: the installer's
  // start ends, and nothing is sent anywhere.
  EXPECT_EQ(RouteStart(ParseStartArguments({L"/install", L"C:\\Target"})), 0);
  EXPECT_TRUE(Machine().windows.Messages().empty());
}

struct DecodeCase : testing::NamedCase {
  std::vector<std::uint8_t> bytes;
  std::size_t size;  // cbData as claimed
  std::wstring text;
};

class CopyDataDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(CopyDataDecodeTest, ReadsAtMostTheClaimedBytes) {
  const DecodeCase& row = GetParam();
  // The payload sits in a buffer exactly as large as claimed: the sanitizer
  // catches any read past it.
  std::vector<std::uint8_t> buffer(row.bytes.begin(), row.bytes.begin() + row.size);
  EXPECT_EQ(DecodeCopyData(buffer.data(), buffer.size()), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, CopyDataDecodeTest,
    ::testing::Values(DecodeCase{{"WithTerminator"}, {'A', 0, 'b', 0, 0, 0}, 6, L"Ab"},
                      DecodeCase{{"NoTerminatorStopsAtTheEnd"}, {'A', 0, 'b', 0}, 4, L"Ab"},
                      DecodeCase{{"OddByteIgnored"}, {'A', 0, 'b', 0, 'c'}, 5, L"Ab"},
                      DecodeCase{{"ShortClaimCutsTheText"}, {'A', 0, 'b', 0, 'c', 0, 0, 0}, 4, L"Ab"},
                      DecodeCase{{"TextAfterTerminatorIgnored"}, {'A', 0, 0, 0, 'c', 0}, 6, L"A"},
                      DecodeCase{{"Trimmed"}, {' ', 0, 'A', 0, ' ', 0}, 6, L"A"},
                      DecodeCase{{"NonAsciiUnits"}, {0xE9, 0, 0x2D, 0x4E, 0, 0}, 6, L"\u00e9\u4e2d"},
                      DecodeCase{{"Empty"}, {}, 0, L""}),
    testing::CaseName());

TEST(CopyDataPayloadTest, IsTheTextAndItsTerminatorOnly) {
  const std::vector<std::uint8_t> payload = CopyDataPayload(L"\u00e9d");
  EXPECT_EQ(payload, (std::vector<std::uint8_t>{0xE9, 0, 'd', 0, 0, 0}));
  EXPECT_EQ(DecodeCopyData(payload.data(), payload.size()), L"\u00e9d");
  EXPECT_EQ(DecodeCopyData(nullptr, 8), L"");
}

}  // namespace
}  // namespace orvix
