#include "e2e/wine_prefix.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace orvix::e2e {
namespace {

namespace fs = std::filesystem;

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

const char* ViewSwitch(RegView view) { return view == RegView::k32 ? "/reg:32" : "/reg:64"; }

// A value line of a reg.exe listing: "    <name>    <type>    <data>".
std::optional<WinePrefix::RegValue> ValueOfLine(const std::string& line) {
  if (line.rfind("    ", 0) != 0) return std::nullopt;
  const std::string entry = line.substr(4);
  const size_t typeAt = entry.find("    REG_");
  if (typeAt == std::string::npos) return std::nullopt;
  const size_t dataAt = entry.find("    ", typeAt + 4);
  WinePrefix::RegValue value;
  value.name = entry.substr(0, typeAt);
  if (value.name == "(Default)") value.name.clear();
  value.type = entry.substr(typeAt + 4, dataAt == std::string::npos ? std::string::npos : dataAt - typeAt - 4);
  value.data = dataAt == std::string::npos ? std::string() : entry.substr(dataAt + 4);
  return value;
}

// The data of value `name` in a listing of reg.exe.
std::optional<std::string> DataInListing(const std::string& listing, const std::string& name) {
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    const auto value = ValueOfLine(line);
    if (value && SameTextIgnoringCase(value->name, name)) return value->data;
  }
  return std::nullopt;
}

fs::path TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? fs::path(tmp) : fs::path("/tmp");
}

// The entry of `folder` whose name matches `name` ignoring case; the name
// itself when there is none.
fs::path ChildIgnoringCase(const fs::path& folder, const std::string& name) {
  std::error_code error;
  if (fs::exists(folder / name, error)) return folder / name;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (SameTextIgnoringCase(entry.path().filename().string(), name)) return entry.path();
  }
  return folder / name;
}

}  // namespace

fs::path RepoRoot() { return fs::path(ORVIX_SOURCE_DIR); }
fs::path Win32Output() { return RepoRoot() / "out" / "win32"; }
fs::path Win64Output() { return RepoRoot() / "out" / "win64"; }

WinePrefix::WinePrefix() {
  std::string pattern = (TemporaryFolder() / "orvix-e2e-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for a Wine prefix in " + pattern);
  dir_ = pattern;
  const RunResult created = RunScript({"create", dir_.string()});
  if (created.exitCode != 0) {
    RunScript({"destroy", dir_.string()});
    throw std::runtime_error("scripts/wine-prefix create failed: " + created.output);
  }
}

WinePrefix::~WinePrefix() { RunScript({"destroy", dir_.string()}); }

RunResult WinePrefix::RunScript(const std::vector<std::string>& arguments) const {
  std::vector<std::string> argv = {(RepoRoot() / "scripts" / "wine-prefix").string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunHostProgram(argv, {}, std::chrono::seconds(180));
}

// The environment scripts/wine-prefix gives its programs, and no menu
// builder: it would copy the samples' shortcuts into the host's menus and
// desktop.
EnvironmentOverrides WinePrefix::Environment() const {
  const char* debug = std::getenv("WINEDEBUG");
  return {{"WINEPREFIX", dir_.string()},
          {"WINEDEBUG", debug ? debug : "-all"},
          {"WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d"},
          {"WINEARCH", "win64"}};
}

fs::path WinePrefix::HostPath(const std::string& windowsPath) const {
  if (windowsPath.size() < 2 || std::tolower(static_cast<unsigned char>(windowsPath[0])) != 'c' ||
      windowsPath[1] != ':')
    throw std::invalid_argument("not a path on C: " + windowsPath);
  fs::path host = DriveC();
  std::istringstream elements(windowsPath.substr(2));
  for (std::string element; std::getline(elements, element, '\\');) {
    if (!element.empty()) host = ChildIgnoringCase(host, element);
  }
  return host;
}

std::string WinePrefix::WindowsPathOf(const fs::path& hostPath) {
  std::string text = "Z:" + fs::absolute(hostPath).lexically_normal().string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

RunResult WinePrefix::Run(const std::string& program, const std::vector<std::string>& arguments,
                          std::chrono::seconds timeout, OutputStreams streams) const {
  std::vector<std::string> argv = {"wine", program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  RunResult result = RunHostProgram(argv, Environment(), timeout, streams);
  result.output = WithoutCarriageReturns(std::move(result.output));
  result.errors = WithoutCarriageReturns(std::move(result.errors));
  return result;
}

bool WinePrefix::Wait(std::chrono::seconds timeout) const {
  return RunHostProgram({"wineserver", "-w"}, Environment(), timeout).exitCode == 0;
}

bool WinePrefix::Restart(std::chrono::seconds timeout) const {
  // Fails only when no wineserver runs, which is as good as ended.
  RunHostProgram({"wineserver", "-k"}, Environment(), timeout);
  return Run("cmd", {"/c", "exit"}, timeout).exitCode == 0 && Wait(timeout);
}

std::string WinePrefix::Expand(const std::string& text) const {
  std::string expanded;
  size_t done = 0;
  for (size_t start = text.find('%'); start != std::string::npos; start = text.find('%', done)) {
    const size_t end = text.find('%', start + 1);
    if (end == std::string::npos) break;
    expanded += text.substr(done, start - done) + VariableValue(text.substr(start + 1, end - start - 1));
    done = end + 1;
  }
  return expanded + text.substr(done);
}

// One variable at a time: cmd would echo the quotes Wine puts around an
// argument with spaces.
std::string WinePrefix::VariableValue(const std::string& name) const {
  if (name.empty()) return "%";
  const auto known = variables_.find(name);
  if (known != variables_.end()) return known->second;
  std::string value = Run("cmd", {"/c", "echo", "%" + name + "%"}).output;
  while (!value.empty() && (value.back() == '\n' || value.back() == ' ')) value.pop_back();
  return variables_[name] = value;
}

std::optional<std::string> WinePrefix::RegQuery(const std::string& key, const std::string& value, RegView view) const {
  std::vector<std::string> arguments = {"query", key};
  if (value.empty()) {
    arguments.push_back("/ve");
  } else {
    arguments.insert(arguments.end(), {"/v", value});
  }
  arguments.push_back(ViewSwitch(view));
  const RunResult listed = Run("reg", arguments);
  if (listed.exitCode != 0) return std::nullopt;
  std::optional<std::string> data = DataInListing(listed.output, value);
  if (value.empty() && data == "(value not set)") return std::nullopt;
  return data;
}

bool WinePrefix::RegKeyExists(const std::string& key, RegView view) const {
  return Run("reg", {"query", key, ViewSwitch(view)}).exitCode == 0;
}

RunResult WinePrefix::ImportReg(const fs::path& file) const {
  return Run("reg", {"import", WindowsPathOf(file), "/reg:64"});
}

std::vector<WinePrefix::RegValue> WinePrefix::RegValues(const std::string& key, RegView view) const {
  const RunResult listed = Run("reg", {"query", key, ViewSwitch(view)});
  std::vector<RegValue> values;
  if (listed.exitCode != 0) return values;
  std::istringstream lines(listed.output);
  for (std::string line; std::getline(lines, line);) {
    if (auto value = ValueOfLine(line)) values.push_back(std::move(*value));
  }
  return values;
}

}  // namespace orvix::e2e
