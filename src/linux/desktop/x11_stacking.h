// What the aquarium's X11 window learns from the server about the windows
// around it: the stacking list with each window's frame and state, the
// current desktop, the compositor and the active window.
#pragma once

#include <xcb/xcb.h>

#include <vector>

#include "desktop/stacking_coverage.h"

struct X11Atoms {
  xcb_atom_t windowType, windowTypeDesktop;
  xcb_atom_t state, stateBelow, stateSticky, stateSkipTaskbar, stateSkipPager, stateHidden, stateFullscreen;
  xcb_atom_t desktop, currentDesktop, clientListStacking, activeWindow, frameExtents, windowOpacity;
  xcb_atom_t compositorSelection;  // _NET_WM_CM_S<screen>
};

X11Atoms InternAtoms(xcb_connection_t* connection, int screenNumber);

// Managed windows bottom to top (_NET_CLIENT_LIST_STACKING); empty without
// a window manager that keeps it.
std::vector<StackedWindow> ReadStacking(xcb_connection_t* connection, xcb_window_t root,
                                        const X11Atoms& atoms);
uint32_t ReadCurrentDesktop(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms);
// Whether a compositing manager owns the screen's selection.
bool CompositorRunning(xcb_connection_t* connection, const X11Atoms& atoms);
// Whether the active window other than `own` is in the full-screen state;
// then `rect` is where it lies, in root coordinates (empty when unknown).
bool ActiveWindowFullScreen(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms,
                            xcb_window_t own, ScreenRect& rect);
