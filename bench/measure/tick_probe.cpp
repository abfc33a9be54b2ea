// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Linked into a second build of the game (zindra_probe), never into the game
// itself: when ZINDRA_PROBE_FD names an open file descriptor, Timer1's ticks
// so far, whether it runs, and the time (CLOCK_MONOTONIC ns) are written there
// ten times a second as "<ticks> <0|1> <ns>".
#include "game/fenster1.h"
#include "platform/timer.h"

#include <QCoreApplication>
#include <QTimer>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

constexpr int kReportMs = 100;

void startProbe()
{
    const char* fd = std::getenv("ZINDRA_PROBE_FD");
    if (fd == nullptr) {
        return;
    }
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [probeFd = std::atoi(fd)] {
        if (!Fenster1Exists()) {
            return;
        }
        const auto& ticks = Fenster1Instance().control<platform::Timer>("Timer1");
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const std::string line = std::to_string(ticks.ticksDelivered()) + (ticks.enabled() ? " 1 " : " 0 ")
            + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) + "\n";
        // A full pipe loses a report, nothing more.
        [[maybe_unused]] const ssize_t written = write(probeFd, line.data(), line.size());
    });
    timer->start(kReportMs);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
