#include "addons/firefox_startup_cache.h"

#include <cstring>

#include "addons/chrome_json_text.h"
#include "formats/json_tree.h"
#include "platform/file_helpers.h"

namespace orvix {
namespace {

constexpr char kMagic[] = "mozLz40";  // and its terminating zero: 8 bytes
constexpr std::size_t kHeaderSize = 12;

// One LZ4 block (the format's sequences of literals and back references),
// every length and offset checked against the input and the output.
bool DecodeLz4Block(const std::uint8_t* in, std::size_t inSize, std::size_t outSize, std::string& out) {
  out.clear();
  out.reserve(outSize);
  std::size_t i = 0;
  const auto readLength = [&](std::size_t& length) {
    if (length != 15) return true;
    for (;;) {
      if (i >= inSize) return false;
      const std::uint8_t more = in[i++];
      length += more;
      if (length > outSize) return false;
      if (more != 255) return true;
    }
  };
  while (i < inSize) {
    const std::uint8_t token = in[i++];
    std::size_t literals = token >> 4;
    if (!readLength(literals) || literals > inSize - i || literals > outSize - out.size()) return false;
    out.append(reinterpret_cast<const char*>(in + i), literals);
    i += literals;
    if (i == inSize) break;  // the last sequence has literals only
    if (inSize - i < 2) return false;
    const std::size_t offset = in[i] | (in[i + 1] << 8);
    i += 2;
    std::size_t match = token & 15;
    if (!readLength(match)) return false;
    match += 4;
    if (offset == 0 || offset > out.size() || match > outSize - out.size()) return false;
    for (std::size_t k = 0, from = out.size() - offset; k < match; ++k) out += out[from + k];
  }
  return out.size() == outSize;
}

}  // namespace

bool DecodeMozLz4(const Bytes& file, std::string& text) {
  if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) return false;
  const std::uint32_t size = file[8] | (file[9] << 8) | (file[10] << 16) | (static_cast<std::uint32_t>(file[11]) << 24);
  if (size > kMaxStartupCache) return false;
  return DecodeLz4Block(file.data() + kHeaderSize, file.size() - kHeaderSize, size, text);
}

Bytes EncodeMozLz4(std::string_view text) {
  Bytes file(kMagic, kMagic + sizeof kMagic);
  const std::uint32_t size = static_cast<std::uint32_t>(text.size());
  for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(size >> shift));
  // One sequence of literals only: token 15 and the rest of the length in
  // bytes of 255 and a last one below it, or the length in the token.
  std::size_t length = text.size();
  file.push_back(static_cast<std::uint8_t>((length >= 15 ? 15 : length) << 4));
  if (length >= 15) {
    for (length -= 15; length >= 255; length -= 255) file.push_back(255);
    file.push_back(static_cast<std::uint8_t>(length));
  }
  file.insert(file.end(), text.begin(), text.end());
  return file;
}

TStartupCacheSwitch SwitchStartupCacheEntry(const std::wstring& cacheFile, const std::wstring& id, bool enabled,
                                            Bytes& newFile, bool& changed) {
  changed = false;
  if (!FileExists(cacheFile)) return TStartupCacheSwitch::tscsNoCache;
  Bytes bytes;
  std::string text;
  TJsonNode root;
  if (!ReadFileBytes(cacheFile, bytes, kMaxStartupCache) || !DecodeMozLz4(bytes, text) || !ParseJson(text, root) ||
      !root.IsObject())
    return TStartupCacheSwitch::tscsUnreadable;
  for (auto& [location, content] : root.Members()) {
    TJsonNode* entry = content.FindPath({L"addons", id});
    if (entry == nullptr || !entry->IsObject()) continue;
    const TJsonNode* was = entry->Find(L"enabled");
    if (was != nullptr && was->IsBool() && was->BoolValue() == enabled) continue;
    entry->Set(L"enabled", TJsonNode::Bool(enabled));
    changed = true;
  }
  if (changed) newFile = EncodeMozLz4(BrowserFileJson(root, TJsonFileStyle::jfsFirefox));
  return TStartupCacheSwitch::tscsDone;
}

}  // namespace orvix
