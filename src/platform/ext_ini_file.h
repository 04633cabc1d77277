// TExtIniFile: a whole INI file in memory, for the software cache and the
// language files. Load reads the file by its byte-order mark (ANSI without
// one) and keeps only sections and their trimmed lines: comments, blank lines
// and lines before the first section are dropped, a repeated section name adds
// a second section. Sections, and keys within a section, are found ignoring
// case through hashed indexes; the first section or key of a name wins.
// Nothing reaches the disk until Save, which writes UTF-16LE with a
// byte-order mark through the replace helper.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvix {

class TExtIniFile {
 public:
  // Replaces the content with the file's; false (and no content) when the
  // file cannot be read. Callers test that the file exists first.
  bool Load(const std::wstring& path);
  void LoadText(std::wstring_view text);
  // Every section as "[name]", its lines and one empty line.
  bool Save(const std::wstring& path) const;
  std::wstring Text() const;

  // The text after the first "=" of the key's line.
  std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) const;
  // Creates the section at the end when missing, then replaces the key's line
  // or appends "key=value". Line breaks become blanks, so that a value can
  // never add lines or sections to the saved file; names and value are
  // trimmed as a load would trim them.
  void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  // A decimal integer (optional sign) filling the whole value, else the default.
  std::int64_t ReadInteger(std::wstring_view section, std::wstring_view key, std::int64_t defaultValue) const;
  void WriteInteger(std::wstring_view section, std::wstring_view key, std::int64_t value);
  // Written with 15 significant digits and the user's decimal separator. A
  // read takes the user's separator and, so that a locale change does not
  // lose the value, "." or "," as well.
  double ReadFloat(std::wstring_view section, std::wstring_view key, double defaultValue) const;
  void WriteFloat(std::wstring_view section, std::wstring_view key, double value);

  // The key names of a section, in order; every line of it, in order.
  std::vector<std::wstring> ReadSection(std::wstring_view section) const;
  std::vector<std::wstring> ReadSectionValues(std::wstring_view section) const;
  // Removes every section of that name, so that none of its keys reads back.
  void EraseSection(std::wstring_view section);
  void DeleteKey(std::wstring_view section, std::wstring_view key);

 private:
  struct Section {
    std::wstring name;
    std::vector<std::wstring> lines;
    std::unordered_map<std::wstring, std::size_t> keys;  // upper-cased key -> its first line
    void IndexKeys();
    const std::wstring* FindLine(std::wstring_view key) const;
  };
  const Section* FindSection(std::wstring_view name) const;
  Section* FindSection(std::wstring_view name);
  void IndexSections();

  std::vector<Section> sections_;
  std::unordered_map<std::wstring, std::size_t> sectionIndex_;  // upper-cased name -> first section
};

}  // namespace orvix
