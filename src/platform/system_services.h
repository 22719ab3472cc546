#pragma once

#include <QDateTime>

namespace tarvelin {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() override;
};

class SystemBeeper final : public Beeper {
public:
    void beep() override;
};

}  // namespace tarvelin
