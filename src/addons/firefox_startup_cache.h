// Firefox's add-on start-up cache "addonStartup.json.lz4" in the profile:
// JSON compressed as one LZ4 block after the magic "mozLz40\0" and the
// uncompressed size (32 bits, little-endian). Firefox starts its add-ons from
// this cache and not from "extensions.json", so the Firefox cleaner switches
// an add-on in both; Firefox then keeps the two in step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/text_codec.h"

namespace orvix {

// The JSON text of a cache file; false when the magic is wrong, the block is
// damaged or it does not decompress to exactly the stated size (at most
// kMaxStartupCache bytes).
constexpr std::uint32_t kMaxStartupCache = 64u << 20;
bool DecodeMozLz4(const Bytes& file, std::string& text);
// A cache file holding the text (stored as LZ4 literals, which every LZ4
// reader accepts).
Bytes EncodeMozLz4(std::string_view text);

enum class TStartupCacheSwitch {
  tscsDone,        // switched (or the cache does not list the add-on)
  tscsNoCache,     // the profile has no cache file
  tscsUnreadable,  // the file is there but is not a cache this program can read
};
// Sets "enabled" of the add-on in every install location of the cache text;
// `newFile` receives the new cache file when `changed` is set.
TStartupCacheSwitch SwitchStartupCacheEntry(const std::wstring& cacheFile, const std::wstring& id, bool enabled,
                                            Bytes& newFile, bool& changed);

}  // namespace orvix
