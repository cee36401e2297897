#pragma once

// The few things the window layer asks of X11 directly, on the display connection and window
// that SDL opened. Kept apart so that Xlib's macros (None, Bool, Always, ...) stay in one file.

#include <optional>
#include <span>

#include "icon_file.h"
#include "platform/image.h"
#include "window_layout.h"

namespace pax::sdl::x11 {

// SDL's Display* and the client window's XID, as SDL_GetWindowWMInfo gives them.
struct Window {
  void* display = nullptr;
  unsigned long id = 0;
};

// Whether a window manager that follows the freedesktop conventions runs on the screen: only
// then does a frame come around the window, and only then is there a frame to wait for.
bool WindowManagerRunning(Window w);

// Called before the window is first shown: a title bar with the window menu and a close
// button, a thin frame, and nothing to minimise, maximise or resize with; the pictures of
// `icons` as the window's icon; and the server keeping the window's contents while the
// game-over box or another window covers it, since the frame loop, which would repaint it,
// stands still while the box is open.
void PrepareMainWindow(Window w, std::span<const IconImage> icons);

// Called before the game-over box is first shown: for the window manager a modal dialog of
// `owner` (kept above it, placed and minimised with it, left out of the task list), with a
// title bar and a close button but nothing to minimise, maximise or resize with.
void PrepareDialog(Window box, Window owner);

// Called once the X11 driver is up: when the connection to the X server breaks (the server
// ended, the network went), the program says so in one line and ends with status 1, instead of
// Xlib's own report of the broken connection. Nothing can be shown or saved by then.
void ExitWhenTheDisplayIsLost();

// Called once the X11 driver is up: an event that SDL sends to one of the game's windows just
// after it went (SDL wakes its event wait through the last window it waited on, the game-over
// box's among them) is no fault, where Xlib would end the program over it. Every other X error
// goes to the handler that was there before.
void ForgiveEventsToGoneWindows();

// The pointer in the window's client coordinates at this moment, whatever SDL last saw; nothing
// when it is on another screen.
std::optional<Point> PointerInWindow(Window w);

// The X resources the desktop set on the screen (the text of the RESOURCE_MANAGER property as
// the connection was opened), or nullptr.
const char* Resources(Window w);

// Asks the window manager, before the window is first shown, what frame it will put around
// it, and waits until it says so or `milliseconds` have passed. Nothing when no window manager
// running says that it answers such a request.
std::optional<FrameExtents> FrameExtentsBeforeShowing(Window w, int milliseconds);

// Moves the window, before it is first shown, so that its frame's top-left corner is at
// `frame`, where window managers put the frame of a window that asks for a position.
void PlaceBeforeShowing(Window w, Point frame);

// The window's background becomes `picture` (the size of the client area), so that the server
// fills the window with it the moment it is shown, before the program draws anything; and back
// to none (ShowsPicture(w, nullptr)) once the program's own drawing is there.
void ShowsPicture(Window w, const Image* picture);

// Whether the window is on screen: mapped, and all its ancestors (the window manager's frame)
// too.
bool Viewable(Window w);

}  // namespace pax::sdl::x11
