// The simulated registry: keys and typed values in memory, with the two views
// of a 64-bit machine, the merged HKEY_CLASSES_ROOT, access rights a test can
// take away, and Win32 status codes for everything.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/text_codec.h"
#include "platform/registry_api.h"
#include "platform/text.h"

namespace orvix::sim {

enum class Bitness { x86, x64 };

struct SimRegValue {
  std::wstring name;
  DWORD type = REG_NONE;
  Bytes data;
};

class SimRegistry : public IRegistryApi {
 public:
  // The current user's SID; HKEY_CURRENT_USER is HKEY_USERS\<this>.
  static constexpr const wchar_t* kUserSid = L"S-1-5-21-1004336348-1177238915-682003330-1001";

  explicit SimRegistry(Bitness machine);
  ~SimRegistry() override;

  Bitness Machine() const { return machine_; }

  // IRegistryApi: keys opened through these follow the view rules of a
  // 32-bit process on the simulated machine.
  LSTATUS OpenKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) override;
  LSTATUS CreateKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) override;
  LSTATUS CloseKey(HKEY key) override;
  LSTATUS FlushKey(HKEY key) override;
  LSTATUS QueryInfoKey(HKEY key, RegKeyInfo* info) override;
  LSTATUS EnumKey(HKEY key, DWORD index, std::wstring* name) override;
  LSTATUS EnumValue(HKEY key, DWORD index, std::wstring* name) override;
  LSTATUS QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override;
  LSTATUS SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override;
  LSTATUS DeleteKey(HKEY parent, const std::wstring& subKey, REGSAM viewSam) override;
  LSTATUS DeleteValue(HKEY key, const std::wstring& name) override;

  // Set-up and inspection for tests. Paths name the stored key exactly, with
  // no view redirection: "HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Foo", or
  // with the short roots HKLM, HKCU, HKU, HKCC; HKCR paths land in HKLM's
  // classes.
  void PutKey(const std::wstring& path);
  void PutValue(const std::wstring& path, const std::wstring& name, DWORD type, Bytes data);
  void PutString(const std::wstring& path, const std::wstring& name, const std::wstring& text,
                 DWORD type = REG_SZ);
  void PutDword(const std::wstring& path, const std::wstring& name, DWORD value);
  // Removes a key with its whole tree; a root cannot be removed.
  void RemoveKey(const std::wstring& path);
  void RemoveValue(const std::wstring& path, const std::wstring& name);
  bool HasKey(const std::wstring& path) const;
  std::optional<SimRegValue> GetValue(const std::wstring& path, const std::wstring& name) const;
  std::optional<std::wstring> GetString(const std::wstring& path, const std::wstring& name) const;
  std::vector<std::wstring> SubKeyNames(const std::wstring& path) const;
  // The values of a stored key in their order; none for a missing key.
  std::vector<SimRegValue> Values(const std::wstring& path) const;

  // Opening the key with rights outside `allowed` is denied; 0 makes the key
  // unreadable.
  void SetKeyAccess(const std::wstring& path, REGSAM allowed);
  void SetUndeletable(const std::wstring& path, bool undeletable = true);

  // Number of handles currently open, to catch leaks.
  std::size_t OpenHandleCount() const { return handles_.size() - 5; }
  // Number of successful RegFlushKey calls so far.
  std::size_t FlushCount() const { return flushes_; }

  struct Node;

 private:
  struct Handle;
  using Path = std::vector<std::wstring>;

  Path ParseTestPath(const std::wstring& path) const;
  Node* Find(const Path& path) const;
  Node* Ensure(const Path& path);
  // How many leading parts of the path name existing keys.
  std::size_t ExistingDepth(const Path& path) const;
  Path Redirect(Path path, REGSAM access) const;
  std::vector<Path> Resolve(HKEY parent, const std::wstring& subKey, REGSAM access, LSTATUS* status) const;
  LSTATUS Open(HKEY parent, const std::wstring& subKey, REGSAM access, bool create, HKEY* result);
  const Handle* Lookup(HKEY key, LSTATUS* status) const;
  // Existing nodes behind a handle, the user's classes before the machine's.
  std::vector<Node*> Live(const Handle& handle) const;
  // The merged sub-key names and values behind a handle, cached per handle
  // until the registry next changes.
  const std::vector<std::wstring>& KeyNames(const Handle& handle) const;
  const std::vector<const SimRegValue*>& Values(const Handle& handle) const;
  bool AllDeleted(const Handle& handle) const;
  HKEY NewHandle(std::vector<Path> paths, REGSAM access);
  void Touch(Node* node);
  static bool IsPredefined(HKEY key);
  static void MarkDeleted(Node& node);

  Bitness machine_;
  std::shared_ptr<Node> root_;  // holds the hives HKLM and HKU
  std::map<HKEY, std::unique_ptr<Handle>> handles_;
  HKEY nextHandle_ = 0x1000;
  std::size_t flushes_ = 0;
  FILETIME64 clock_ = 133485408000000000ull;  // 2024-01-01
  std::uint64_t generation_ = 0;  // counts the changes, for the handles' cached listings
};

}  // namespace orvix::sim
