// The shredder's tests: a simulated machine, a pump a test can script, and
// the file journal in a form that reads like the steps of a shred.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scripted_pump.h"
#include "shredder/shred_file.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {

inline constexpr std::uint64_t kMiB = 1024 * 1024;

class ShredTest : public SimMachineTest {
 protected:
  void TearDown() override {
    SetShredStopRequest(false);
    EXPECT_EQ(Files().OpenHandleCount(), 0u) << "file handles left open";
    SimMachineTest::TearDown();
  }

  sim::SimFileSystem& Files() { return Machine().files; }

  // A file of `size` bytes counting up from 1, so that no byte happens to
  // equal a fill value everywhere.
  void PutCountingFile(const std::wstring& path, std::uint64_t size, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    Bytes data(size);
    for (std::uint64_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i % 251 + 1);
    Files().PutFile(path, std::move(data), attributes);
  }

  // The next two fill values the overwrite passes will draw.
  static std::pair<int, int> NextTwoFills() {
    TShredFill copy = ShredFillGenerator();
    const int first = copy.Next();
    return {first, copy.Next()};
  }

  // The journal as lines: "write OFFSET+SIZE fill F" (F the first byte when
  // every recorded byte is alike, else "mixed"), "flush", "close", "delete".
  std::vector<std::string> Steps() {
    std::vector<std::string> steps;
    for (const sim::FileEvent& event : Files().Journal()) {
      switch (event.op) {
        case sim::FileOp::Write: {
          bool alike = !event.head.empty();
          for (std::uint8_t byte : event.head) alike = alike && byte == event.head.front();
          steps.push_back("write " + std::to_string(event.offset) + "+" + std::to_string(event.size) + " fill " +
                          (alike ? std::to_string(event.head.front()) : std::string("mixed")));
          break;
        }
        case sim::FileOp::Flush: steps.push_back("flush"); break;
        case sim::FileOp::Close: steps.push_back("close"); break;
        case sim::FileOp::Delete: steps.push_back("delete " + Narrow(event.path)); break;
        case sim::FileOp::SetEnd: steps.push_back("set end"); break;
        case sim::FileOp::Move: steps.push_back("move"); break;
      }
    }
    return steps;
  }

  static std::string Write(std::uint64_t offset, std::uint64_t size, int fill) {
    return "write " + std::to_string(offset) + "+" + std::to_string(size) + " fill " + std::to_string(fill);
  }
};

}  // namespace orvix::testing
