// The Win32 dispatcher: work posted from any thread runs on the thread that
// created the dispatcher, when that thread's message loop dispatches the
// message of a hidden message-only window.
#pragma once

#include <memory>

#include "platform/dispatcher.h"

namespace orvix::win32 {

std::unique_ptr<IDispatcher> MakeDispatcher();

}  // namespace orvix::win32
