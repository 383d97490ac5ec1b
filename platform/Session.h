#pragma once

namespace chromint {

// A Wayland session: WAYLAND_DISPLAY is set or XDG_SESSION_TYPE says "wayland", whichever Qt
// platform plugin runs (a native Wayland client, or xcb through XWayland). The screen, the
// pointer and global keys are then reached through the desktop portals, never through X11.
bool IsWaylandSession();

// Qt runs on an X server of its own session (xcb, and not XWayland inside a Wayland session).
bool IsX11Session();

// Before QApplication exists: in a Wayland session, run as a native Wayland client unless
// QT_QPA_PLATFORM chooses otherwise (falling back to XWayland when the plugin is missing).
void PreferNativeWayland();

} // namespace chromint
