#pragma once

// The one way the Windows layer includes the system headers. platform.h comes first: windows.h
// defines MB_YESNO, IDYES and IDNO as macros, which would break the game's own constants of the
// same names if it were read before them. After this header the macros win, so the layer's
// files use the Windows spellings.

#include "platform/platform.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <objbase.h>
// clang-format on
