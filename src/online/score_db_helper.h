// The add-on score database: an archive file in the installation folder with
// one enciphered entry named like the file, whose text alternates add-on
// names and scores (1 to 5 stars). TScoreDBHelper finds, decodes and reads
// it; the add-on model looks names up in it and the score database download
// (online/score_db_download) replaces the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvix {

inline constexpr wchar_t kScoreDatabaseFileName[] = L"AddonScores.dat";
inline constexpr wchar_t kScoreDatabasePassword[] = L"kqz7_1984";
// The program's own uninstall entry (HKLM, 32-bit view), whose
// "InstallLocation" holds the full path of the installed executable.
inline constexpr wchar_t kOwnUninstallKey[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixUninstall";

struct TScore {
  std::wstring Marker;  // "ID" when the name was found
  std::wstring Name;
  std::int32_t Score = 0;
  std::wstring Spare;  // stays empty
};

// Splits the decoded database text into its tokens: separators are ",", CR
// and LF; blanks and line breaks before a token are skipped; a token that
// begins with a quote runs to the matching quote (quotes kept); tokens are
// trimmed and empty ones dropped.
std::vector<std::wstring> SplitScoreTokens(const std::wstring& text);

// The folder part (up to and including the last backslash) of the
// "InstallLocation" of the program's own uninstall entry; empty when absent.
std::wstring OwnInstallFolder();

class TScoreDBHelper {
 public:
  bool Loaded = false;
  std::vector<std::wstring> Entries;

  // The installation folder when the uninstall entry names an existing one,
  // else the running program's folder; with a trailing backslash.
  static std::wstring GetFolder();
  // Reads GetFolder() + the database file; false when it is missing or
  // cannot be read (Entries then hold what was read before the failure).
  bool Load();
  // The score after the first token equal to `name` ignoring case: 2 when it
  // is not a number, 0 when the name is the last token.
  TScore Lookup(const std::wstring& name) const;
};

}  // namespace orvix
