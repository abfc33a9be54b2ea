// What a player must always find true of the game, whatever events came
// before: the ball and the paddle on the board, the score worth the stones
// gone, the digits showing it, the indicators of the balls left and the board
// showing the stones that stand. The oracle is told of each event and answers
// with the first rule it finds broken (empty when all hold).
#pragma once

#include "fuzz/opened_game.h"
#include "game/fenster1.h"

#include <array>
#include <cstdint>
#include <string>

namespace fuzz {

// An event as far as the rules care about it.
struct Delivered {
    std::string what; // for the report
    bool changesGame = false; // false: a paint, a refresh, a move: the game must stay as it was
    bool newGame = false; // the left button released on neu
    bool quits = false; // a close, or the left button released on the quit button
    bool enteredBoard = false; // the pointer came onto the board
    bool leftBoard = false; // the pointer left the board
    bool windowPaint = false;
    std::int64_t ticks = 0;
};

class GameOracle {
public:
    GameOracle(Fenster1& f, const SilentNotes& notes);

    [[nodiscard]] std::string check(const Delivered& event);

    // What the run reached, for its report.
    struct Coverage {
        std::int64_t newGames = 0, setsCleared = 0, gamesOver = 0, quits = 0;
        std::int32_t bestScore = 0, highestLevel = 0;
    };
    [[nodiscard]] const Coverage& coverage() const { return coverage_; }

private:
    struct State {
        Fenster1::Int32 start = 0, ballzahl = 0, level = 0, z = 0, qq = 0;
        Fenster1::Int32 w = 0, s = 0, ballx = 0, bally = 0, mausx = 0;
        bool timerOn = false;
        std::array<Fenster1::Row, 5> rows {};
        bool operator==(const State&) const = default;
    };
    [[nodiscard]] State read() const;
    void follow(const Delivered& event, const State& now);
    [[nodiscard]] std::string expectEvent(const Delivered& event, const State& now);
    [[nodiscard]] std::string expectAlways(const State& now) const;
    [[nodiscard]] std::string expectScore(const State& now) const;
    [[nodiscard]] std::string expectBoard(const State& now) const;

    Fenster1& f_;
    const SilentNotes& notes_;
    int failuresAtStart_;
    State before_;
    // What the rules let a player know beyond the game's state.
    bool laid_ = false; // a new game has laid the stones
    Fenster1::Int32 sets_ = 0; // sets cleared since the last new game
    std::array<bool, 4> shown_ { true, true, true, true }; // the indicators
    bool obstacleDrawn_ = false; // the board picture carries the obstacle
    Coverage coverage_;
};

} // namespace fuzz
