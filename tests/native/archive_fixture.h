// Archives for tests: files made by our archive writer and put on the
// simulated machine, and contents of any size.
#pragma once

#include <string>
#include <vector>

#include "formats/zlb_writer.h"
#include "platform/sim/sim_machine.h"
#include "sim_fixture.h"

namespace orvix::testing {

inline constexpr wchar_t kArchivePassword[] = L"kqz7_1984";

// Bytes that deflate a little but not to nothing.
inline Bytes SampleContent(std::size_t size, unsigned seed = 1) {
  Bytes bytes(size);
  unsigned state = seed;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<std::uint8_t>(i % 7 == 0 ? (state >> 16) : 'a' + i % 5);
  }
  return bytes;
}

inline TZlbSourceFile SourceFile(std::string folder, std::string name, Bytes content,
                                 std::uint8_t method = kZlbEncipheredDeflated) {
  return {std::move(folder), std::move(name), std::move(content), method};
}

inline TZlbWriteOptions Enciphered(int version = 2, bool compressTable = true) {
  return {version, compressTable, kArchivePassword};
}

}  // namespace orvix::testing
