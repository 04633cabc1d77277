#include "fuzz/fuzz_entries.h"

#include <algorithm>
#include <iterator>

namespace orvix::fuzz {
namespace {

constexpr FuzzEntry kEntries[] = {
    {"shell_link", FuzzShellLink},         {"ini_text", FuzzIniText},
    {"ext_ini_file", FuzzExtIniFile},      {"text_codec", FuzzTextCodec},
    {"safe_format", FuzzSafeFormat},       {"usage_rating", FuzzUsageRating},
    {"command_paths", FuzzCommandPaths},   {"folder_macros", FuzzFolderMacros},
    {"registry_text", FuzzRegistryText},   {"zlb_archive", FuzzZlbArchive},
    {"json_tree", FuzzJsonTree},           {"addon_database", FuzzAddonDatabase},
    {"plugin_registry", FuzzPluginRegistry}, {"moz_lz4", FuzzMozLz4},
    {"opera_widget_prefs", FuzzOperaWidgetPrefs}, {"chrome_preferences", FuzzChromePreferences},
};

}  // namespace

std::span<const FuzzEntry> FuzzEntries() { return kEntries; }

const FuzzEntry* FindFuzzEntry(std::string_view name) {
  const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),
                                  [&](const FuzzEntry& entry) { return name == entry.name; });
  return found == std::end(kEntries) ? nullptr : found;
}

}  // namespace orvix::fuzz
