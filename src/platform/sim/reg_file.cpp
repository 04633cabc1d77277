#include "platform/sim/reg_file.h"

#include <vector>

#include "formats/windows_1252.h"
#include "platform/sim/sim_registry.h"
#include "platform/text.h"

namespace orvix::sim {
namespace {

// Logical lines: a trailing backslash after hex data continues the line.
std::vector<std::pair<int, std::wstring>> LogicalLines(std::wstring_view text) {
  std::vector<std::pair<int, std::wstring>> lines;
  std::wstring pending;
  int pendingLine = 0;
  int number = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring line(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (pending.empty()) pendingLine = number;
    else line = Trim(line);
    pending += line;
    const std::wstring trimmed = Trim(pending);
    if (!trimmed.empty() && trimmed.back() == L'\\' && trimmed.find(L"=hex") != std::wstring::npos) {
      pending = trimmed.substr(0, trimmed.size() - 1);
      continue;
    }
    lines.emplace_back(pendingLine, pending);
    pending.clear();
  }
  if (!pending.empty()) lines.emplace_back(pendingLine, pending);
  return lines;
}

class Parser {
 public:
  Parser(SimRegistry& registry, bool unicode) : registry_(registry), unicode_(unicode) {}

  void Line(int number, const std::wstring& raw) {
    line_ = number;
    const std::wstring text = Trim(raw);
    if (text.empty() || text[0] == L';') return;
    if (text[0] == L'[') return Section(text);
    if (key_.empty()) Fail("value outside of any key");
    if (deleting_) return;
    Value(text);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw RegFileError(line_, what); }

  void Section(const std::wstring& text) {
    if (text.back() != L']') Fail("unterminated key name");
    std::wstring name = text.substr(1, text.size() - 2);
    deleting_ = !name.empty() && name[0] == L'-';
    key_ = deleting_ ? name.substr(1) : name;
    try {
      if (deleting_) {
        registry_.RemoveKey(key_);
      } else {
        registry_.PutKey(key_);
      }
    } catch (const std::invalid_argument& e) {
      Fail(e.what());
    }
  }

  void Value(const std::wstring& text) {
    std::size_t pos = 0;
    std::wstring name;
    if (text[0] == L'@') {
      pos = 1;
    } else if (text[0] == L'"') {
      name = QuotedString(text, pos);
    } else {
      Fail("value name must be quoted or @");
    }
    while (pos < text.size() && text[pos] == L' ') ++pos;
    if (pos >= text.size() || text[pos] != L'=') Fail("expected '=' after the value name");
    std::wstring data = Trim(std::wstring_view(text).substr(pos + 1));
    if (data == L"-") return registry_.RemoveValue(key_, name);
    if (!data.empty() && data[0] == L'"') {
      std::size_t at = 0;
      const std::wstring str = QuotedString(data, at);
      if (at != data.size()) Fail("text after the closing quote");
      return registry_.PutString(key_, name, str);
    }
    if (StartsWithText(data, L"dword:")) {
      const std::wstring digits = data.substr(6);
      if (digits.empty() || digits.size() > 8) Fail("dword needs 1 to 8 hex digits");
      return registry_.PutDword(key_, name, static_cast<DWORD>(HexNumber(digits)));
    }
    if (StartsWithText(data, L"hex:")) return registry_.PutValue(key_, name, REG_BINARY, HexBytes(data.substr(4)));
    if (StartsWithText(data, L"hex(")) {
      const std::size_t close = data.find(L"):");
      if (close == std::wstring::npos) Fail("malformed hex(type): value");
      const auto type = static_cast<DWORD>(HexNumber(data.substr(4, close - 4)));
      Bytes bytes = HexBytes(data.substr(close + 2));
      const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
      // REGEDIT4 keeps string data in the ANSI code page; the registry holds UTF-16.
      if (!unicode_ && text) bytes = ToUtf16Le(FromWindows1252(std::string(bytes.begin(), bytes.end())));
      return registry_.PutValue(key_, name, type, std::move(bytes));
    }
    Fail("unknown value data");
  }

  std::wstring QuotedString(const std::wstring& text, std::size_t& pos) const {
    std::wstring out;
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
      if (text[i] == L'\\' && i + 1 < text.size()) {
        out += text[++i];
      } else if (text[i] == L'"') {
        pos = i + 1;
        return out;
      } else {
        out += text[i];
      }
    }
    Fail("unterminated string");
  }

  std::uint64_t HexNumber(const std::wstring& digits) const {
    if (digits.empty()) Fail("missing hex digits");
    std::uint64_t value = 0;
    for (wchar_t c : digits) value = value * 16 + HexDigit(c);
    return value;
  }

  unsigned HexDigit(wchar_t c) const {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    Fail("bad hex digit");
  }

  Bytes HexBytes(const std::wstring& list) const {
    Bytes bytes;
    std::size_t start = 0;
    const std::wstring trimmedList = Trim(list);
    if (trimmedList.empty()) return bytes;
    while (start <= trimmedList.size()) {
      std::size_t end = trimmedList.find(L',', start);
      if (end == std::wstring::npos) end = trimmedList.size();
      const std::wstring item = Trim(std::wstring_view(trimmedList).substr(start, end - start));
      if (item.size() != 2) Fail("hex bytes are two digits each");
      bytes.push_back(static_cast<std::uint8_t>(HexNumber(item)));
      start = end + 1;
    }
    return bytes;
  }

  SimRegistry& registry_;
  bool unicode_;
  int line_ = 0;
  std::wstring key_;
  bool deleting_ = false;
};

// Text that decodes as UTF-8 without a replacement character it did not
// already spell out; anything else is taken for the ANSI code page.
bool IsUtf8(std::string_view text) {
  const std::wstring decoded = FromUtf8(text);
  return decoded.find(L'\uFFFD') == std::wstring::npos || text.find("\xEF\xBF\xBD") != std::string_view::npos;
}

}  // namespace

RegFileError::RegFileError(int line, const std::string& what)
    : std::runtime_error(".reg line " + std::to_string(line) + ": " + what), line_(line) {}

void ImportRegText(SimRegistry& registry, std::wstring_view text) {
  const auto lines = LogicalLines(text);
  std::size_t first = 0;
  while (first < lines.size() && Trim(lines[first].second).empty()) ++first;
  if (first == lines.size()) throw RegFileError(1, "empty file");
  std::wstring header = Trim(lines[first].second);
  if (!header.empty() && header[0] == 0xFEFF) header.erase(0, 1);
  const bool unicode = header == L"Windows Registry Editor Version 5.00";
  if (!unicode && header != L"REGEDIT4") throw RegFileError(lines[first].first, "not a .reg file header");
  Parser parser(registry, unicode);
  for (std::size_t i = first + 1; i < lines.size(); ++i) parser.Line(lines[i].first, lines[i].second);
}

void ImportRegBytes(SimRegistry& registry, const Bytes& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    return ImportRegText(registry, FromUtf16Le(bytes.data() + 2, bytes.size() - 2));
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  ImportRegText(registry, IsUtf8(text) ? FromUtf8(text) : FromWindows1252(text));
}

}  // namespace orvix::sim
