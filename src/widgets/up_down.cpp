#include "widgets/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvelin {
namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}

}  // namespace

UpDown::UpDown(QLineEdit& associate, int minimum, int maximum, int position, QWidget* parent)
    : QWidget(parent),
      m_associate(associate),
      m_minimum(minimum),
      m_maximum(maximum),
      m_position(std::clamp(position, minimum, maximum)),
      m_up(arrowButton(this, Qt::UpArrow)),
      m_down(arrowButton(this, Qt::DownArrow)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_up);
    column->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::setPosition(int position) {
    m_position = std::clamp(position, m_minimum, m_maximum);
    m_associate.setText(QString::number(m_position));
}

void UpDown::step(int delta) {
    bool ok = false;
    const int shown = m_associate.text().toInt(&ok);
    setPosition((ok ? std::clamp(shown, m_minimum, m_maximum) : m_position) + delta);
}

}  // namespace tarvelin
