#include "widgets/deferred_standard_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <functional>
#include <optional>

namespace tarvelin {
namespace {

// Stands for an icon that is made when something first asks for its pictures.
class DeferredIconEngine : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        // size is in device pixels here; the icon wants it in its own.
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("tarvelin-deferred"); }
    QString iconName() override { return icon().name(); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& icon() {
        if (m_make) {
            m_icon = m_make();
            m_make = nullptr;
        }
        return m_icon;
    }

    std::function<QIcon()> m_make;
    QIcon m_icon;
};

}  // namespace

DeferredStandardIconStyle::DeferredStandardIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon DeferredStandardIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                              const QWidget* widget) const {
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    // The bars pass a plain option for their direction; the widget may be gone when the picture is drawn.
    std::optional<QStyleOption> kept;
    if (option) kept = *option;
    // The style may be replaced before the picture is drawn; the icon then comes from the one in use.
    const QPointer<const DeferredStandardIconStyle> self(this);
    return QIcon(new DeferredIconEngine([self, which, kept] {
        const QStyleOption* keptOption = kept ? &*kept : nullptr;
        return self ? self->baseStyle()->standardIcon(which, keptOption)
                    : QApplication::style()->standardIcon(which, keptOption);
    }));
}

}  // namespace tarvelin
