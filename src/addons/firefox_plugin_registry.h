// Firefox's plug-in registry "pluginreg.dat": a text file whose plug-ins,
// after the line "[PLUGINS]", are blocks of six "|"-separated lines ending in
// "|$" (file name, path, version, "time|can-unload|flags|$", description,
// name), each followed by the number of its MIME types and that many MIME
// lines; an empty line ends the list. Flags "4" mean switched off. The
// Firefox cleaner lists the plug-ins and switches them through these.
//
// Every count comes from the file: one that is negative, larger than what
// follows or not a number ends the read of its record, never the reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvix {

struct TPluginRegRecord {
  std::wstring fileName;
  std::wstring path;
  std::wstring version;
  std::wstring description;
  std::wstring name;  // the description when the block has no name line
  bool active = true;  // the flags field is not "4"
};

// The records with a name and a path, in file order.
std::vector<TPluginRegRecord> ReadPluginRegistry(std::wstring_view text);

// Puts "5" (on) or "4" (off) into the flags field of every block whose file
// name and path lines are `fileName` and `path` (ignoring case); a flags line
// with fewer than three "|" stays as it is. Returns the number of blocks
// whose flags were set; the rest of the text is kept as it was, line breaks included.
std::size_t SetPluginRegistryFlags(std::wstring& text, const std::wstring& fileName, const std::wstring& path,
                                   bool enabled);

// The same on the file, written back in its own encoding. True when a block
// was found and the file says so now; false when the file is missing,
// unreadable, names no such plug-in, or could not be replaced.
bool SetPluginRegistryFlagsInFile(const std::wstring& file, const std::wstring& fileName, const std::wstring& path,
                                  bool enabled);

}  // namespace orvix
