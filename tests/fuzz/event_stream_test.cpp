// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A long random stream of everything a player and a desktop can do to the
// game, delivered as real events to the real widgets: the pointer anywhere on
// the screen, presses and releases on the board and on every button, keys,
// timer ticks singly and in bursts, paints, refreshes, window moves. After
// every event the rules of the game are checked (see game_oracle.h).
//
// ZINDRA_FUZZ_EVENTS sets the length (100000 by default), ZINDRA_FUZZ_SEED
// the seed (by default a new one each run). The seed is printed first, and
// with the event's number when a rule breaks, so that the run can be replayed:
// nothing here follows the wall clock (the timer runs on a wound clock, and
// no timer of Qt's fires), so one seed gives one stream, event for event.
#include "fuzz/game_oracle.h"
#include "fuzz/player_input.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMetaEnum>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <optional>
#include <random>

namespace {

// Chaos comes in short bursts into long stretches of play, so that games last
// long enough to clear sets and to end; one action in this many changes over.
constexpr int kChaosStretch = 500;
constexpr int kPlayStretch = 5000;

[[nodiscard]] std::int64_t fromEnvironment(const char* name, std::int64_t otherwise)
{
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtoll(text, nullptr, 10) : otherwise;
}

// Every pointer event a widget of the game gets, as Qt routed it, goes to the
// oracle once the widget has handled it: when the next one comes, or when
// the action that caused it is over.
class EventStream : public QObject {
public:
    EventStream(std::uint64_t seed, std::int64_t events)
        : engine_(seed)
        , wanted_(events)
    {
        for (const auto& control : f().controls()) {
            if (const auto* shown = dynamic_cast<const platform::RectControl*>(control.get())) {
                names_[&shown->widget()] = shown->name() + "(" + std::to_string(shown->index()) + ")";
            }
        }
        QCoreApplication::instance()->installEventFilter(this);
    }

    // Runs until the stream is over or a rule breaks; answers what broke,
    // with the events that led there, or says what the run reached.
    [[nodiscard]] std::string run()
    {
        while (delivered_ < wanted_ && broken_.empty()) {
            if (below(playing_ ? kPlayStretch : kChaosStretch) == 0) {
                playing_ = !playing_;
                slack_ = std::array { 20, 45, 70, 150 }[static_cast<std::size_t>(below(4))];
            }
            playing_ ? play() : chaos();
            settle();
        }
        if (broken_.empty()) {
            const auto& reached = oracle_.reached;
            std::cout << "fuzz: " << reached.newGames << " new games, " << reached.setsCleared
                      << " sets cleared, " << reached.gamesOver << " games over, " << reached.quits
                      << " quits; best score " << reached.bestScore << ", highest level "
                      << reached.highestLevel << std::endl;
            return {};
        }
        std::string report = "event #" + std::to_string(delivered_) + ": " + broken_ + "\nthe last events:\n";
        for (const std::string& line : recent_) {
            report += "  " + line + "\n";
        }
        return report + "replay with ZINDRA_FUZZ_EVENTS=" + std::to_string(delivered_ + 1);
    }

protected:
    bool eventFilter(QObject* to, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool button = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease;
        // A tick that hides the indicator under the pointer makes Qt send it a
        // leave, and the widget beneath an enter, in the middle of the tick:
        // they belong to the ticks, which the oracle sees once they are done.
        if (!to->isWidgetType() || ticking_
            || (!button && type != QEvent::MouseMove && type != QEvent::Enter && type != QEvent::Leave)) {
            return false;
        }
        settle();
        const bool left = !button || static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        const bool leftRelease = type == QEvent::MouseButtonRelease && left;
        pending_ = fuzz::Delivered { .what = QMetaEnum::fromType<QEvent::Type>().valueToKey(type)
                + std::string(left ? "" : " (right)") + " on "
                + (names_.contains(to) ? names_.at(to) : "the window"),
            // Only the left button plays: a right press or release changes nothing.
            .changesGame = (to == feld_ && left) || ((to == neu_ || to == quit_) && leftRelease),
            .newGame = to == neu_ && leftRelease,
            .quits = to == quit_ && leftRelease,
            .enteredBoard = to == feld_ && type == QEvent::Enter,
            .leftBoard = to == feld_ && type == QEvent::Leave };
        return false;
    }

private:
    [[nodiscard]] int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    [[nodiscard]] int between(int low, int high) { return low + below(high - low + 1); }
    [[nodiscard]] Fenster1& f() const { return game_.f(); }

