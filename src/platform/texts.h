// Interface texts by language key. Every message the program shows comes
// from here, named by its entry of the message table (language/messages.h)
// that holds its built-in English text; the language object installs itself
// as the source once a language is selected. Texts with placeholders go
// through SafeFormat, never through printf.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/safe_format.h"

namespace orvix {

// One message: its language key and its built-in English text.
struct TMessage {
  const wchar_t* key;
  const wchar_t* english;
};

// Answers the text of a key in the selected language, or nothing when the
// language has no such key (then the English default stands).
using TTextSource = std::function<std::optional<std::wstring>(const std::wstring& key)>;

// Installs the source of translated texts (an empty function: English only)
// and returns the previous one. Set on the UI thread before texts are asked for.
TTextSource SetTextSource(TTextSource source);

// The message in the selected language, or its English text when no source
// knows the key.
std::wstring Text(const TMessage& message);

// The message with its %s and %d filled; a translation whose placeholders do
// not fit the arguments gives way to the English text.
std::wstring MessageText(const TMessage& message, const std::vector<FormatArg>& args);

}  // namespace orvix
