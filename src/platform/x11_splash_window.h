#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

typedef struct xcb_connection_t xcb_connection_t;

namespace tarvelin {

// A window that shows one picture, which the X server draws from the window's background. A helper thread
// opens a connection of its own and prepares the window while the program's own thread is busy starting the
// toolkit, so the window costs that thread nothing and shows the moment it is asked to. It has no frame,
// stays on top, is centred on the primary monitor, and is marked a splash window for the window manager.
class X11SplashWindow {
public:
    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;  // 0x..RRGGBB, row by row; the top byte is not used
    };
    struct Names {
        std::string title;
        std::string instance;   // the first part of the window class
        std::string className;  // the second
    };

    // Made on the helper thread too.
    using PictureSource = std::function<Picture()>;

    // Starts preparing the window on the display named (empty: $DISPLAY); nothing shows before show().
    X11SplashWindow(std::string display, Names names, PictureSource picture);
    // Takes the window down at once. Waits for the helper only while it is still talking to the X server,
    // the same server the toolkit waits on.
    ~X11SplashWindow();
    X11SplashWindow(const X11SplashWindow&) = delete;
    X11SplashWindow& operator=(const X11SplashWindow&) = delete;

    // Maps the window now if it is ready, else as soon as it is; never waits.
    void show();
    // True once the helper has found that it cannot make the window: no server, or one that cannot take the
    // picture as it stands.
    bool failed() const;

private:
    void prepare(const std::string& display, const Names& names, const PictureSource& picture);

    mutable std::mutex m_mutex;
    xcb_connection_t* m_connection = nullptr;  // with a window made on it, until taken down
    std::uint32_t m_window = 0;
    bool m_showWanted = false;
    bool m_closed = false;
    bool m_failed = false;
    std::thread m_thread;
};

}  // namespace tarvelin
