// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a player must always find true of the game, whatever events came
// before: the ball and the paddle on the board, the score worth the stones
// gone, the digits showing it, the indicators of the balls left and the board
// showing the stones that stand. The oracle is told of each event once it is
// handled and answers with the first rule it finds broken (empty when all hold).
#pragma once

#include "fuzz/opened_game.h"
#include "platform/cursor.h"
#include "platform/globals.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

#include <sstream>

namespace fuzz {

// An event as far as the rules care about it.
struct Delivered {
    std::string what; // for the report
    bool changesGame = false; // false: a paint, a refresh, a move: the game must stay as it was
    bool newGame = false; // the left button released on neu
    bool quits = false; // a close, or the left button released on the quit button
    bool enteredBoard = false;
    bool leftBoard = false;
    bool windowPaint = false;
    std::int64_t ticks = 0;
};

class GameOracle {
    using Int32 = Fenster1::Int32;
    static constexpr Int32 kMaxStep = 5; // the fastest a ball rises, pixels per tick
    static constexpr Int32 kMaxSideStep = 4; // the paddle's steepest sideways step

public:
    GameOracle(Fenster1& f, const SilentNotes& notes)
        : f_(f)
        , notes_(notes)
    {
    }

    [[nodiscard]] std::string check(const Delivered& event)
    {
        const State now = read();
        follow(event, now);
        std::string broken = expect(event, now);
        reached.bestScore = std::max(reached.bestScore, now.z);
        reached.highestLevel = std::max(reached.highestLevel, now.level);
        before_ = now;
        return broken;
    }

    // What the run reached, for its report.
    struct {
        std::int64_t newGames = 0, setsCleared = 0, gamesOver = 0, quits = 0;
        Int32 bestScore = 0, highestLevel = 0;
    } reached;

private:
    struct State {
        Int32 start, ballzahl, level, z, qq, w, s, ballx, bally, mausx;
        bool timerOn;
        std::array<Fenster1::Row, 5> rows;
        bool operator==(const State&) const = default;
    };

    [[nodiscard]] State read() const
    {
        return { f_.start, f_.ballzahl, f_.level, f_.z, f_.qq, f_.w, f_.s, f_.ballx, f_.bally, f_.mausx,
            f_.control<platform::Timer>("Timer1").enabled(), { f_.rt, f_.gn, f_.bl, f_.ge, f_.li } };
    }

    template <class... Parts> [[nodiscard]] static std::string say(const Parts&... parts)
    {
        std::ostringstream text;
        (text << ... << parts);
        return text.str();
    }

    [[nodiscard]] static Int32 pointsGone(const State& state)
    {
        Int32 points = 0;
        for (std::size_t r = 0; r < state.rows.size(); ++r) {
            points += board::kRowPoints[r]
                * static_cast<Int32>(
                    std::count(state.rows[r].begin(), state.rows[r].begin() + board::kStonesPerRow, 0));
        }
        return points;
    }

    // Keeps up what a player knows: which indicators were hidden, how many
    // sets this game cleared, whether the board was laid with the obstacle.
    void follow(const Delivered& event, const State& now)
    {
        if (event.newGame) {
            ++reached.newGames;
            laid_ = true;
            sets_ = 0;
            shown_[0] = false;
            obstacleDrawn_ = now.level > 0;
        }
        if (event.leftBoard && before_.start == 3) {
            shown_.fill(true);
        }
        if (event.ticks == 0) {
            return;
        }
        for (Int32 b = std::max(before_.ballzahl + 1, 0); b <= now.ballzahl && b < board::kBalls; ++b) {
            shown_[static_cast<std::size_t>(b)] = false;
        }
        reached.gamesOver += before_.ballzahl < board::kBalls && now.ballzahl >= board::kBalls;
        if (now.level == before_.level + 1) {
            ++reached.setsCleared;
            ++sets_;
            obstacleDrawn_ = true;
            if (now.ballzahl >= 0 && now.ballzahl < board::kBalls) {
                shown_[static_cast<std::size_t>(now.ballzahl)] = false;
            }
        }
    }

