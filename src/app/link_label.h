#pragma once

#include <QLabel>

namespace tarvelin {

// A label that acts as a link: underlined while the pointer is over it (the rest of its font untouched), and
// clicked() on a left-button release inside it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setUnderline(bool on);
};

}  // namespace tarvelin
