#include "platform/x11_splash_window.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/splash.h"

namespace tarvelin {
namespace {

template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply) {
    return {reply, &std::free};
}

// Looks at the X server from a connection of the test's own.
class Observer {
public:
    Observer() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~Observer() { xcb_disconnect(m_connection); }

    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root; }

    std::string property(xcb_window_t window, const char* name) const {
        const auto atom = owned(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr));
        const auto reply = owned(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
            nullptr));
        if (!reply) return {};
        const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
        return std::string(data, size_t(xcb_get_property_value_length(reply.get())));  // in bytes
    }
    std::string atomName(const std::string& value) const {
        xcb_atom_t atom = 0;
        std::memcpy(&atom, value.data(), std::min(value.size(), sizeof atom));
        const auto reply =
            owned(xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, atom), nullptr));
        return reply ? std::string(xcb_get_atom_name_name(reply.get()),
                                   size_t(xcb_get_atom_name_name_length(reply.get())))
                     : std::string();
    }

    // The top-level window of that title, if there is one.
    std::optional<xcb_window_t> windowTitled(const std::string& title) const {
        const auto tree =
            owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root()), nullptr));
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            if (property(children[i], "WM_NAME") == title) return children[i];
        return std::nullopt;
    }
    bool mapped(xcb_window_t window) const {
        const auto attributes = owned(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    QRect geometry(xcb_window_t window) const {
        const auto g =
            owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        return g ? QRect(g->x, g->y, g->width, g->height) : QRect();
    }
    // What the screen shows there.
    QImage screen(const QRect& area) const {
        const auto reply = owned(xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), int16_t(area.x()),
                          int16_t(area.y()), uint16_t(area.width()), uint16_t(area.height()), ~0u),
            nullptr));
        return reply ? QImage(xcb_get_image_data(reply.get()), area.width(), area.height(),
                              QImage::Format_RGB32)
                           .copy()
                     : QImage();
    }

private:
    xcb_connection_t* m_connection;
};

// Waits up to five seconds, handling the toolkit's events, for the condition to hold.
template <typename Condition>
bool eventually(Condition condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 5000) return false;
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return true;
}

X11SplashWindow::Picture redPictureWithGreenCorner() {
    X11SplashWindow::Picture picture{20, 10, std::vector<std::uint32_t>(200, 0xC81E28)};
    picture.pixels.back() = 0x0ADC1E;  // the far corner: no row or byte is shifted
    return picture;
}

TEST(X11SplashWindow, ShowsThePictureCentredAsASplashOnlyWhenAskedAndGoesWithTheObject) {
    const Observer x;
    auto splash = std::make_unique<X11SplashWindow>(
        "", X11SplashWindow::Names{"splash under test", "inst", "Klass"}, redPictureWithGreenCorner);
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(eventually([&] { return (window = x.windowTitled("splash under test")).has_value(); }));
    QThread::msleep(100);
    EXPECT_FALSE(x.mapped(*window)) << "shown before it was asked to";

    splash->show();
    ASSERT_TRUE(eventually([&] { return x.mapped(*window); }));
    // The screen is 320 x 240.
    EXPECT_EQ(x.geometry(*window), QRect(150, 115, 20, 10));
    const QImage shown = x.screen(QRect(150, 115, 20, 10));
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFFu, 0xC81E28u);
    EXPECT_EQ(shown.pixel(19, 9) & 0xFFFFFFu, 0x0ADC1Eu);
    EXPECT_EQ(x.atomName(x.property(*window, "_NET_WM_WINDOW_TYPE")), "_NET_WM_WINDOW_TYPE_SPLASH");
    EXPECT_EQ(x.atomName(x.property(*window, "_NET_WM_STATE")), "_NET_WM_STATE_ABOVE");
    EXPECT_EQ(x.property(*window, "_NET_WM_NAME"), "splash under test");
    EXPECT_EQ(x.property(*window, "WM_CLASS"), std::string("inst\0Klass\0", 11));
    const std::string motif = x.property(*window, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 20u);
    EXPECT_EQ(motif[0], 2) << "decorations given";
    EXPECT_EQ(motif[8], 0) << "and there are none";

    splash.reset();
    EXPECT_TRUE(eventually([&] { return !x.windowTitled("splash under test"); }));
}

TEST(X11SplashWindow, FailsWithoutAServerOrForAPictureItCannotShow) {
    X11SplashWindow::Picture shortPicture = redPictureWithGreenCorner();
    shortPicture.pixels.pop_back();
    const struct {
        const char* what;
        std::string display;
        X11SplashWindow::Picture picture;
    } cases[] = {
        {"no such display", ":4711", redPictureWithGreenCorner()},
        {"fewer pixels than its size", "", shortPicture},
        {"no pixels", "", {}},
    };
    for (const auto& c : cases) {
        X11SplashWindow splash(c.display, {"failing splash", "inst", "Klass"}, [&c] { return c.picture; });
        splash.show();
        EXPECT_TRUE(eventually([&] { return splash.failed(); })) << c.what;
    }
    EXPECT_FALSE(Observer().windowTitled("failing splash"));
}

TEST(Tsplash, ShowsAPreparedWindowInsteadOfItselfAndTakesItDownWhenTheMainWindowShows) {
    const Observer x;
    QPointer<Tsplash> splash = new Tsplash(std::make_unique<X11SplashWindow>(
        "", X11SplashWindow::Names{"prepared splash", "inst", "Klass"}, redPictureWithGreenCorner));
    splash->showAndPaint();
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(eventually([&] {
        window = x.windowTitled("prepared splash");
        return window && x.mapped(*window);
    }));
    EXPECT_FALSE(splash->isVisible());

    QWidget mainWindow;
    mainWindow.show();
    EXPECT_TRUE(eventually([&] { return !x.windowTitled("prepared splash") && splash.isNull(); }));
}

}  // namespace
}  // namespace tarvelin
