// <windows.h> and the common controls for the windows of src/ui, with the
// backend's macro clean-up (see platform/win32/windows_api.h). Include it
// after every project header.
#pragma once

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <windowsx.h>
