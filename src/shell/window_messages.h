// How other processes and Explorer reach the main window: its class and
// title, the single-instance mutex, the private message numbers, and the
// WM_COPYDATA payload that carries a program name from a second instance.
// Used by the start routing, the main window's model and the window itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

// The application's title: captions of message boxes and the task bar.
inline constexpr wchar_t kApplicationTitle[] = L"Orvix Uninstaller";
// One title for the window and for every search for it: an installation
// started while the program runs must find the window the program made.
inline constexpr wchar_t kMainWindowClass[] = L"TfrmOrvixUninstall";
inline constexpr const wchar_t* kMainWindowTitle = kApplicationTitle;
inline constexpr wchar_t kInstanceMutexName[] = L"Orvix_Uninstall";

// Messages the main window answers.
inline constexpr DWORD kMsgBringToFront = 0x465;             // a second instance started
inline constexpr DWORD kMsgExplorerForcedUninstall = 0x7E9;  // Explorer's menu wrote "MenuRight.dat"
inline constexpr DWORD kMsgForcedUninstallByName = 0x7EA;    // the received program name
inline constexpr DWORD kMsgShredFromExplorer = 0x7EB;        // Explorer's shred command wrote the list
// WM_COPYDATA's dwData for a program name to uninstall by force.
inline constexpr std::uintptr_t kCopyDataForcedName = 2026;

// What a second instance sends: the UTF-16 text and its terminator, nothing more.
std::vector<std::uint8_t> CopyDataPayload(const std::wstring& text);
// What the window makes of a received payload: at most `size` bytes are
// read (an odd last byte is ignored), up to the first terminator when there
// is one, trimmed. The sender's claims about the length are never trusted.
std::wstring DecodeCopyData(const void* data, std::size_t size);

}  // namespace orvix
