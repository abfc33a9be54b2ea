// A long random stream of everything a player and a desktop can do to the
// game, delivered as real events to the real widgets: the pointer anywhere on
// the screen, presses and releases on the board and on every button, keys,
// timer ticks singly and in bursts, paints, refreshes, window moves. After
// every event the rules of the game are checked (see game_oracle.h).
//
// ZINDRA_FUZZ_EVENTS sets the length (100000 by default), ZINDRA_FUZZ_SEED
// the seed (by default a new one each run). The seed is printed first, and
// with the event's number when a rule breaks, so that the run can be replayed.
#include "fuzz/game_oracle.h"
#include "fuzz/opened_game.h"
#include "fuzz/player_input.h"

#include "game/board.h"
#include "platform/canvas.h"
#include "platform/globals.h"
#include "platform/widgets.h"
#include "ui/knopf/knopf.h"

#include <QApplication>
#include <QCloseEvent>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <random>
#include <string>

namespace {

constexpr std::int64_t kPeriodNs = 4 * fuzz::OpenedGame::kNsPerMs; // Timer1's period
// Chaos comes in short bursts into long stretches of play, so that games last
// long enough to clear sets and to end; one action in this many changes over.
constexpr int kChaosStretch = 500;
constexpr int kPlayStretch = 5000;

[[nodiscard]] std::int64_t fromEnvironment(const char* name, std::int64_t otherwise)
{
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtoll(text, nullptr, 10) : otherwise;
}

[[nodiscard]] const char* typeName(QEvent::Type type)
{
    return type == QEvent::Enter ? "enter"
        : type == QEvent::Leave ? "leave"
        : type == QEvent::MouseButtonPress ? "press"
        : type == QEvent::MouseButtonRelease ? "release"
                                             : "move";
}

class EventStream {
public:
    EventStream(std::uint64_t seed, std::int64_t events)
        : engine_(seed)
        , wanted_(events)
    {
        const QWidget* feld = &f().control<platform::Canvas>("feld").widget();
        const QWidget* neu = &f().control<Knopf>("neu").widget();
        const QWidget* quit = &f().control<Knopf>("Knopf1").widget();
        input_.onDelivered = [=, this](QEvent::Type type, const QWidget* to, QPoint local, bool left) {
            const platform::RectControl* control = input_.controlOf(to);
            const bool leftRelease = type == QEvent::MouseButtonRelease && left;
            fuzz::Delivered event;
            event.what = std::string(typeName(type)) + (left ? "" : " (right)") + " on "
                + (control != nullptr ? control->name() + "(" + std::to_string(control->index()) + ")"
                                      : std::string("the window"))
                + " at " + std::to_string(local.x()) + "," + std::to_string(local.y());
            event.newGame = to == neu && leftRelease;
            event.quits = to == quit && leftRelease;
            event.enteredBoard = to == feld && type == QEvent::Enter;
            event.leftBoard = to == feld && type == QEvent::Leave;
            // Only the left button plays: a right press or release changes nothing.
            const bool button = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease;
            event.changesGame = (to == feld && (left || !button)) || event.newGame || event.quits;
            observe(event);
        };
    }

    // Runs until the stream is over or a rule breaks.
    void run()
    {
        while (delivered_ < wanted_ && broken_.empty()) {
            if (below(playing_ ? kPlayStretch : kChaosStretch) == 0) {
                playing_ = !playing_;
                slack_ = std::array { 20, 45, 70, 150 }[static_cast<std::size_t>(below(4))];
            }
            playing_ ? play() : chaos();
        }
    }

    [[nodiscard]] const std::string& broken() const { return broken_; }
    [[nodiscard]] std::int64_t delivered() const { return delivered_; }
    [[nodiscard]] std::string recent() const
    {
        std::string text;
        for (const std::string& line : recent_) {
            text += "  " + line + "\n";
        }
        return text;
    }
    [[nodiscard]] const fuzz::GameOracle::Coverage& coverage() const { return oracle_.coverage(); }

private:
    [[nodiscard]] int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    [[nodiscard]] int between(int low, int high) { return low + below(high - low + 1); }

    void observe(const fuzz::Delivered& event)
    {
        if (!broken_.empty()) {
            return; // the first broken rule is the one to report
        }
        recent_.push_back("#" + std::to_string(delivered_) + " " + event.what);
        if (recent_.size() > 24) {
            recent_.pop_front();
        }
        broken_ = oracle_.check(event);
        if (broken_.empty()) {
            ++delivered_;
        }
    }

    void deliver(std::string what, bool changesGame = false, bool quits = false)
    {
        fuzz::Delivered event;
        event.what = std::move(what);
        event.changesGame = changesGame;
        event.quits = quits;
        event.windowPaint = event.what == "window paint";
        observe(event);
    }

    [[nodiscard]] Fenster1& f() const { return game_.f(); }

