#pragma once

#include <QProxyStyle>

namespace tarvelin {

// The application style, except that the pictures every tool bar loads for its overflow button at
// construction are read when first drawn: most bars never overflow, and reading them at start takes the
// image plugins, the icon theme's folders and a decoder before the first frame.
class DeferredStandardIconStyle : public QProxyStyle {
public:
    // base: null for the application's default style.
    explicit DeferredStandardIconStyle(QStyle* base = nullptr);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace tarvelin