    [[nodiscard]] std::string expect(const Delivered& event, const State& now)
    {
        if (platform::quitRequested() != event.quits) {
            return event.quits ? "quitting was asked for and did not happen" : "the game quit unasked";
        }
        if (event.quits) {
            ++reached.quits;
            platform::resetQuit();
        }
        // The pointer hides over the board and shows again off it.
        if (event.enteredBoard && f_.mouseCursor() != resources::leerCursor().get()) {
            return "the pointer shows over the board";
        }
        if (event.leftBoard && (f_.mouseCursor() == nullptr || !f_.mouseCursor()->isArrow())) {
            return "leaving the board did not bring the arrow back";
        }
        if (!event.changesGame && !(now == before_)) {
            return "the game's state changed without a game event";
        }
        if (event.windowPaint && f_.Top() != 20) {
            return say("a paint left the window's top at ", f_.Top());
        }
        if (event.ticks > 0 && !before_.timerOn) {
            return "ticks came from a stopped timer";
        }
        const Int32 under = platform::MouseX() - f_.Left() - board::kPointerToMaus;
        if (event.ticks > 0 && now.mausx != std::clamp(under, board::kMausMin, board::kMausMax)) {
            return say("the paddle is at ", now.mausx, ", not under the pointer");
        }
        if (now.level != before_.level && now.level != before_.level + 1
            && (now.level != 0 || now.start != 3)) {
            return say("the level went from ", before_.level, " to ", now.level);
        }
        if (platform::reportedFailures() != failuresAtStart_) {
            return "a failure escaped a handler";
        }
        if (now.start < 0 || now.start > 3 || now.mausx < board::kMausMin || now.mausx > board::kMausMax
            || f_.mausy != f_.Height() - board::kMausAboveBottom) {
            return say("phase ", now.start, ", paddle at ", now.mausx, ",", f_.mausy);
        }
        // A ball in play stays on the board: a side test may be followed by
        // the paddle's new step, so a tick can end up to one step past a side.
        if (now.start == 2 && now.ballzahl < board::kBalls
            && (now.ballx < board::kLeftEdge - kMaxSideStep || now.ballx > board::kRightEdge + kMaxSideStep
                || now.bally < board::kTopEdge - kMaxStep || now.bally > board::kLossLine)) {
            return say("the ball in play is off the board at ", now.ballx, ",", now.bally);
        }
        if (now.timerOn && now.start != 2 && now.qq != 1) {
            return "the timer runs though no click and no space bar started it";
        }
        for (Int32 i = 0; i < board::kBalls; ++i) {
            const bool visible = f_.control<platform::Canvas>("noch", i).visible();
            if (visible != shown_[static_cast<std::size_t>(i)]
                || (visible && laid_ && now.start != 3 && i <= now.ballzahl)) {
                return say("indicator ", i, visible ? " shows" : " is hidden", " with ", now.ballzahl,
                    " balls lost in phase ", now.start);
            }
        }
        if (notes_.strange) {
            return "a note or an instrument the game never plays";
        }
        const Int32 worth = laid_ ? board::kPointsPerSet * sets_ + pointsGone(now) : 0;
        if (now.z != worth) {
            return say("the score is ", now.z, " but the stones struck are worth ", worth);
        }
        const Int32 shown = now.z > board::kMaxShownScore ? 0 : now.z;
        for (Int32 k = 0, unit = 1000; k < 4; ++k, unit /= 10) {
            if (const std::string& text = f_.control<Knopf>("zahl", k).Text;
                text != std::to_string(shown / unit % 10)) {
                return say("digit ", k, " shows '", text, "' for the score ", now.z);
            }
        }
        return expectBoard(now);
    }

    // Every stone stands at its place or is gone, on the board picture and on
    // the screen (except under the ball); the obstacle is there from the second set.
    [[nodiscard]] std::string expectBoard(const State& now) const
    {
        const std::array<const platform::Picture*, 5> stones
            = { f_.rt1.get(), f_.gn1.get(), f_.bl1.get(), f_.ge1.get(), f_.li1.get() };
        if (!laid_ && pointsGone(now) != board::kPointsPerSet) {
            return "stones stand before the first new game";
        }
        for (std::size_t r = 0; r < 5; ++r) {
            if (now.rows[r][5] != 0) {
                return say("the unused element of row ", r, " is ", now.rows[r][5]);
            }
            for (int i = 0; i < board::kStonesPerRow; ++i) {
                const Int32 at = now.rows[r][static_cast<std::size_t>(i)];
                const Int32 left = board::kRowFirstX[r] + board::kStonePitch * i;
                if (at != 0 && at != left) {
                    return say("stone ", i, " of row ", r, " stands at ", at);
                }
                const Int32 x = left + board::kStoneWidth / 2;
                const Int32 y = board::kRowY[r] + board::kStoneHeight / 2;
                const platform::Color want = at != 0
                    ? stones[r]->pixel(board::kStoneWidth / 2, board::kStoneHeight / 2)
                    : f_.p1->pixel(x, y);
                const bool underBall = x >= now.ballx && x < now.ballx + board::kBallSize && y >= now.bally
                    && y < now.bally + board::kBallSize;
                if (f_.p->pixel(x, y) != want
                    || (!underBall && f_.control<platform::Canvas>("feld").pixel(x, y) != want)) {
                    return say("the board ", at != 0 ? "lacks" : "still shows", " stone ", i, " of row ", r);
                }
            }
        }
        const auto& obstacle = *resources::hinternis();
        const Int32 ox = board::kObstacleX + obstacle.width() / 2;
        const Int32 oy = board::kObstacleY + obstacle.height() / 2;
        const platform::Color middle = obstacle.pixel(obstacle.width() / 2, obstacle.height() / 2);
        const platform::Color want = obstacleDrawn_ && middle != 0xFFFFFF ? middle : f_.p1->pixel(ox, oy);
        if (f_.p->pixel(ox, oy) != want) {
            return obstacleDrawn_ ? "the board lacks the obstacle" : "the board shows an obstacle";
        }
        return {};
    }

    Fenster1& f_;
    const SilentNotes& notes_;
    int failuresAtStart_ = platform::reportedFailures();
    State before_ = read();
    // What the rules let a player know beyond the game's state.
    bool laid_ = false; // a new game has laid the stones
    Int32 sets_ = 0; // sets cleared since the last new game
    std::array<bool, 4> shown_ { true, true, true, true }; // the indicators
    bool obstacleDrawn_ = false; // the board picture carries the obstacle
};

} // namespace fuzz
