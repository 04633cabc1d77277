#include <array>
#include <cstdint>
#include <utility>

#include "platform/module_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

// Every argument travels as one machine word (a stack word of the 32-bit
// build, a register or stack slot of the 64-bit one): a text as its pointer,
// a number widened, of which a 32-bit parameter reads the low half.
using Word = std::uintptr_t;
constexpr std::size_t kMaxExportArgs = 8;

template <std::size_t>
using WordParameter = Word;

// Calls `proc` as an stdcall function of sizeof...(I) words.
template <std::size_t... I>
std::int32_t CallWithWords(FARPROC proc, const Word* words, std::index_sequence<I...>) {
  using Function = std::int32_t(__stdcall*)(WordParameter<I>...);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(proc))(words[I]...);
}

template <std::size_t Count>
std::int32_t CallWithCount(FARPROC proc, const Word* words) {
  return CallWithWords(proc, words, std::make_index_sequence<Count>());
}

using Caller = std::int32_t (*)(FARPROC, const Word*);

template <std::size_t... Counts>
constexpr std::array<Caller, sizeof...(Counts)> MakeCallers(std::index_sequence<Counts...>) {
  return {&CallWithCount<Counts>...};
}

// kCallers[n] calls a function of n arguments.
constexpr auto kCallers = MakeCallers(std::make_index_sequence<kMaxExportArgs + 1>());

Word ToWord(const ExportArg& arg) {
  if (const auto* text = std::get_if<std::wstring>(&arg)) return reinterpret_cast<std::uintptr_t>(text->c_str());
  if (const auto* buffer = std::get_if<ExportBuffer>(&arg))
    return *buffer ? reinterpret_cast<std::uintptr_t>((*buffer)->data()) : 0;
  return static_cast<Word>(std::get<std::int32_t>(arg));
}

FARPROC FindExport(ModuleHandle module, const std::string& name) {
  if (module == 0) return nullptr;
  return ::GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str());
}

class Win32Modules : public IModuleApi {
 public:
  ModuleHandle LoadLibrary(const std::wstring& path) override {
    return reinterpret_cast<ModuleHandle>(::LoadLibraryW(path.c_str()));
  }

  ModuleHandle LoadSystemLibrary(const std::wstring& name) override {
    return reinterpret_cast<ModuleHandle>(LoadSystemDll(name.c_str()));
  }

  bool HasExport(ModuleHandle module, const std::string& name) override { return FindExport(module, name) != nullptr; }

  std::int32_t CallExport(ModuleHandle module, const std::string& name, const std::vector<ExportArg>& args) override {
    const FARPROC proc = FindExport(module, name);
    if (proc == nullptr || args.size() > kMaxExportArgs) return 0;
    std::array<Word, kMaxExportArgs> words{};
    for (std::size_t i = 0; i < args.size(); ++i) words[i] = ToWord(args[i]);  // texts live in `args` meanwhile
    return kCallers[args.size()](proc, words.data());
  }
};

}  // namespace

std::unique_ptr<IModuleApi> MakeModules() { return std::make_unique<Win32Modules>(); }

}  // namespace orvix::win32
