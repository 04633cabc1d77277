// Writes the leftover-scan machine (leftover_machine.h) for Wine: its
// registry as a .reg file to import with `reg import FILE /reg:64`, and its
// files below a prefix's drive_c.
//
//   orvix_bench_leftover_machine REG_FILE DRIVE_C USER [DIVISOR]
//
// USER is the prefix's user (the folder under drive_c\users); DIVISOR
// divides every count of the machine (1: the whole).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/leftover_machine.h"

namespace orvix::bench {
namespace {

std::string Ascii(const std::wstring& text) {
  std::string bytes;
  for (const wchar_t c : text) {
    if (c > 0x7F) throw std::runtime_error("the machine holds only ASCII names");
    bytes += static_cast<char>(c);
  }
  return bytes;
}

std::string Quoted(const std::wstring& text) {
  std::string quoted = "\"";
  for (const char c : Ascii(text)) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

class TRegFileWriter : public TMachineWriter {
 public:
  TRegFileWriter(const std::filesystem::path& regFile, std::filesystem::path driveC)
      : reg_(regFile, std::ios::binary), driveC_(std::move(driveC)) {
    if (!reg_) throw std::runtime_error("cannot write " + regFile.string());
    reg_ << "Windows Registry Editor Version 5.00\r\n";
  }

  void Key(const std::wstring& path) override {
    if (path == current_) return;
    current_ = path;
    ++keys;
    const std::size_t slash = path.find(L'\\');
    const std::wstring root = path.substr(0, slash);
    reg_ << "\r\n[" << (root == L"HKLM" ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") << Ascii(path.substr(slash))
         << "]\r\n";
  }
  void String(const std::wstring& key, const std::wstring& name, const std::wstring& text) override {
    Key(key);
    reg_ << (name.empty() ? std::string("@") : Quoted(name)) << "=" << Quoted(text) << "\r\n";
    ++values;
  }
  void Dword(const std::wstring& key, const std::wstring& name, DWORD value) override {
    Key(key);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(value));
    reg_ << Quoted(name) << "=dword:" << hex << "\r\n";
    ++values;
  }
  void File(const std::wstring& path, std::size_t size) override {
    std::string relative = Ascii(path.substr(3));  // after "C:\"
    for (char& c : relative) {
      if (c == '\\') c = '/';
    }
    const std::filesystem::path file = driveC_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << std::string(size, 'x');
    ++files;
  }

  long keys = 0;  // key headers written: a key written again in two places counts twice
  long values = 0;
  long files = 0;

 private:
  std::ofstream reg_;
  std::filesystem::path driveC_;
  std::wstring current_;
};

}  // namespace
}  // namespace orvix::bench

int main(int argc, char** argv) {
  using namespace orvix::bench;
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: %s REG_FILE DRIVE_C USER [DIVISOR]\n", argv[0]);
    return 2;
  }
  const int divisor = argc == 5 ? std::stoi(argv[4]) : 1;
  const std::string user = argv[3];
  const std::wstring profile = L"C:\\users\\" + std::wstring(user.begin(), user.end());
  const std::wstring startMenu = L"\\Microsoft\\Windows\\Start Menu\\Programs";
  const TMachineFolders folders{L"C:\\ProgramData", profile + L"\\AppData\\Roaming",
                                L"C:\\ProgramData" + startMenu, profile + L"\\AppData\\Roaming" + startMenu};
  try {
    TRegFileWriter writer(argv[1], argv[2]);
    WriteLeftoverMachine(writer, folders, TMachineSize{}.Divided(divisor));
    std::printf("%ld key headers, %ld values, %ld files\n", writer.keys, writer.values, writer.files);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
