// The day's uninstall logs of a prefix's user, as the end-to-end tests read
// them: every log file of the data folder in one text.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/wine_prefix.h"

namespace orvix::e2e {

// UTF-16LE text as ASCII (the log's names and paths are ASCII here).
inline std::string Utf16ToAscii(const std::string& bytes) {
  std::string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    if (bytes[i + 1] == 0) text += bytes[i];
  }
  return text;
}

inline std::string UninstallLogs(const WinePrefix& prefix) {
  std::string all;
  const std::filesystem::path folder =
      prefix.HostPath(prefix.Expand("%APPDATA%\\Orvix\\Orvix Uninstaller\\Log"));
  if (!std::filesystem::exists(folder)) return all;
  for (const std::filesystem::directory_entry& file : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(file.path(), std::ios::binary);
    all += Utf16ToAscii(std::string(std::istreambuf_iterator<char>(in), {}));
  }
  return all;
}

}  // namespace orvix::e2e
