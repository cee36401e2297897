#pragma once

#include "win32_api.h"

namespace pax::win32 {

// A black image whose pixels live in a top-down 24-bit DIB section: the shared drawing code
// writes them directly, and the board view shows the section's HBITMAP (the image's native
// handle) without a copy. Empty when the system cannot make the section.
Image CreateDibImage(int width, int height);

}  // namespace pax::win32
