// The entry points of the fuzz targets, one per reader of outside data. The
// libFuzzer programs (fuzz_main.cpp) and the native corpus replay both call
// them, so a crashing input kept in tests/fuzz/corpus/<name>/ is replayed
// through exactly the code that found it. Every entry runs over the current
// platform, a simulated machine: one per process under libFuzzer, a fresh one
// per test in the replay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvix::fuzz {

using FuzzFunction = void (*)(const std::uint8_t* data, std::size_t size);

struct FuzzEntry {
  const char* name;  // also the corpus folder's and the fuzz program's name
  FuzzFunction run;
};

std::span<const FuzzEntry> FuzzEntries();
// Nullptr for an unknown name.
const FuzzEntry* FindFuzzEntry(std::string_view name);

// The entries, by the readers they feed.
void FuzzShellLink(const std::uint8_t* data, std::size_t size);
void FuzzIniText(const std::uint8_t* data, std::size_t size);
void FuzzExtIniFile(const std::uint8_t* data, std::size_t size);
void FuzzTextCodec(const std::uint8_t* data, std::size_t size);
void FuzzSafeFormat(const std::uint8_t* data, std::size_t size);
void FuzzUsageRating(const std::uint8_t* data, std::size_t size);
void FuzzCommandPaths(const std::uint8_t* data, std::size_t size);
void FuzzFolderMacros(const std::uint8_t* data, std::size_t size);
void FuzzRegistryText(const std::uint8_t* data, std::size_t size);
void FuzzZlbArchive(const std::uint8_t* data, std::size_t size);
void FuzzJsonTree(const std::uint8_t* data, std::size_t size);
void FuzzAddonDatabase(const std::uint8_t* data, std::size_t size);
void FuzzPluginRegistry(const std::uint8_t* data, std::size_t size);
void FuzzMozLz4(const std::uint8_t* data, std::size_t size);
void FuzzOperaWidgetPrefs(const std::uint8_t* data, std::size_t size);
void FuzzChromePreferences(const std::uint8_t* data, std::size_t size);

}  // namespace orvix::fuzz
