// Inside the platform: the Qt timer that wakes a Timer up.
#pragma once

#include <QObject>
#include <QTimer>

namespace platform {
class Timer;
}

namespace platform::detail {

class TimerDriver : public QObject {
    Q_OBJECT
public:
    explicit TimerDriver(Timer& timer);
    void start(int periodMs);
    void stop();

private:
    QTimer qtimer_;
};

} // namespace platform::detail
