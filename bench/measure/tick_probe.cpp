// Linked into a second build of the game (zindra_probe), never into the game
// itself: when ZINDRA_PROBE_FD names an open file descriptor, a TickWatch on
// Timer1 writes its report there ten times a second.
#include "tick_watch.h"

#include "game/fenster1.h"

#include <QCoreApplication>
#include <QTimer>

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kReportMs = 100;

int probeFd = -1;

measure::TickWatch& watch()
{
    static measure::TickWatch instance;
    return instance;
}

void report()
{
    if (!Fenster1Exists()) {
        return;
    }
    if (!watch().hooked()) {
        watch().hook(Fenster1Instance());
    }
    const std::string text = measure::TickWatch::line(watch().report());
    (void)write(probeFd, text.data(), text.size()); // a full pipe loses a report, nothing more
}

void startProbe()
{
    const char* fd = std::getenv("ZINDRA_PROBE_FD");
    if (fd == nullptr) {
        return;
    }
    probeFd = std::atoi(fd);
    // The first report, and with it the hooks, as soon as the event loop runs.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { report(); });
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [] { report(); });
    timer->start(kReportMs);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
