#include "platform/x11_splash_window.h"

#include <unistd.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/x11_picture.h"

namespace tarvelin {
namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

xcb_screen_t* screenNumbered(xcb_connection_t* connection, int number) {
    auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem && number > 0; --number) xcb_screen_next(&it);
    return it.rem ? it.data : nullptr;
}

// The primary monitor's part of the screen; the whole screen where the server names none.
Area primaryMonitor(xcb_connection_t* connection, const xcb_screen_t& screen) {
    const Area whole{0, 0, screen.width_in_pixels, screen.height_in_pixels};
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (!randr || !randr->present) return whole;
    const auto version =
        owned(xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 3), nullptr));
    if (!version || (version->major_version == 1 && version->minor_version < 3)) return whole;
    const auto primary = owned(xcb_randr_get_output_primary_reply(
        connection, xcb_randr_get_output_primary(connection, screen.root), nullptr));
    if (!primary || primary->output == XCB_NONE) return whole;
    const auto output = owned(xcb_randr_get_output_info_reply(
        connection, xcb_randr_get_output_info(connection, primary->output, XCB_CURRENT_TIME), nullptr));
    if (!output || output->crtc == XCB_NONE) return whole;
    const auto crtc = owned(xcb_randr_get_crtc_info_reply(
        connection, xcb_randr_get_crtc_info(connection, output->crtc, XCB_CURRENT_TIME), nullptr));
    if (!crtc || crtc->width == 0 || crtc->height == 0) return whole;
    return {crtc->x, crtc->y, crtc->width, crtc->height};
}

enum Atom {
    kNetWmName,
    kUtf8String,
    kWindowType,
    kSplashType,
    kState,
    kAbove,
    kMotifHints,
    kPid,
    kAtomCount
};
constexpr std::array<const char*, kAtomCount> kAtomNames = {
    "_NET_WM_NAME",  "UTF8_STRING",         "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_SPLASH",
    "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_MOTIF_WM_HINTS",     "_NET_WM_PID"};

void setProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                 int format, size_t count, const void* data) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, name, type, format, uint32_t(count), data);
}

// What the window manager reads: names, kind, stacking, no frame, a fixed size at a place of the program's.
void describe(xcb_connection_t* connection, xcb_window_t window, const X11SplashWindow::Names& names,
              const Area& area, const std::array<xcb_atom_t, kAtomCount>& atoms) {
    const std::string& title = names.title;
    setProperty(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, title.size(), title.data());
    setProperty(connection, window, atoms[kNetWmName], atoms[kUtf8String], 8, title.size(), title.data());
    const std::string windowClass = names.instance + '\0' + names.className + '\0';
    setProperty(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, windowClass.size(),
                windowClass.data());
    setProperty(connection, window, atoms[kWindowType], XCB_ATOM_ATOM, 32, 1, &atoms[kSplashType]);
    setProperty(connection, window, atoms[kState], XCB_ATOM_ATOM, 32, 1, &atoms[kAbove]);
    // Flags: decorations given; no decorations.
    const std::array<uint32_t, 5> motif = {2, 0, 0, 0, 0};
    setProperty(connection, window, atoms[kMotifHints], atoms[kMotifHints], 32, motif.size(), motif.data());
    const auto pid = uint32_t(getpid());
    setProperty(connection, window, atoms[kPid], XCB_ATOM_CARDINAL, 32, 1, &pid);
    // WM_NORMAL_HINTS: user-given position, program size, minimum and maximum size the same.
    std::array<uint32_t, 18> hints{};
    hints[0] = 1 | 8 | 16 | 32;
    hints[1] = uint32_t(area.x);
    hints[2] = uint32_t(area.y);
    hints[3] = hints[5] = hints[7] = uint32_t(area.width);
    hints[4] = hints[6] = hints[8] = uint32_t(area.height);
    setProperty(connection, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, hints.size(),
                hints.data());
}

// The window, made and described but not mapped; 0 where the server cannot take the picture.
xcb_window_t makeWindow(xcb_connection_t* connection, int screenNumber, const X11SplashWindow::Names& names,
                        const X11SplashWindow::Picture& picture) {
    const xcb_screen_t* screen = screenNumbered(connection, screenNumber);
    if (!screen || picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height))
        return 0;
    const xcb_pixmap_t pixmap = x11PicturePixmap(connection, screen->root, screen->root_depth, picture.width,
                                                 picture.height, picture.pixels.data());
    if (pixmap == XCB_NONE) return 0;
    // Asked for all at once: one round trip.
    std::array<xcb_intern_atom_cookie_t, kAtomCount> cookies;
    for (size_t i = 0; i < kAtomCount; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(std::strlen(kAtomNames[i])), kAtomNames[i]);

    const Area monitor = primaryMonitor(connection, *screen);
    const Area area{monitor.x + (monitor.width - picture.width) / 2,
                    monitor.y + (monitor.height - picture.height) / 2, picture.width, picture.height};
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t background = pixmap;
    xcb_create_window(connection, screen->root_depth, window, screen->root, int16_t(area.x), int16_t(area.y),
                      uint16_t(area.width), uint16_t(area.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXMAP, &background);
    // The window keeps the picture; the server frees the pixmap with the window.
    xcb_free_pixmap(connection, pixmap);

    std::array<xcb_atom_t, kAtomCount> atoms{};
    for (size_t i = 0; i < kAtomCount; ++i) {
        const auto reply = owned(xcb_intern_atom_reply(connection, cookies[i], nullptr));
        if (!reply) return 0;
        atoms[i] = reply->atom;
    }
    describe(connection, window, names, area, atoms);
    xcb_flush(connection);
    return window;
}

void mapWindow(xcb_connection_t* connection, xcb_window_t window) {
    xcb_map_window(connection, window);
    xcb_flush(connection);
}

}  // namespace

X11SplashWindow::X11SplashWindow(std::string display, Names names, PictureSource picture) {
    try {
        m_thread = std::thread([this, display = std::move(display), names = std::move(names),
                                picture = std::move(picture)] { prepare(display, names, picture); });
    } catch (const std::system_error&) {
        m_failed = true;
    }
}

X11SplashWindow::~X11SplashWindow() {
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        // The server takes the window down with the connection.
        if (m_connection) xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
    if (m_thread.joinable()) m_thread.join();
}

void X11SplashWindow::prepare(const std::string& display, const Names& names, const PictureSource& source) {
    const Picture picture = source ? source() : Picture{};
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber);
    const xcb_window_t window =
        xcb_connection_has_error(connection) ? 0 : makeWindow(connection, screenNumber, names, picture);
    const std::lock_guard lock(m_mutex);
    if (window == 0 || m_closed) {
        xcb_disconnect(connection);
        m_failed = window == 0;
        return;
    }
    m_connection = connection;
    m_window = window;
    if (m_showWanted) mapWindow(m_connection, m_window);
}

void X11SplashWindow::show() {
    const std::lock_guard lock(m_mutex);
    m_showWanted = true;
    if (m_connection) mapWindow(m_connection, m_window);
}

bool X11SplashWindow::failed() const {
    const std::lock_guard lock(m_mutex);
    return m_failed;
}

}  // namespace tarvelin
