#include "formats/json_writer.h"

#include <cassert>

namespace orvix {
namespace {

constexpr wchar_t kHex[] = L"0123456789abcdef";

void AppendUnicodeEscape(std::wstring& out, char32_t unit) {
  out += L"\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

const wchar_t* JsonShortEscape(char32_t c) {
  switch (c) {
    case U'"': return L"\\\"";
    case U'\\': return L"\\\\";
    case U'\b': return L"\\b";
    case U'\f': return L"\\f";
    case U'\n': return L"\\n";
    case U'\r': return L"\\r";
    case U'\t': return L"\\t";
    default: return nullptr;
  }
}

std::wstring JsonString(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + 2);
  out += L'"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = static_cast<char32_t>(text[i]);
    if (const wchar_t* escape = JsonShortEscape(c)) {
      out += escape;
      continue;
    }
    if (c < 0x20) {
      AppendUnicodeEscape(out, c);
    } else if (sizeof(wchar_t) == 2 && IsHighSurrogate(c) && i + 1 < text.size() &&
               IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      out += text[i];  // a UTF-16 pair: one character
      out += text[++i];
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUnicodeEscape(out, c);
    } else if (c > 0x10FFFF) {
      out += static_cast<wchar_t>(0xFFFD);
    } else {
      out += text[i];
    }
  }
  out += L'"';
  return out;
}

void TJsonWriter::BeforeValue() {
  if (levels_.empty()) {
    assert(text_.empty() && "one top-level value only");
    return;
  }
  Level& level = levels_.back();
  if (level.object) {
    assert(!level.keyDue && "an object member needs its key first");
    level.keyDue = true;
    return;
  }
  if (!level.empty) text_ += L',';
  level.empty = false;
}

TJsonWriter& TJsonWriter::BeginObject() {
  BeforeValue();
  text_ += L'{';
  levels_.push_back({true});
  return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
  BeforeValue();
  text_ += L'[';
  levels_.push_back({false});
  return *this;
}

TJsonWriter& TJsonWriter::Close(bool object, wchar_t bracket) {
  assert(!levels_.empty() && levels_.back().object == object && levels_.back().keyDue && "unbalanced close");
  (void)object;
  levels_.pop_back();
  text_ += bracket;
  return *this;
}

TJsonWriter& TJsonWriter::EndObject() { return Close(true, L'}'); }
TJsonWriter& TJsonWriter::EndArray() { return Close(false, L']'); }

TJsonWriter& TJsonWriter::Key(std::wstring_view name) {
  assert(!levels_.empty() && levels_.back().object && levels_.back().keyDue && "a key belongs in an object");
  Level& level = levels_.back();
  if (!level.empty) text_ += L',';
  level.empty = false;
  level.keyDue = false;
  text_ += JsonString(name);
  text_ += L':';
  return *this;
}

TJsonWriter& TJsonWriter::String(std::wstring_view text) {
  BeforeValue();
  text_ += JsonString(text);
  return *this;
}

TJsonWriter& TJsonWriter::Int(std::int64_t value) {
  BeforeValue();
  text_ += std::to_wstring(value);
  return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? L"true" : L"false";
  return *this;
}

TJsonWriter& TJsonWriter::Null() {
  BeforeValue();
  text_ += L"null";
  return *this;
}

}  // namespace orvix
