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
#include "platform/control.h"
#include "platform/globals.h"
#include "platform/widgets.h"
#include "ui/knopf/knopf.h"

#include <QApplication>
#include <QCloseEvent>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kDefaultEvents = 100'000;
constexpr std::int64_t kPeriodNs = 4 * fuzz::OpenedGame::kNsPerMs; // Timer1's period
constexpr std::int64_t kProgressEvery = 1'000'000;
// Chaos comes in short bursts into long stretches of play, so that games last
// long enough to clear sets and to end; one action in this many changes over.
constexpr int kChaosStretch = 500;
constexpr int kPlayStretch = 5000;
// How far off the paddle's middle a player puts the ball, in pixels: from
// sure to careless (the paddle is 100 wide).
constexpr std::array<int, 4> kSlack = { 20, 45, 70, 150 };

[[nodiscard]] std::int64_t eventsWanted()
{
    const char* text = std::getenv("ZINDRA_FUZZ_EVENTS");
    return text != nullptr ? std::strtoll(text, nullptr, 10) : kDefaultEvents;
}

[[nodiscard]] std::uint64_t seedWanted()
{
    if (const char* text = std::getenv("ZINDRA_FUZZ_SEED")) {
        return std::strtoull(text, nullptr, 10);
    }
    return std::random_device {}();
}

// Small integers from the seed, the same on every machine for the same seed.
class Dice {
public:
    explicit Dice(std::uint64_t seed)
        : engine_(seed)
    {
    }
    // 0 .. n-1
    [[nodiscard]] int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    // low .. high, both included
    [[nodiscard]] int between(int low, int high) { return low + below(high - low + 1); }
    [[nodiscard]] bool chance(int perThousand) { return below(1000) < perThousand; }

private:
    std::mt19937_64 engine_;
};

// The last events, for the report of a broken rule.
class RecentEvents {
public:
    void add(std::int64_t index, const std::string& what)
    {
        ring_[static_cast<std::size_t>(index % kKept)] = "  #" + std::to_string(index) + " " + what + "\n";
        last_ = index;
    }
    [[nodiscard]] std::string text() const
    {
        std::string out;
        for (std::int64_t i = std::max<std::int64_t>(0, last_ - kKept + 1); i <= last_; ++i) {
            out += ring_[static_cast<std::size_t>(i % kKept)];
        }
        return out;
    }

private:
    static constexpr std::int64_t kKept = 24;
    std::array<std::string, kKept> ring_ {};
    std::int64_t last_ = -1;
};

[[nodiscard]] const char* typeName(QEvent::Type type)
{
    switch (type) {
    case QEvent::Enter:
        return "enter";
    case QEvent::Leave:
        return "leave";
    case QEvent::MouseButtonPress:
        return "press";
    case QEvent::MouseButtonRelease:
        return "release";
    default:
        return "move";
    }
}

class EventStream {
public:
    EventStream(std::uint64_t seed, std::int64_t events)
        : dice_(seed)
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
            event.leftBoard = to == feld && type == QEvent::Leave;
            event.changesGame = to == feld || event.newGame || event.quits;
            observe(event);
        };
    }

    // Runs until the stream is over or a rule breaks.
    void run()
    {
        while (delivered_ < wanted_ && broken_.empty()) {
            if (dice_.below(playing_ ? kPlayStretch : kChaosStretch) == 0) {
                playing_ = !playing_;
                slack_ = kSlack[static_cast<std::size_t>(dice_.below(kSlack.size()))];
            }
            playing_ ? play() : chaos();
            if (wanted_ >= kProgressEvery && delivered_ / kProgressEvery != reported_) {
                reported_ = delivered_ / kProgressEvery;
                std::cout << "fuzz: " << delivered_ << " events" << std::endl;
            }
        }
    }

    [[nodiscard]] const std::string& broken() const { return broken_; }
    [[nodiscard]] std::int64_t delivered() const { return delivered_; }
    [[nodiscard]] std::string recent() const { return recent_.text(); }
    [[nodiscard]] const fuzz::GameOracle::Coverage& coverage() const { return oracle_.coverage(); }

