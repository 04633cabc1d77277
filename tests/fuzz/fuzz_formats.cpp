// Entry points of the pure format readers: shortcuts, INI text, the text
// codecs and the safe formatter.
#include <string>
#include <vector>

#include "formats/ini_text.h"
#include "formats/safe_format.h"
#include "formats/shell_link.h"
#include "formats/text_codec.h"
#include "formats/windows_1252.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_input.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix::fuzz {

void FuzzShellLink(const std::uint8_t* data, std::size_t size) {
  const auto link = ParseShellLink(data, size);
  if (link) link->TargetPath();
  const auto utf8 = ParseShellLink(data, size, [](std::string_view bytes) {
    return FromUtf8(bytes);
  });
  FuzzCheck(link.has_value() == utf8.has_value(), "the code page decides whether a file is a shortcut");
}

// Input: the section, key and value to write, then the file's text.
void FuzzIniText(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::wstring section = input.Field();
  const std::wstring key = input.Field();
  const std::wstring value = input.Field();
  const std::wstring text = input.RestText();
  IniText ini(text);
  FuzzCheck(ini.Text() == text, "reading an INI text keeps it byte for byte");
  for (const std::wstring& name : ini.SectionNames()) {
    for (const std::wstring& keyName : ini.KeyNames(name)) {
      const auto read = ini.Read(name, keyName);
      FuzzCheck(read.has_value(), "a listed key reads");
      ParseProfileInt(*read, -1);
    }
  }
  ini.ReadInt(section, key, 0);
  const std::size_t lines = IniText(ini.Text()).SectionNames().size();
  ini.Write(section, key, value);
  // Key names are the program's own; a value from outside must never add a
  // section, whatever it holds.
  if (!Trim(IniSingleLine(key)).starts_with(L'['))
    FuzzCheck(IniText(ini.Text()).SectionNames().size() <= lines + 1, "a write adds at most its own section");
  SplitIniKeyLine(value);
}

// Input: the bytes of a text in any encoding. The decoded forms must survive
// a round trip through their encoders unchanged.
void FuzzTextCodec(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::wstring utf16 = FromUtf16Le(data, size);
  FuzzCheck(FromUtf16Le(ToUtf16Le(utf16)) == utf16, "UTF-16LE round trip");
  const std::wstring utf8 = FromUtf8(bytes);
  FuzzCheck(FromUtf8(ToUtf8(utf8)) == utf8, "UTF-8 round trip");
  const std::wstring ansi = FromWindows1252(bytes);
  FuzzCheck(FromWindows1252(ToWindows1252(ansi)) == ansi, "Windows-1252 round trip");
  ToUtf8(utf16);
  ToWindows1252(utf16);
  const Bytes file(data, data + size);
  TextEncoding encoding{};
  const std::wstring text = DecodeTextFile(file, &encoding);
  FuzzCheck(DecodeTextFile(EncodeTextFile(text, encoding)) == text, "a text file reads back as written");
  FitsAnsiCodePage(utf16);
}

// Input: up to four arguments (a kind byte, then a number or a text field),
// then the pattern as a language file would hold it. The trusted fallback
// always matches the arguments.
void FuzzSafeFormat(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  std::vector<FormatArg> args;
  std::wstring fallback;
  for (int count = input.Byte() % 5; count > 0; --count) {
    if (input.Byte() % 2 == 0) {
      args.emplace_back(input.Field());
      fallback += L"%s ";
    } else {
      args.emplace_back(static_cast<std::int64_t>(static_cast<std::int32_t>(input.Number())));
      fallback += L"%d ";
    }
  }
  const std::wstring pattern = input.RestText();
  FuzzCheck(FormatMatches(fallback, args), "the fallback matches");
  const std::wstring text = SafeFormat(pattern, args, fallback);
  if (!FormatMatches(pattern, args))
    FuzzCheck(text == SafeFormat(fallback, args, fallback), "a pattern that does not match gives the fallback");
}

}  // namespace orvix::fuzz
