// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Inside the platform: where the pointer is on the screen, without asking the
// display server at every timer tick.
#pragma once

#include <QObject>

#include <chrono>

namespace platform::detail {

// While the pointer is over one of the game's windows its position comes
// from the pointer events Qt delivers anyway. Elsewhere the display server
// is asked, at most once per kPollInterval: each question is a round trip.
class PointerTracker : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kPollInterval { 8 };

    // The tracker of the running application (installed on first use).
    static PointerTracker& instance();
    [[nodiscard]] int screenX();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PointerTracker();

    bool inside_ = false; // the last pointer event was over a window of ours
    int x_ = 0;
    std::chrono::steady_clock::time_point polled_ {};
};

} // namespace platform::detail
