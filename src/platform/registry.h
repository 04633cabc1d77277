// The registry class every subsystem uses: one root, at most one open key,
// created and freed within one operation. Reads and writes that fail raise
// ERegistryException; the one-call helpers turn that into empty answers.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace orvix {

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class ERegistryException : public std::runtime_error {
 public:
  explicit ERegistryException(std::wstring message);
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

// One query each, for readers of many values of one open key: the value's
// text, or its number, or nothing when it is missing or of another type.
std::optional<std::wstring> QueryStringValue(HKEY key, const std::wstring& name);
std::optional<std::int32_t> QueryIntegerValue(HKEY key, const std::wstring& name);
// The names of an open key's sub-keys in index order (none when it cannot be asked).
std::vector<std::wstring> SubKeyNamesOf(HKEY key);

class TRegistry {
 public:
  TRegistry();
  explicit TRegistry(REGSAM access);
  virtual ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY root);
  HKEY CurrentKey() const { return currentKey_; }
  const std::wstring& CurrentPath() const { return currentPath_; }

  // Mask for opening and creating keys; callers OR in KEY_WOW64_64KEY.
  REGSAM Access = KEY_ALL_ACCESS;
  // When false, closing a key flushes it first.
  bool LazyWrite = true;
  // The root handle is owned and closed when the root changes.
  bool CloseRootKey = false;

  // A path beginning with a backslash starts at the root; any other is
  // relative to the open key.
  bool OpenKey(const std::wstring& path, bool canCreate);
  bool OpenKeyReadOnly(const std::wstring& path);
  bool KeyExists(const std::wstring& path);
  // The system answers that the key or value does not exist; a key it
  // cannot open for any other reason (access denied...) is not missing.
  bool KeyMissing(const std::wstring& path);
  void CloseKey();

  bool ValueExists(const std::wstring& name);
  bool ValueMissing(const std::wstring& name);
  // Size in bytes, -1 when the value is absent.
  int GetDataSize(const std::wstring& name);
  TRegDataType GetDataType(const std::wstring& name);
  bool GetKeyInfo(RegKeyInfo& info);
  bool HasSubKeys();

  virtual std::wstring ReadString(const std::wstring& name);
  std::int32_t ReadInteger(const std::wstring& name);
  // One query each (QueryStringValue, QueryIntegerValue) on the open key.
  std::optional<std::wstring> QueryString(const std::wstring& name) const;
  std::optional<std::int32_t> QueryInteger(const std::wstring& name) const;
  void WriteString(const std::wstring& name, const std::wstring& text);
  void WriteInteger(const std::wstring& name, std::int32_t value);

  virtual void GetKeyNames(std::vector<std::wstring>& names);
  void GetValueNames(std::vector<std::wstring>& names);

  // Deletes the key with its whole tree, in the view of Access. The answer
  // is that of deleting the key itself.
  bool DeleteKey(const std::wstring& path);
  bool DeleteValue(const std::wstring& name);

 protected:
  IRegistryApi& Api() const;
  // Raw query into a caller's buffer; returns the Win32 status.
  LSTATUS QueryRaw(const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) const;

 private:
  struct SplitPath {
    HKEY base;
    std::wstring subKey;
    bool relative;
    REGSAM view;  // the view bits to ask for
  };
  SplitPath Split(const std::wstring& path) const;
  // The path from the root of the key a split names.
  std::wstring WholePath(const SplitPath& split) const;
  void ChangeKey(HKEY key, const std::wstring& path);
  bool TryOpenReadOnly(const SplitPath& split, REGSAM mask);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  HKEY currentKey_ = 0;
  std::wstring currentPath_;
};

// The variant used by the Internet Explorer defaults restorer: key lists
// leave out Wow6432Node, and string reads go through a fixed 2048-byte buffer
// and never raise.
class TRegistryEx : public TRegistry {
 public:
  using TRegistry::TRegistry;

  static constexpr const wchar_t* kReadErrorMarker = L"orvixreaderror";
  static constexpr DWORD kStringBufferBytes = 2048;

  std::wstring ReadString(const std::wstring& name) override;
  void GetKeyNames(std::vector<std::wstring>& names) override;
};

}  // namespace orvix
