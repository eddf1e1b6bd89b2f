#include "desktop/x11_stacking.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

xcb_get_property_cookie_t AskProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type) {
  return xcb_get_property(c, 0, window, property, type, 0, 256);
}

// The 32-bit values of a property reply (freed here); empty when missing.
std::vector<uint32_t> Values(xcb_get_property_reply_t* reply) {
  std::vector<uint32_t> values;
  if (reply != nullptr && reply->format == 32) {
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
    values.assign(data, data + xcb_get_property_value_length(reply) / 4);
  }
  std::free(reply);
  return values;
}

bool Holds(const std::vector<uint32_t>& values, xcb_atom_t atom) {
  for (uint32_t v : values) {
    if (v == atom) return true;
  }
  return false;
}

// WM_CLASS is "instance\0class\0": the class.
std::string ClassName(xcb_get_property_reply_t* reply) {
  std::string name;
  if (reply != nullptr && reply->format == 8) {
    const char* data = static_cast<const char*>(xcb_get_property_value(reply));
    const int length = xcb_get_property_value_length(reply);
    const size_t first = strnlen(data, size_t(length));
    if (int(first) + 1 < length) name.assign(data + first + 1, strnlen(data + first + 1, length - first - 1));
  }
  std::free(reply);
  return name;
}

}  // namespace

X11Atoms InternAtoms(xcb_connection_t* c, int screenNumber) {
  X11Atoms a;
  a.windowType = Intern(c, "_NET_WM_WINDOW_TYPE");
  a.windowTypeDesktop = Intern(c, "_NET_WM_WINDOW_TYPE_DESKTOP");
  a.state = Intern(c, "_NET_WM_STATE");
  a.stateBelow = Intern(c, "_NET_WM_STATE_BELOW");
  a.stateSticky = Intern(c, "_NET_WM_STATE_STICKY");
  a.stateSkipTaskbar = Intern(c, "_NET_WM_STATE_SKIP_TASKBAR");
  a.stateSkipPager = Intern(c, "_NET_WM_STATE_SKIP_PAGER");
  a.stateHidden = Intern(c, "_NET_WM_STATE_HIDDEN");
  a.stateFullscreen = Intern(c, "_NET_WM_STATE_FULLSCREEN");
  a.desktop = Intern(c, "_NET_WM_DESKTOP");
  a.currentDesktop = Intern(c, "_NET_CURRENT_DESKTOP");
  a.clientListStacking = Intern(c, "_NET_CLIENT_LIST_STACKING");
  a.activeWindow = Intern(c, "_NET_ACTIVE_WINDOW");
  a.frameExtents = Intern(c, "_NET_FRAME_EXTENTS");
  a.windowOpacity = Intern(c, "_NET_WM_WINDOW_OPACITY");
  a.compositorSelection = Intern(c, ("_NET_WM_CM_S" + std::to_string(screenNumber)).c_str());
  return a;
}

