// The last check before anything is deleted. Whatever a caller passes, the
// guard asks again, at the moment of deleting, what the leftover scan asks
// before it offers something: a protected or user folder, a path reached
// through a junction or link, a hive's top key, a key that lists or serves
// many programs. The scan's rules decide what is offered; the guard makes
// sure that nothing else can go.
#pragma once

#include <string>

#include "platform/protected_locations.h"
#include "platform/win_types.h"

namespace orvix {

class TDeletionGuard {
 public:
  // Reads the machine's protected locations once.
  TDeletionGuard() = default;

  // Empty when the file or folder may be deleted; otherwise why not. The
  // path itself may be a link (deleting a link leaves its target alone),
  // but no folder on the way to it may be one.
  std::wstring RefuseFile(const std::wstring& path) const;
  // Empty when the key, with everything below it, may be deleted.
  std::wstring RefuseKey(HKEY root, const std::wstring& keyPath) const;
  // Empty when a value of the key may be deleted: never in a hive's top key.
  std::wstring RefuseValue(HKEY root, const std::wstring& keyPath) const;

 private:
  TProtectedLocations protected_;
};

// The key in the form the guard compares, whatever root and view it was
// named through: lower case, relative to the hive, the user's classes and
// HKEY_CLASSES_ROOT as "software\classes\...", a user's key under
// HKEY_USERS without the user's id, WOW6432Node dropped. Empty for a hive
// or an unknown root.
std::wstring GuardedKeyForm(HKEY root, const std::wstring& keyPath);

// Whether the key is a hive's top key, or one that holds or serves many
// programs (the Uninstall key, CLSID, Run...) or lies above one: what
// RefuseKey refuses, for the scan, which never offers such a key.
bool IsSharedOrTopKey(HKEY root, const std::wstring& keyPath);

}  // namespace orvix
