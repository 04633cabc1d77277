// Which language to start with: the one named in "Main.ini", and for a new
// installation the one that matches the Windows interface language.
#pragma once

#include <string>

namespace orvix {

// [Main] Language of "Main.ini" (default "English"); empty when there is no
// settings file to read, which selecting turns into English.
std::wstring ReadLanguageSetting();

// The internal language name for the user's Windows interface language
// ("German" -> "German", "Chinese (Simplified)" -> "ChineseSimp"); "English"
// for a language without a translation of that name.
std::wstring DefaultLanguageName();

}  // namespace orvix