private:
    void observe(const fuzz::Delivered& event)
    {
        if (!broken_.empty()) {
            return; // the first broken rule is the one to report
        }
        recent_.add(delivered_, event.what);
        broken_ = oracle_.check(event);
        if (broken_.empty()) {
            ++delivered_;
        }
    }

    void deliver(std::string what, bool changesGame = false)
    {
        fuzz::Delivered event;
        event.what = std::move(what);
        event.changesGame = changesGame;
        observe(event);
    }

    [[nodiscard]] Fenster1& f() const { return game_.f(); }

    // --- a player who wants to play: launches, follows the ball, starts again

    void play()
    {
        if (input_.held()) {
            input_.release();
        } else if (f().start == 0 || f().start == 3) {
            input_.moveOnto(f().control<Knopf>("neu"));
            input_.click();
        } else if (f().start == 1) {
            input_.moveToWindow(overBoard(dice_.between(0, 599), 640));
            input_.click();
        } else if (dice_.chance(300)) {
            followBall(slack_);
        } else {
            wind(kPeriodNs);
        }
    }

    // Puts the paddle's middle near the ball's, off by up to the given pixels.
    void followBall(int slack)
    {
        const int centre = f().ballx + board::kBallHalf + dice_.between(-slack, slack);
        input_.moveToWindow(overBoard(centre, 640));
    }

    [[nodiscard]] static QPoint overBoard(int x, int y) { return QPoint(20 + x, 20 + y); }

    // --- everything else, in any order

    void chaos()
    {
        const int roll = dice_.below(1000);
        if (roll < 150) {
            input_.moveToScreen(
                QPoint(f().Left() + dice_.between(-300, 1200), f().Top() + dice_.between(-200, 930)));
        } else if (roll < 300) {
            input_.moveToWindow(overBoard(dice_.between(-5, 604), dice_.between(-5, 694)));
        } else if (roll < 380) {
            input_.moveToScreen(input_.screen() + QPoint(dice_.between(-20, 20), dice_.between(-20, 20)));
        } else if (roll < 420) {
            moveOntoAControl();
        } else if (roll < 500) {
            input_.press();
        } else if (roll < 510) {
            input_.press(false);
        } else if (roll < 590) {
            input_.release();
        } else if (roll < 840) {
            windSomeTime();
        } else if (roll < 870) {
            key(Qt::Key_Space, QStringLiteral(" "));
        } else if (roll < 880) {
            otherKey();
        } else if (roll < 890) {
            f().widget().repaint();
            fuzz::Delivered paint { "window paint" };
            paint.windowPaint = true;
            observe(paint);
        } else if (roll < 910) {
            refreshAControl();
        } else if (roll < 920) {
            QCoreApplication::processEvents();
            deliver("posted events");
        } else if (roll < 925) {
            f().widget().move(dice_.between(-100, 500), dice_.between(-100, 300));
            input_.windowMoved();
            deliver("window moved");
        } else if (roll < 927) {
            QCloseEvent close;
            QApplication::sendEvent(&f().widget(), &close);
            fuzz::Delivered closed { "window close" };
            closed.quits = true;
            observe(closed);
        } else {
            followBall(70);
        }
    }

    // Time passes: mostly one period, sometimes less, sometimes a late
    // wake-up that owes a burst, sometimes far more than the burst limit.
    void windSomeTime()
    {
        const int roll = dice_.below(100);
        std::int64_t ns = kPeriodNs;
        if (roll < 15) {
            ns = dice_.below(static_cast<int>(kPeriodNs));
        } else if (roll < 25) {
            ns = kPeriodNs * dice_.between(2, 25);
        } else if (roll < 30) {
            ns = fuzz::OpenedGame::kNsPerMs * dice_.between(100, 1000);
        }
        wind(ns);
    }

    void wind(std::int64_t ns)
    {
        fuzz::Delivered ticks;
        ticks.ticks = game_.wind(ns);
        ticks.what = std::to_string(ticks.ticks) + " ticks";
        ticks.changesGame = ticks.ticks > 0;
        observe(ticks);
    }

    void key(int qtKey, const QString& text)
    {
        input_.key(qtKey, text);
        deliver("key '" + text.toStdString() + "'", text == QStringLiteral(" "));
    }

    void otherKey()
    {
        struct Key {
            int code;
            const char* text;
        };
        static constexpr std::array<Key, 7> keys = { { { Qt::Key_A, "a" }, { Qt::Key_N, "N" },
            { Qt::Key_Return, "\r" }, { Qt::Key_Escape, "\x1b" }, { Qt::Key_Shift, "" }, { Qt::Key_Left, "" },
            { Qt::Key_Tab, "\t" } } };
        const Key& chosen = keys[static_cast<std::size_t>(dice_.below(keys.size()))];
        key(chosen.code, QString::fromLatin1(chosen.text));
    }

    [[nodiscard]] std::vector<platform::RectControl*> shownControls() const
    {
        std::vector<platform::RectControl*> shown;
        for (const auto& control : f().controls()) {
            if (auto* rect = dynamic_cast<platform::RectControl*>(control.get())) {
                shown.push_back(rect);
            }
        }
        return shown;
    }

    void moveOntoAControl()
    {
        const int roll = dice_.below(100);
        if (roll < 15) {
            input_.moveOnto(f().control<Knopf>("neu"));
        } else if (roll < 20) {
            input_.moveOnto(f().control<Knopf>("Knopf1"));
        } else if (roll < 50) {
            input_.moveOnto(f().control<Knopf>("zahl", dice_.below(4)));
        } else {
            const auto shown = shownControls();
            input_.moveOnto(*shown[static_cast<std::size_t>(dice_.below(static_cast<int>(shown.size())))]);
        }
    }

    void refreshAControl()
    {
        const auto shown = shownControls();
        platform::RectControl& control
            = *shown[static_cast<std::size_t>(dice_.below(static_cast<int>(shown.size())))];
        if (dice_.chance(500)) {
            control.refresh(dice_.chance(500));
        } else {
            control.refreshRect(dice_.between(-10, control.width()), dice_.between(-10, control.height()),
                dice_.between(0, 120), dice_.between(0, 120), dice_.chance(500));
        }
        deliver("control refresh");
    }

    Dice dice_;
    std::int64_t wanted_;
    fuzz::OpenedGame game_;
    fuzz::PlayerInput input_ { game_.f() };
    fuzz::GameOracle oracle_ { game_.f(), *game_.notes };
    RecentEvents recent_;
    std::int64_t delivered_ = 0;
    std::int64_t reported_ = 0;
    bool playing_ = false;
    int slack_ = kSlack[0];
    std::string broken_;
};

} // namespace

