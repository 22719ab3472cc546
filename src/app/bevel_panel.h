#pragma once

#include <QWidget>

namespace tarvelin {

// A panel framed by two one-pixel bevels: a lowered outer ring (shadow above and left, highlight below and
// right) and a raised inner ring (the reverse), on the button face colour.
class BevelPanel : public QWidget {
    Q_OBJECT
public:
    explicit BevelPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarvelin
