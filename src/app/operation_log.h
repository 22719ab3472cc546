#pragma once

#include <QDateTime>
#include <QListWidget>
#include <QLocale>
#include <QString>

namespace tarvelin {

class Clock;

// The user's "long time" with seconds and without a time zone: the locale's short time with seconds added
// where it has none (ja_JP "H:mm" becomes "H:mm:ss").
QString longTimeFormat(const QLocale& locale);

// "timestamp : message"; the timestamp is the short date, a blank and the long time, the time left out in the
// first second after midnight.
QString formatLogLine(const QDateTime& time, const QLocale& locale, const QString& message);

QLocale userLocale();

// The operation log (`ListBox1`): rows of 12 px, appended at the end, the newest always in view, none
// highlighted.
class OperationLog : public QListWidget {
    Q_OBJECT
public:
    OperationLog(Clock& clock, QWidget* parent = nullptr);

    void appendLine(const QString& message);
    void setLocale(const QLocale& locale) { m_locale = locale; }

    static constexpr int kRowHeight = 12;

private:
    Clock& m_clock;
    QLocale m_locale;
};

}  // namespace tarvelin