    void settle()
    {
        if (pending_) {
            observe(*std::exchange(pending_, std::nullopt));
        }
    }

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
        delivered_ += broken_.empty() ? 1 : 0;
    }

    void deliver(const fuzz::Delivered& event)
    {
        settle();
        observe(event);
    }

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
        } else if (below(1000) < 300) { // the paddle's middle near the ball's
            input_.moveToWindow(overBoard(f().ballx + board::kBallHalf + between(-slack_, slack_), 640));
        } else {
            wind(fuzz::OpenedGame::kPeriodNs);
        }
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
            input_.moveOnto(shownControl());
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
            wind(late < 15      ? below(static_cast<int>(fuzz::OpenedGame::kPeriodNs))
                    : late < 25 ? fuzz::OpenedGame::kPeriodNs * between(2, 25)
                    : late < 30 ? fuzz::OpenedGame::kNsPerMs * between(100, 1000)
                                : fuzz::OpenedGame::kPeriodNs);
        } else if (roll < 870) {
            input_.key(Qt::Key_Space, QStringLiteral(" "));
            deliver({ .what = "space bar", .changesGame = true });
        } else if (roll < 880) {
            input_.key(Qt::Key_A, QStringLiteral("a"));
            deliver({ .what = "key a" });
        } else if (roll < 890) {
            f().widget().repaint();
            deliver({ .what = "window paint", .windowPaint = true });
        } else if (roll < 910) {
            platform::RectControl& control = shownControl();
            control.refreshRect(between(-10, control.width()), between(-10, control.height()),
                between(0, 120), between(0, 120), below(2) == 0);
            deliver({ .what = "control refresh" });
        } else if (roll < 920) {
            QCoreApplication::sendPostedEvents();
            deliver({ .what = "posted events" });
        } else if (roll < 925) {
            f().widget().move(between(-100, 500), between(-100, 300));
            input_.crossWindowEdge();
            deliver({ .what = "window moved" });
        } else if (roll < 927) {
            QCloseEvent close;
            QApplication::sendEvent(&f().widget(), &close);
            deliver({ .what = "window close", .quits = true });
        } else {
            input_.moveToWindow(overBoard(f().ballx + board::kBallHalf + between(-70, 70), 640));
        }
    }

    void wind(std::int64_t ns)
    {
        settle();
        ticking_ = true;
        const std::int64_t ticks = game_.wind(ns);
        ticking_ = false;
        observe({ .what = std::to_string(ticks) + " ticks", .changesGame = ticks > 0, .ticks = ticks });
    }

    // Any control, drawn again until it is one on the window.
    [[nodiscard]] platform::RectControl& shownControl()
    {
        platform::RectControl* shown = nullptr;
        while (shown == nullptr) {
            const auto& all = f().controls();
            shown = dynamic_cast<platform::RectControl*>(
                all[static_cast<std::size_t>(below(int(all.size())))].get());
        }
        return *shown;
    }

    std::mt19937_64 engine_;
    std::int64_t wanted_;
    fuzz::OpenedGame game_;
    fuzz::PlayerInput input_ { game_.f() };
    fuzz::GameOracle oracle_ { game_.f(), *game_.notes };
    const QObject* feld_ = &f().control<platform::Canvas>("feld").widget();
    const QObject* neu_ = &f().control<Knopf>("neu").widget();
    const QObject* quit_ = &f().control<Knopf>("Knopf1").widget();
    std::map<const QObject*, std::string> names_; // the controls' widgets, for the report
    std::optional<fuzz::Delivered> pending_;
    std::deque<std::string> recent_;
    std::int64_t delivered_ = 0;
    bool playing_ = false;
    bool ticking_ = false;
    int slack_ = 20;
    std::string broken_;
};

} // namespace

TEST(EventStream, EveryRuleHoldsAfterEveryEventOfALongRandomStream)
{
    const auto seed
        = static_cast<std::uint64_t>(fromEnvironment("ZINDRA_FUZZ_SEED", std::random_device {}()));
    const std::int64_t wanted = fromEnvironment("ZINDRA_FUZZ_EVENTS", 100'000);
    std::cout << "fuzz: seed " << seed << ", " << wanted << " events" << std::endl;
    platform::resetQuit();

    EventStream stream(seed, wanted);
    const std::string broken = stream.run();
    ASSERT_TRUE(broken.empty()) << broken << " ZINDRA_FUZZ_SEED=" << seed;
}
