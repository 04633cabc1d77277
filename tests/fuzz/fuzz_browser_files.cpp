// Entry points of the readers of browsers' own files: Firefox's plug-in
// registry and add-on start-up cache, Opera's widget preferences and the
// preference files of Chromium-based browsers. Each entry puts its input
// where the reader looks (the simulated disk) and removes it again.
#include <string>
#include <vector>

#include "addons/chrome_extensions.h"
#include "addons/firefox_plugin_registry.h"
#include "addons/firefox_startup_cache.h"
#include "addons/opera_widgets.h"
#include "formats/text_lines.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_input.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvix::fuzz {
namespace {

constexpr const wchar_t* kProfile = L"C:\\OrvixFuzz\\Profile\\";

// A file of the fuzz profile for the time of one run.
class ScopedFile {
 public:
  ScopedFile(const std::wstring& name, const Bytes& bytes) : path_(kProfile + name) {
    ForceDirectories(kProfile);
    FuzzCheck(ReplaceFileBytes(path_, bytes), "the simulated disk takes the input");
  }
  ~ScopedFile() { CurrentPlatform().Files().DeleteFile(path_); }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace

// Input: the plug-in to switch (file name, path), then the file's text.
void FuzzPluginRegistry(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::wstring fileName = input.Field();
  const std::wstring path = input.Field();
  const bool enabled = (input.Byte() & 1) != 0;
  const std::wstring text = input.RestText();
  for (const TPluginRegRecord& record : ReadPluginRegistry(text)) {
    FuzzCheck(!record.name.empty() && !record.path.empty(), "a listed plug-in has a name and a path");
  }
  std::wstring switched = text;
  SetPluginRegistryFlags(switched, fileName, path, enabled);
  FuzzCheck(SplitTextLines(switched).size() == SplitTextLines(text).size(), "a switch changes lines, never their number");
}

void FuzzMozLz4(const std::uint8_t* data, std::size_t size) {
  std::string text;
  if (DecodeMozLz4(Bytes(data, data + size), text)) {
    std::string again;
    FuzzCheck(DecodeMozLz4(EncodeMozLz4(text), again) && again == text, "a cache written back reads the same");
  }
}

void FuzzOperaWidgetPrefs(const std::uint8_t* data, std::size_t size) {
  const ScopedFile prefs(L"prefs.dat", Bytes(data, data + size));
  ReadOperaWidgetIds(prefs.Path());
  TOperaWidgetPrefs read;
  if (!ReadOperaWidgetPrefs(prefs.Path(), read)) return;
  if (SetOperaWidgetEnabled(prefs.Path(), false)) {
    FuzzCheck(ReadOperaWidgetPrefs(prefs.Path(), read) && !read.enabled, "a widget switched off reads as off");
  }
}

// Input: the id to switch, then "Preferences".
void FuzzChromePreferences(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::wstring id = input.Field();
  const ScopedFile preferences(L"Preferences", input.Rest());
  ReadChromeExtensions(kProfile);
  if (SetChromeExtensionEnabled(kProfile, id, false) == TChromeSwitch::tcsDone) {
    for (const TChromeExtension& extension : ReadChromeExtensions(kProfile)) {
      FuzzCheck(!SameText(extension.id, id) || !extension.active, "an extension switched off reads as off");
    }
  }
}

}  // namespace orvix::fuzz
