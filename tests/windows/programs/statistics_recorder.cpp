// A stand-in for the usage-statistics library: it records every call, with
// its arguments in order, as a UTF-8 line in "<library>.calls.txt" beside it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#define RECORDER_EXPORT extern "C" __declspec(dllexport) std::int32_t __stdcall

namespace {

HMODULE g_self = nullptr;

std::string Utf8(const wchar_t* text) {
  if (text == nullptr) return "(null)";
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

void Record(const std::string& line) {
  wchar_t path[MAX_PATH + 16];
  const DWORD length = ::GetModuleFileNameW(g_self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  ::lstrcatW(path, L".calls.txt");
  if (FILE* file = ::_wfopen(path, L"ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

RECORDER_EXPORT SetStatParam(const wchar_t* product, const wchar_t* version, const wchar_t* name, std::int32_t flag) {
  Record("SetStatParam|" + Utf8(product) + "|" + Utf8(version) + "|" + Utf8(name) + "|" + std::to_string(flag));
  return 1;
}

RECORDER_EXPORT DoStatistic(const wchar_t* product, const wchar_t* event, std::int32_t a, std::int32_t b,
                            std::int32_t c, std::int32_t d) {
  Record("DoStatistic|" + Utf8(product) + "|" + Utf8(event) + "|" + std::to_string(a) + "|" + std::to_string(b) +
         "|" + std::to_string(c) + "|" + std::to_string(d));
  return 100 + a;
}
