// Imports the text of a .reg file (REGEDIT4 or "Windows Registry Editor
// Version 5.00") into the simulated registry, the way regedit would: keys
// as written (no view redirection), [-KEY] and "name"=- deletions, strings,
// dword:, hex: and hex(N): values with line continuations.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "formats/text_codec.h"

namespace orvix::sim {

class SimRegistry;

class RegFileError : public std::runtime_error {
 public:
  RegFileError(int line, const std::string& what);
  int Line() const { return line_; }

 private:
  int line_;
};

void ImportRegText(SimRegistry& registry, std::wstring_view text);
// Bytes of a .reg file: UTF-16LE with BOM (version 5) or ANSI/UTF-8.
void ImportRegBytes(SimRegistry& registry, const Bytes& bytes);

}  // namespace orvix::sim
