// Writes English.lng from the message table (run by the build, on the build
// machine, for every configuration): UTF-8 with a byte-order mark.
#include <cstdio>
#include <fstream>
#include <string>

#include "language/english_language_file.h"

namespace {

std::string Utf8(const std::wstring& text) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const wchar_t c : text) {
    const auto code = static_cast<unsigned long>(c);
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_english_lng FILE\n");
    return 2;
  }
  std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
  file << Utf8(orvix::EnglishLanguageFileText());
  return file.good() ? 0 : 1;
}