    // A player who wants to play: launches, follows the ball, starts again.
    void play()
    {
        if (input_.held()) {
            input_.release();
        } else if (f().start == 0 || f().start == 3) {
            input_.moveOnto(f().control<Knopf>("neu"));
            input_.click();
        } else if (f().start == 1) {
            input_.moveToWindow(overBoard(between(0, 599), 640));
            if (below(4) == 0) {
                input_.press(false); // the wrong button first, now and then
                input_.release();
            }
            input_.click();
        } else if (below(1000) < 300) {
            followBall(slack_);
        } else {
            wind(kPeriodNs);
        }
    }

    // Puts the paddle's middle near the ball's, off by up to the given pixels.
    void followBall(int slack)
    {
        input_.moveToWindow(overBoard(f().ballx + board::kBallHalf + between(-slack, slack), 640));
    }

    [[nodiscard]] static QPoint overBoard(int x, int y) { return QPoint(20 + x, 20 + y); }

    // Everything else, in any order.
    void chaos()
    {
        const int roll = below(1000);
        if (roll < 150) {
            input_.moveToScreen(QPoint(f().Left() + between(-300, 1200), f().Top() + between(-200, 930)));
        } else if (roll < 300) {
            input_.moveToWindow(overBoard(between(-5, 604), between(-5, 694)));
        } else if (roll < 420) {
            input_.moveOnto(*shownControl());
        } else if (roll < 500) {
            input_.press();
        } else if (roll < 510) {
            input_.press(false);
        } else if (roll < 590) {
            input_.release();
        } else if (roll < 840) {
            // Mostly one period, sometimes less, sometimes a late wake-up that
            // owes a burst, sometimes far more than the burst limit.
            const int late = below(100);
            wind(late < 15 ? below(static_cast<int>(kPeriodNs))
                    : late < 25 ? kPeriodNs * between(2, 25)
                    : late < 30 ? fuzz::OpenedGame::kNsPerMs * between(100, 1000)
                                : kPeriodNs);
        } else if (roll < 870) {
            input_.key(Qt::Key_Space, QStringLiteral(" "));
            deliver("space bar", true);
        } else if (roll < 880) {
            input_.key(Qt::Key_A, QStringLiteral("a"));
            deliver("key a");
        } else if (roll < 890) {
            f().widget().repaint();
            deliver("window paint");
        } else if (roll < 910) {
            platform::RectControl& control = *shownControl();
            control.refreshRect(between(-10, control.width()), between(-10, control.height()), between(0, 120),
                between(0, 120), below(2) == 0);
            deliver("control refresh");
        } else if (roll < 920) {
            QCoreApplication::processEvents();
            deliver("posted events");
        } else if (roll < 925) {
            f().widget().move(between(-100, 500), between(-100, 300));
            input_.windowMoved();
            deliver("window moved");
        } else if (roll < 927) {
            QCloseEvent close;
            QApplication::sendEvent(&f().widget(), &close);
            deliver("window close", false, true);
        } else {
            followBall(70);
        }
    }

    void wind(std::int64_t ns)
    {
        const std::int64_t ticks = game_.wind(ns);
        fuzz::Delivered event;
        event.what = std::to_string(ticks) + " ticks";
        event.ticks = ticks;
        event.changesGame = ticks > 0;
        observe(event);
    }

    [[nodiscard]] platform::RectControl* shownControl()
    {
        for (;;) {
            const auto& all = f().controls();
            auto* control = dynamic_cast<platform::RectControl*>(
                all[static_cast<std::size_t>(below(static_cast<int>(all.size())))].get());
            if (control != nullptr) {
                return control;
            }
        }
    }

    std::mt19937_64 engine_;
    std::int64_t wanted_;
    fuzz::OpenedGame game_;
    fuzz::PlayerInput input_ { game_.f() };
    fuzz::GameOracle oracle_ { game_.f(), *game_.notes };
    std::deque<std::string> recent_;
    std::int64_t delivered_ = 0;
    bool playing_ = false;
    int slack_ = 20;
    std::string broken_;
};

} // namespace

TEST(EventStream, EveryRuleHoldsAfterEveryEventOfALongRandomStream)
{
    const auto seed = static_cast<std::uint64_t>(fromEnvironment("ZINDRA_FUZZ_SEED", std::random_device {}()));
    const std::int64_t wanted = fromEnvironment("ZINDRA_FUZZ_EVENTS", 100'000);
    std::cout << "fuzz: seed " << seed << ", " << wanted << " events" << std::endl;
    platform::resetQuit();

    EventStream stream(seed, wanted);
    stream.run();
    ASSERT_TRUE(stream.broken().empty()) << "seed " << seed << ", event #" << stream.delivered() << ": "
                                         << stream.broken() << "\nthe last events:\n"
                                         << stream.recent() << "replay with ZINDRA_FUZZ_SEED=" << seed
                                         << " ZINDRA_FUZZ_EVENTS=" << stream.delivered() + 1;
    const auto& reached = stream.coverage();
    std::cout << "fuzz: " << reached.newGames << " new games, " << reached.setsCleared << " sets cleared, "
              << reached.gamesOver << " games over, " << reached.quits << " quits; best score "
              << reached.bestScore << ", highest level " << reached.highestLevel << std::endl;
}
