// A block of memory inside another process, for the common-control messages
// whose argument is a pointer the control writes through (LVM_GETITEMTEXTW,
// TVM_GETITEMW): the structure and its text buffer must live in the
// control's own process. Used by the automation program's list and tree
// readers.
#pragma once

#include <cstddef>
#include <string>

#include <windows.h>

namespace orvix::automation {

class RemoteMemory {
 public:
  // Memory of `size` bytes in the process that owns `window`; Valid() tells
  // whether it could be had (the process may have ended).
  RemoteMemory(HWND window, size_t size);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool Valid() const { return address_ != nullptr; }
  // The address as the other process sees it.
  void* Address() const { return address_; }
  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }

  bool Write(size_t offset, const void* data, size_t size) const;
  bool Read(size_t offset, void* data, size_t size) const;
  // A zero-terminated UTF-16 text of at most `maxChars` characters.
  std::wstring ReadText(size_t offset, size_t maxChars) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// Whether the program owning `window` has the automation program's bitness:
// the structures copied into it are laid out as this build lays them out.
bool SameBitness(HWND window);

}  // namespace orvix::automation
