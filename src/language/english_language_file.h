// English.lng: the built-in texts as a language file, written by the build
// from the message table, so that it always holds every key with the text
// the program shows without it. Translators start from a copy of it.
#pragma once

#include <string>

namespace orvix {

// The file's text with CRLF line ends (to be stored as UTF-8 with a BOM).
std::wstring EnglishLanguageFileText();

}  // namespace orvix
