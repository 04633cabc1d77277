// The uninstall log's tests: a machine whose program has a file version and
// whose clock is set, and today's log read back line by line.
#pragma once

#include <string>
#include <vector>

#include "list_fixture.h"
#include "platform/text.h"
#include "sim_fixture.h"
#include "uninstall/uninstall_log.h"

namespace orvix::testing {

class LogTest : public SimMachineTest {
 protected:
  LogTest() {
    Machine().versions.AttachStrings(Machine().shell.GetModuleFileName(), {{L"FileVersion", L"3.1.0.7"}});
    SetMoment(2013, 5, 31, 14, 3, 7);
  }

  void SetMoment(int year, int month, int day, int hour, int minute, int second) {
    SetNow(Machine().clock, DateOf(year, month, day, hour + minute / 60.0 + second / 3600.0));
  }

  std::wstring TodaysLog() { return UninstallLogPath(NowLocal()); }

  // The log file's lines; the file must be UTF-16LE with a byte-order mark
  // and CR LF line ends.
  std::vector<std::wstring> LogLines(const std::wstring& path) {
    const auto bytes = Machine().files.FileBytes(path);
    if (!bytes) {
      ADD_FAILURE() << "no log file";
      return {};
    }
    EXPECT_GE(bytes->size(), 2u);
    EXPECT_EQ((*bytes)[0], 0xFF);
    EXPECT_EQ((*bytes)[1], 0xFE);
    const std::wstring text = FromUtf16Le(bytes->data() + 2, bytes->size() - 2);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find(L"\r\n", start);
      EXPECT_NE(end, std::wstring::npos) << "last line without CR LF";
      if (end == std::wstring::npos) break;
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }
};

}  // namespace orvix::testing
