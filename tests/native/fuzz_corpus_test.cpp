// Replays the fuzz corpora, seeds and every input that ever crashed a
// reader, through the same entry points the libFuzzer programs call.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_entries.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

const std::filesystem::path kCorpora = std::filesystem::path(ORVIX_SOURCE_DIR) / "tests/fuzz/corpus";

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpusTest, EveryKeptInputRunsThroughItsEntryWithoutFault) {
  for (const fuzz::FuzzEntry& entry : fuzz::FuzzEntries()) {
    SCOPED_TRACE(entry.name);
    const std::filesystem::path folder = kCorpora / entry.name;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << "every fuzz target has a corpus";
    // One machine per target, as one fuzz process has.
    CurrentSimMachine current;
    int inputs = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      SCOPED_TRACE(file.path().filename().string());
      const std::vector<std::uint8_t> bytes = FileBytes(file.path());
      entry.run(bytes.data(), bytes.size());
      ++inputs;
    }
    EXPECT_GT(inputs, 0) << "a corpus holds at least one seed";
    EXPECT_EQ(current.machine.registry.OpenHandleCount(), 0u) << "registry handles left open";
  }
}

TEST(FuzzCorpusTest, EveryCorpusFolderNamesAnEntry) {
  for (const auto& folder : std::filesystem::directory_iterator(kCorpora)) {
    EXPECT_NE(fuzz::FindFuzzEntry(folder.path().filename().string()), nullptr) << folder.path();
  }
}

}  // namespace
}  // namespace orvix::testing
