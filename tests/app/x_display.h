// The X server of DISPLAY as a test sees it: the windows a process shows,
// their captions as the server holds them, and a click sent to a window.
#pragma once

#include <xcb/xcb.h>

#include <sys/types.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

class XDisplay {
  public:
    XDisplay() = default;
    ~XDisplay() {
        if (connection_ != nullptr) {
            xcb_disconnect(connection_);
        }
    }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // False when there is no X server to connect to.
    bool Open() {
        if (std::getenv("DISPLAY") == nullptr) {
            return false;
        }
        int screen = 0;
        connection_ = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(connection_) != 0) {
            return false;
        }
        auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screen; ++i) {
            xcb_screen_next(&it);
        }
        root_ = it.data->root;
        return true;
    }

    // A mapped top-level window of the process other than those named.
    xcb_window_t ShownWindowOf(pid_t pid, const std::vector<xcb_window_t>& others) {
        const auto tree =
            Take(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
        if (!tree) {
            return XCB_WINDOW_NONE;
        }
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const xcb_window_t window = children[i];
            if (std::find(others.begin(), others.end(), window) != others.end() ||
                Property(window, "_NET_WM_PID") !=
                    std::string(reinterpret_cast<char*>(&pid), sizeof(uint32_t))) {
                continue;
            }
            const auto attributes = Take(xcb_get_window_attributes_reply(
                connection_, xcb_get_window_attributes(connection_, window), nullptr));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
                return window;
            }
        }
        return XCB_WINDOW_NONE;
    }

    // The caption the window gave the server (UTF-8).
    std::string Caption(xcb_window_t window) { return Property(window, "_NET_WM_NAME"); }

    // A left click at the given share of the window's width and height.
    void Click(xcb_window_t window, double across, double down) {
        const auto geometry = Take(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
        if (!geometry) {
            return;
        }
        const auto x = int16_t(geometry->width * across);
        const auto y = int16_t(geometry->height * down);
        for (const uint8_t type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
            xcb_button_press_event_t event;
            std::memset(&event, 0, sizeof event);
            event.response_type = type;
            event.detail = 1;
            event.root = root_;
            event.event = window;
            event.event_x = x;
            event.event_y = y;
            event.root_x = int16_t(geometry->x + x);
            event.root_y = int16_t(geometry->y + y);
            event.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
            event.same_screen = 1;
            xcb_send_event(connection_, 0, window,
                           type == XCB_BUTTON_PRESS ? XCB_EVENT_MASK_BUTTON_PRESS
                                                    : XCB_EVENT_MASK_BUTTON_RELEASE,
                           reinterpret_cast<const char*>(&event));
        }
        xcb_flush(connection_);
    }

  private:
    template <typename T>
    using Reply = std::unique_ptr<T, decltype(&std::free)>;
    template <typename T>
    static Reply<T> Take(T* reply) {
        return Reply<T>(reply, &std::free);
    }

    xcb_atom_t Atom(const char* name) {
        const auto reply = Take(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    std::string Property(xcb_window_t window, const char* name) {
        const auto reply =
            Take(xcb_get_property_reply(connection_,
                                        xcb_get_property(connection_, 0, window, Atom(name),
                                                         XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
                                        nullptr));
        if (!reply) {
            return {};
        }
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           size_t(xcb_get_property_value_length(reply.get())));
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
};
