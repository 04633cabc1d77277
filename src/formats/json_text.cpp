// The two text forms of a JSON tree (see json_text.h).
#include "formats/json_text.h"

#include "formats/json_writer.h"

namespace orvix {
namespace {

constexpr wchar_t kHex[] = L"0123456789abcdef";

void AppendEscape(std::wstring& out, unsigned unit) {
  out += L"\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

// A code point as "\u" escapes: one for the first 65536, a surrogate pair
// beyond (wide text is UTF-32 in the native build, where such a character
// is one unit).
void AppendCodePointEscape(std::wstring& out, char32_t c) {
  if (c > 0xFFFF && c <= 0x10FFFF) {
    const char32_t v = c - 0x10000;
    AppendEscape(out, 0xD800 + (v >> 10));
    AppendEscape(out, 0xDC00 + (v & 0x3FF));
  } else if (c > 0x10FFFF) {
    AppendEscape(out, 0xFFFD);
  } else {
    AppendEscape(out, c);
  }
}

// `brackets`: the indented form also escapes the characters of markup and
// of lists, so that a preference text never reads as either.
void AppendString(std::wstring& out, const std::wstring& text, bool brackets) {
  out += L'"';
  for (const wchar_t ch : text) {
    const char32_t c = static_cast<char32_t>(ch);
    if (const wchar_t* escape = JsonShortEscape(c)) {
      out += escape;
      continue;
    }
    const bool markup = c == L'<' || c == L'>' || c == L'[' || c == L']';
    if (c < 32 || c > 127 || (brackets && markup)) {
      AppendCodePointEscape(out, c);
    } else {
      out += ch;
    }
  }
  out += L'"';
}

void AppendScalar(std::wstring& out, const TJsonNode& node, bool brackets) {
  switch (node.Kind()) {
    case TJsonKind::Null: out += L"null"; break;
    case TJsonKind::Bool: out += node.BoolValue() ? L"true" : L"false"; break;
    case TJsonKind::Number: out += node.Text(); break;
    case TJsonKind::String: AppendString(out, node.Text(), brackets); break;
    default: break;
  }
}

// `depth` is the counter before this node is entered; entering raises it to
// d, and a member (itself a node) raises it once more while its value is
// written one lower, which is d again.
void AppendIndented(std::wstring& out, const TJsonNode& node, int depth) {
  const int d = depth + 1;
  if (node.IsObject()) {
    if (node.Members().empty()) {
      out += L"{}";
      return;
    }
    out += L"{\r\n";
    bool first = true;
    for (const auto& [name, value] : node.Members()) {
      if (!first) out += L",\r\n";
      first = false;
      out += Indent(d);
      AppendString(out, name, true);
      out += L": ";
      AppendIndented(out, value, d);
    }
    out += L"\r\n";
    out += Indent(d - 1);
    out += L'}';
  } else if (node.IsArray()) {
    if (node.Elements().empty()) {
      out += L"[]";
      return;
    }
    out += L"[ ";
    bool first = true;
    for (const TJsonNode& element : node.Elements()) {
      if (!first) out += L", ";
      first = false;
      AppendIndented(out, element, d);
    }
    out += L" ]";
  } else {
    AppendScalar(out, node, true);
  }
}

void AppendCompact(std::wstring& out, const TJsonNode& node) {
  if (node.IsObject()) {
    out += L'{';
    bool first = true;
    for (const auto& [name, value] : node.Members()) {
      if (!first) out += L',';
      first = false;
      AppendString(out, name, false);
      out += L':';
      AppendCompact(out, value);
    }
    out += L'}';
  } else if (node.IsArray()) {
    out += L'[';
    bool first = true;
    for (const TJsonNode& element : node.Elements()) {
      if (!first) out += L',';
      first = false;
      AppendCompact(out, element);
    }
    out += L']';
  } else {
    AppendScalar(out, node, false);
  }
}

}  // namespace

std::wstring Indent(int level) { return level > 0 ? std::wstring(static_cast<std::size_t>(level) * 2, L' ') : L""; }

std::wstring WriteJsonText(const TJsonNode& node) {
  std::wstring out;
  AppendIndented(out, node, 0);
  return out;
}

std::wstring WriteJsonCompact(const TJsonNode& node) {
  std::wstring out;
  AppendCompact(out, node);
  return out;
}

}  // namespace orvix
