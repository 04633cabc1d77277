#include "addons/chrome_json_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "formats/hmac_sha256.h"
#include "formats/text_codec.h"
#include "platform/file_helpers.h"

namespace orvix {
namespace {

constexpr std::uint64_t kMaxBrowserJsonFile = 64u << 20;

void AppendString(std::string& out, std::wstring_view text, bool escapeLessThan) {
  out += '"';
  for (const char ch : ToUtf8(text)) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '<':  // Chromium's writer keeps "</script>" out of its files
        out += escapeLessThan ? "\\u003C" : "<";
        break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", c);
          out += escape;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

// A number as the browser's own values hold it: a whole number that fits 32
// bits stays as written; any other number is a double, written shortest
// with ".0" added when it would otherwise read back as a whole number.
void AppendMacNumber(std::string& out, const std::wstring& source) {
  const std::string text = ToUtf8(source);
  long long whole = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
  if (error == std::errc() && end == text.data() + text.size() && whole >= INT32_MIN && whole <= INT32_MAX) {
    out += std::to_string(whole);
    return;
  }
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  char buffer[64];
  const auto format = std::fabs(value) < 1e21 ? std::chars_format::fixed : std::chars_format::scientific;
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, format);
  std::string number(buffer, written.ptr);
  if (number.find_first_of(".e") == std::string::npos) number += ".0";
  out += number;
}

bool IsEmptyContainer(const TJsonNode& node) {
  return (node.IsObject() && node.Members().empty()) || (node.IsArray() && node.Elements().empty());
}

// The authenticated form drops empty objects and lists from objects, after
// cleaning their own members (lists are kept as they are).
TJsonNode Cleaned(const TJsonNode& node) {
  if (!node.IsObject()) return node;
  TJsonNode out = TJsonNode::Object();
  for (const auto& [name, value] : node.Members()) {
    TJsonNode child = Cleaned(value);
    if (!IsEmptyContainer(child)) out.Members().emplace_back(name, std::move(child));
  }
  return out;
}

void Append(std::string& out, const TJsonNode& node, bool macForm, bool escapeLessThan) {
  switch (node.Kind()) {
    case TJsonKind::Null: out += "null"; break;
    case TJsonKind::Bool: out += node.BoolValue() ? "true" : "false"; break;
    case TJsonKind::Number:
      if (macForm) {
        AppendMacNumber(out, node.Text());
      } else {
        out += ToUtf8(node.Text());
      }
      break;
    case TJsonKind::String: AppendString(out, node.Text(), escapeLessThan); break;
    case TJsonKind::Array: {
      out += '[';
      bool first = true;
      for (const TJsonNode& element : node.Elements()) {
        if (!first) out += ',';
        first = false;
        Append(out, element, macForm, escapeLessThan);
      }
      out += ']';
      break;
    }
    case TJsonKind::Object: {
      std::vector<const TJsonNode::Member*> members;
      for (const TJsonNode::Member& member : node.Members()) members.push_back(&member);
      if (macForm) {
        // The browser's dictionaries are ordered by the names' UTF-8 bytes.
        std::stable_sort(members.begin(), members.end(), [](const auto* a, const auto* b) {
          return ToUtf8(a->first) < ToUtf8(b->first);
        });
      }
      out += '{';
      bool first = true;
      for (const TJsonNode::Member* member : members) {
        if (!first) out += ',';
        first = false;
        AppendString(out, member->first, escapeLessThan);
        out += ':';
        Append(out, member->second, macForm, escapeLessThan);
      }
      out += '}';
      break;
    }
  }
}

}  // namespace

std::string BrowserFileJson(const TJsonNode& value, TJsonFileStyle style) {
  std::string out;
  Append(out, value, false, style == TJsonFileStyle::jfsChromium);
  return out;
}

std::wstring JsonStringMember(const TJsonNode* object, std::wstring_view name) {
  const TJsonNode* member = object != nullptr ? object->Find(name) : nullptr;
  return member != nullptr && member->IsString() ? member->Text() : std::wstring();
}

bool LoadBrowserJson(const std::wstring& path, TJsonNode& root) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, kMaxBrowserJsonFile)) return false;
  return ParseJson(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), root);
}

bool SaveBrowserJson(const std::wstring& path, const TJsonNode& root, TJsonFileStyle style) {
  const std::string text = BrowserFileJson(root, style);
  return ReplaceFileBytes(path, Bytes(text.begin(), text.end()));
}

std::string ChromeMacJson(const TJsonNode* value) {
  if (value == nullptr) return {};
  std::string out;
  Append(out, Cleaned(*value), true, true);
  return out;
}

std::string ChromePrefMac(std::string_view seed, std::string_view deviceId, std::string_view path,
                          const TJsonNode* value) {
  std::string message(deviceId);
  message += path;
  message += ChromeMacJson(value);
  return HmacSha256Hex(seed, message);
}

}  // namespace orvix
