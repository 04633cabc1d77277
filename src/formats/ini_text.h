// The text of an INI file as Windows' profile-string functions see it, edited
// one key at a time. Reading: section and key names ignore case and
// surrounding blanks, the first matching section and, within it, the first
// matching key win, a value is trimmed and loses one pair of enclosing quotes.
// Writing replaces the key's line in place, or adds the key after the last
// line of its section, or adds the section at the end; every other line,
// comments and blank lines included, is kept byte for byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/text_lines.h"

namespace orvix {

class IniText {
 public:
  IniText() = default;
  explicit IniText(std::wstring_view text);

  // The whole text, with every line's own line break.
  std::wstring Text() const;

  // The value of a key; nullopt when the section or the key is missing (a
  // line without "=" or a comment line is never a key).
  std::optional<std::wstring> Read(std::wstring_view section, std::wstring_view key) const;
  std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) const;
  // GetPrivateProfileInt over the value; see ParseProfileInt.
  int ReadInt(std::wstring_view section, std::wstring_view key, int defaultValue) const;

  // Sets a key. Line breaks inside the names or the value become blanks, so
  // that a value can never add lines (or sections) to the file.
  void Write(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  // Removes the key's line (the first of that name in the section); false
  // when there was none.
  bool Remove(std::wstring_view section, std::wstring_view key);

  // Section names in file order, each once (the first spelling wins); the key
  // names of the first section of that name, in file order.
  std::vector<std::wstring> SectionNames() const;
  std::vector<std::wstring> KeyNames(std::wstring_view section) const;

 private:
  // Lines [begin, end) of the first section with this name; begin is the
  // header's line. Empty optional when there is none.
  struct SectionRange {
    std::size_t begin;
    std::size_t end;
  };
  std::optional<SectionRange> FindSection(std::wstring_view section) const;
  std::optional<std::size_t> FindKey(const SectionRange& range, std::wstring_view key) const;
  void InsertLine(std::size_t at, std::wstring text);

  std::vector<TTextLine> lines_;
  std::wstring newline_ = L"\r\n";  // the file's own line break, used for lines added
};

// GetPrivateProfileInt's reading of a value: an optional sign and the leading
// decimal digits ("12abc" is 12), clamped to the int range; a value that does
// not start with a digit gives the default.
int ParseProfileInt(std::wstring_view value, int defaultValue);

// Splits a "name=value" line at its first "=" into the trimmed name and the
// trimmed value; nullopt for a line without "=".
struct IniKeyLine {
  std::wstring name;
  std::wstring value;
};
std::optional<IniKeyLine> SplitIniKeyLine(std::wstring_view line);

// The text with every CR and LF replaced by a blank: what an INI line can hold.
std::wstring IniSingleLine(std::wstring_view text);

}  // namespace orvix
