#include "app/operation_log.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/system_services.h"

namespace tarvelin {
namespace {

// One line a row, 2 px from the left, vertically centred; an ampersand is an ordinary character.
class LogRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), OperationLog::kRowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        if (selected) painter->fillRect(option.rect, palette.brush(QPalette::Highlight));
        painter->save();
        painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(2, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

QString longTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1Char('s'))) return format;
    const int minutes = format.lastIndexOf(QLatin1String("mm"));
    if (minutes < 0) return locale.timeFormat(QLocale::LongFormat);
    const QString separator = locale.timeFormat(QLocale::ShortFormat).mid(minutes - 1, 1);
    format.insert(minutes + 2,
                  (separator.isEmpty() ? QStringLiteral(":") : separator) + QStringLiteral("ss"));
    return format;
}

QString formatLogLine(const QDateTime& time, const QLocale& locale, const QString& message) {
    QString stamp = locale.toString(time.date(), QLocale::ShortFormat);
    // The whole first second after midnight counts, whatever its milliseconds.
    const QTime t = time.time();
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
        stamp += QLatin1Char(' ') + locale.toString(time.time(), longTimeFormat(locale));
    return stamp + QStringLiteral(" : ") + message;
}

// The user's formats; a system with no regional preference (the C locale) gets the Japanese ones.
QLocale userLocale() {
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::Japanese, QLocale::Japan) : locale;
}

OperationLog::OperationLog(Clock& clock, QWidget* parent)
    : QListWidget(parent), m_clock(clock), m_locale(userLocale()) {
    setObjectName(QStringLiteral("ListBox1"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new LogRowDelegate(this));
    setTextElideMode(Qt::ElideNone);
}

void OperationLog::appendLine(const QString& message) {
    addItem(formatLogLine(m_clock.now(), m_locale, message));
    setCurrentRow(count() - 1);
    scrollToBottom();
    clearSelection();
}

}  // namespace tarvelin