std::vector<StackedWindow> ReadStacking(xcb_connection_t* c, xcb_window_t root, const X11Atoms& atoms) {
  const std::vector<uint32_t> ids = Values(
      xcb_get_property_reply(c, AskProperty(c, root, atoms.clientListStacking, XCB_ATOM_WINDOW), nullptr));
  // Every question first, then every answer: one round trip for the list.
  struct Questions {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_property_cookie_t extents, state, desktop, opacity, type, wmClass;
  };
  std::vector<Questions> asked;
  asked.reserve(ids.size());
  for (uint32_t id : ids) {
    asked.push_back({xcb_get_window_attributes(c, id), xcb_get_geometry(c, id),
                     xcb_translate_coordinates(c, id, root, 0, 0),
                     AskProperty(c, id, atoms.frameExtents, XCB_ATOM_CARDINAL),
                     AskProperty(c, id, atoms.state, XCB_ATOM_ATOM),
                     AskProperty(c, id, atoms.desktop, XCB_ATOM_CARDINAL),
                     AskProperty(c, id, atoms.windowOpacity, XCB_ATOM_CARDINAL),
                     AskProperty(c, id, atoms.windowType, XCB_ATOM_ATOM),
                     AskProperty(c, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING)});
  }
  std::vector<StackedWindow> stacking;
  for (size_t i = 0; i < ids.size(); ++i) {
    const Questions& q = asked[i];
    StackedWindow w;
    w.id = ids[i];
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(c, q.attributes, nullptr);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, q.geometry, nullptr);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(c, q.origin, nullptr);
    const std::vector<uint32_t> extents = Values(xcb_get_property_reply(c, q.extents, nullptr));
    const std::vector<uint32_t> state = Values(xcb_get_property_reply(c, q.state, nullptr));
    const std::vector<uint32_t> desktop = Values(xcb_get_property_reply(c, q.desktop, nullptr));
    const std::vector<uint32_t> opacity = Values(xcb_get_property_reply(c, q.opacity, nullptr));
    const std::vector<uint32_t> type = Values(xcb_get_property_reply(c, q.type, nullptr));
    w.className = ClassName(xcb_get_property_reply(c, q.wmClass, nullptr));
    const bool known = attributes != nullptr && geometry != nullptr && origin != nullptr;
    if (known) {
      w.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
      w.argbVisual = geometry->depth == 32;
      // left, right, top, bottom
      const int left = extents.size() == 4 ? int(extents[0]) : 0,
                right = extents.size() == 4 ? int(extents[1]) : 0;
      const int top = extents.size() == 4 ? int(extents[2]) : 0,
                bottom = extents.size() == 4 ? int(extents[3]) : 0;
      w.frame = {origin->dst_x - left, origin->dst_y - top, origin->dst_x + geometry->width + right,
                 origin->dst_y + geometry->height + bottom};
    } else {
      w.viewable = false;  // gone while we asked
    }
    std::free(attributes);
    std::free(geometry);
    std::free(origin);
    w.hidden = Holds(state, atoms.stateHidden);
    if (!desktop.empty()) w.desktop = desktop[0];
    if (!opacity.empty()) w.opacity = opacity[0];
    w.desktopType = Holds(type, atoms.windowTypeDesktop);
    stacking.push_back(w);
  }
  return stacking;
}

uint32_t ReadCurrentDesktop(xcb_connection_t* c, xcb_window_t root, const X11Atoms& atoms) {
  const std::vector<uint32_t> values = Values(
      xcb_get_property_reply(c, AskProperty(c, root, atoms.currentDesktop, XCB_ATOM_CARDINAL), nullptr));
  return values.empty() ? 0 : values[0];
}

bool CompositorRunning(xcb_connection_t* c, const X11Atoms& atoms) {
  xcb_get_selection_owner_reply_t* reply =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atoms.compositorSelection), nullptr);
  const bool running = reply != nullptr && reply->owner != XCB_WINDOW_NONE;
  std::free(reply);
  return running;
}

bool ActiveWindowFullScreen(xcb_connection_t* c, xcb_window_t root, const X11Atoms& atoms, xcb_window_t own,
                            ScreenRect& rect) {
  rect = {};
  const std::vector<uint32_t> active =
      Values(xcb_get_property_reply(c, AskProperty(c, root, atoms.activeWindow, XCB_ATOM_WINDOW), nullptr));
  if (active.empty() || active[0] == XCB_WINDOW_NONE || active[0] == own) return false;
  const std::vector<uint32_t> state =
      Values(xcb_get_property_reply(c, AskProperty(c, active[0], atoms.state, XCB_ATOM_ATOM), nullptr));
  if (!Holds(state, atoms.stateFullscreen) || Holds(state, atoms.stateHidden)) return false;
  // The monitor it fills: its place on the root, inside the window manager's frame.
  xcb_get_geometry_reply_t* size = xcb_get_geometry_reply(c, xcb_get_geometry(c, active[0]), nullptr);
  xcb_translate_coordinates_reply_t* at =
      xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, active[0], root, 0, 0), nullptr);
  if (size != nullptr && at != nullptr)
    rect = {at->dst_x, at->dst_y, at->dst_x + int(size->width), at->dst_y + int(size->height)};
  std::free(size);
  std::free(at);
  return true;
}