TEST(EventStream, EveryRuleHoldsAfterEveryEventOfALongRandomStream)
{
    const std::uint64_t seed = seedWanted();
    const std::int64_t wanted = eventsWanted();
    std::cout << "fuzz: seed " << seed << ", " << wanted << " events (replay with ZINDRA_FUZZ_SEED=" << seed
              << " ZINDRA_FUZZ_EVENTS=" << wanted << ")" << std::endl;
    platform::resetQuit();

    const auto begin = std::chrono::steady_clock::now();
    EventStream stream(seed, wanted);
    stream.run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;

    ASSERT_TRUE(stream.broken().empty()) << "seed " << seed << ", event #" << stream.delivered() << ": "
                                         << stream.broken() << "\nthe last events:\n"
                                         << stream.recent() << "replay with ZINDRA_FUZZ_SEED=" << seed
                                         << " ZINDRA_FUZZ_EVENTS=" << stream.delivered() + 1;
    const auto& reached = stream.coverage();
    std::cout << "fuzz: " << stream.delivered() << " events in " << took.count() << " s; " << reached.newGames
              << " new games, " << reached.setsCleared << " sets cleared, " << reached.gamesOver
              << " games over, " << reached.quits << " quits; best score " << reached.bestScore
              << ", highest level " << reached.highestLevel << std::endl;
}
