// The analysis under Wine: a pass over a real program folder, with real
// icons, real file times and the Win32 dispatcher handing each entry's
// findings to this thread.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "inventory/analysis_cache.h"
#include "inventory/analysis_thread.h"
#include "platform/date_time.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/win32_dispatcher.h"
#include "windows/message_pump.h"
#include "windows/test_files.h"
#include "windows/icon_width.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {


// Image lists that note the widths of the icons they are given.
struct WidthRecorder : IIconList {
  std::int32_t AddIcons(IconHandle small, IconHandle large) override {
    widths.push_back({IconWidth(small), IconWidth(large)});
    threads.push_back(::GetCurrentThreadId());
    return static_cast<std::int32_t>(widths.size());
  }
  std::vector<std::pair<int, int>> widths;
  std::vector<::DWORD> threads;
};

struct RowRecorder : ISoftwareListView {
  void UpdateRow(std::size_t position, std::int32_t imageIndex, const std::wstring& sizeText,
                 const std::wstring&) override {
    updates.push_back({position, imageIndex, sizeText, ::GetCurrentThreadId()});
  }
  struct Update {
    std::size_t position;
    std::int32_t imageIndex;
    std::wstring sizeText;
    ::DWORD thread;
  };
  std::vector<Update> updates;
};

std::uint64_t SizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST(AnalysisWine, APassOverARealProgramFolder) {
  test::ScratchFolder scratch;
  const std::wstring program = scratch / L"Foo";
  ASSERT_TRUE(::CreateDirectoryW(program.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW((program + L"\\data").c_str(), nullptr));
  // A program file with icons: a copy of the system's shell32.dll.
  const std::wstring shell32 = CurrentPlatform().Shell().GetSystemDirectory() + L"\\shell32.dll";
  ASSERT_TRUE(::CopyFileW(shell32.c_str(), (program + L"\\foo.exe").c_str(), FALSE));
  ASSERT_TRUE(test::WriteTestFile(program + L"\\uninst.exe", std::string(1000, 'u')));
  ASSERT_TRUE(test::WriteTestFile(program + L"\\data\\blob.bin", std::string(2345, 'b')));
  const std::uint64_t expectedSize = SizeOf(program + L"\\foo.exe") + 1000 + 2345;

  TSoftList items;
  items.push_back(std::make_unique<TSoftInfo>());
  TSoftInfo& foo = *items[0];
  foo.DisplayName = L"Foo Wine Test";
  foo.UninstallString = L"\"" + program + L"\\uninst.exe\" /S";
  foo.DisplayIcon = program + L"\\foo.exe,0";
  foo.LastAccessDate = NowLocal();

  const std::unique_ptr<IDispatcher> dispatcher = win32::MakeDispatcher();
  WidthRecorder images;
  RowRecorder rows;
  const std::wstring cacheFile = scratch / L"SoftwareCache.ini";
  TAnalysisThread thread(items, *dispatcher, TAnalysisSettings{cacheFile, &rows, &images, {}});
  thread.RequestPass();
  ASSERT_TRUE(test::PumpUntil([&] { return thread.Idle(); })) << "the pass never ended";
  thread.Stop();

  EXPECT_EQ(static_cast<std::uint64_t>(foo.Size), expectedSize);
  EXPECT_TRUE(SameText(foo.InstallLocation, program + L"\\"));
  ASSERT_EQ(images.widths.size(), 1u);
  EXPECT_EQ(images.widths[0].first, ::GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(images.widths[0].second, ::GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(foo.ImageIndex, 1);
  // The folder was made just now: today is the install date.
  const TDateParts today = DecodeDate(NowLocal());
  const TDateParts installed = DecodeDate(foo.InstallDate);
  EXPECT_EQ(std::tie(installed.year, installed.month, installed.day), std::tie(today.year, today.month, today.day));
  EXPECT_EQ(foo.InstallDateText, FormatShortDate(foo.InstallDate));

  ASSERT_EQ(rows.updates.size(), 1u);
  EXPECT_EQ(rows.updates[0].position, 0u);
  EXPECT_EQ(rows.updates[0].sizeText, foo.SizeText);
  EXPECT_EQ(rows.updates[0].thread, ::GetCurrentThreadId());
  EXPECT_EQ(images.threads[0], ::GetCurrentThreadId());

  TSoftwareCache cache;
  cache.Load(cacheFile);
  EXPECT_TRUE(cache.Matches(foo)) << "the cache file was written and names this installation";
}

}  // namespace
}  // namespace orvix
