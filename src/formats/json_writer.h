// A compact JSON writer (RFC 8259) for machine-readable output: no spaces
// between tokens, texts escaped so that the result is valid JSON once the
// wide text is encoded as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvix {

// A JSON string literal, quotes included. '"', '\\' and the control
// characters are escaped (the short forms \b \f \n \r \t where JSON has
// them, \u00XX otherwise); other characters stay as they are, except
// unpaired surrogates, which are written as \uXXXX so the text stays
// encodable, and code points beyond U+10FFFF, which become U+FFFD.
std::wstring JsonString(std::wstring_view text);
// The two-character escape JSON has for a character ('"', '\\' and the
// controls \b \f \n \r \t), or null.
const wchar_t* JsonShortEscape(char32_t c);

// Writes values in order; commas and colons are placed by the writer.
// Usage: BeginObject().Key(L"a").Int(1).EndObject(). Calls out of place
// (a value where a key is due, an unbalanced End...) are programming errors
// and abort in debug builds.
class TJsonWriter {
 public:
  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  TJsonWriter& Key(std::wstring_view name);

  TJsonWriter& String(std::wstring_view text);
  TJsonWriter& Int(std::int64_t value);
  TJsonWriter& Bool(bool value);
  TJsonWriter& Null();

  // The text so far; complete once every object and array is closed.
  const std::wstring& Text() const { return text_; }

 private:
  struct Level {
    bool object;
    bool empty = true;
    bool keyDue = true;  // objects alternate key and value
  };
  void BeforeValue();
  TJsonWriter& Close(bool object, wchar_t bracket);

  std::wstring text_;
  std::vector<Level> levels_;
};

}  // namespace orvix
