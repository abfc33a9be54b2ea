// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

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
