// What must hold of the game after any event, whatever came before: the rules
// of the game turned into checks on the window's state and pictures. The
// oracle is told of each event as it is delivered and answers with the first
// rule it finds broken (empty when all hold).
//
// Beside the game's own state it keeps what the rules let it know on its own:
// the indicators a player should see, how many sets the current game has
// cleared, and whether the board picture carries the obstacle.
#pragma once

#include "fuzz/opened_game.h"
#include "game/fenster1.h"

#include <QEvent>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <string>

class QWidget;

namespace fuzz {

// One event as the game received it.
struct Delivered {
    enum class Kind { Pointer, Key, Ticks, WindowPaint, Refresh, WindowMove, Close, ProcessEvents };
    Kind kind = Kind::Ticks;
    QEvent::Type qtType = QEvent::None; // Pointer: enter, leave, move, press, release
    const QWidget* to = nullptr; // Pointer: the widget it went to
    std::string target; // Pointer: the name of its control, for the log
    QPoint local; // Pointer: position in that widget
    bool left = true; // Pointer: the left button (press and release)
    QString text; // Key: the text of the key
    std::int64_t ticks = 0; // Ticks: how many the timer delivered

    [[nodiscard]] std::string describe() const;
};

class GameOracle {
public:
    GameOracle(Fenster1& f, const SilentNotes& notes);

    // Call after each event: updates what the oracle knows and checks every
    // rule. Returns the first broken rule, or empty.
    [[nodiscard]] std::string check(const Delivered& event);

    // What the run reached, for its report.
    struct Coverage {
        std::array<std::int64_t, 4> newGamesFrom {}; // by the phase neu found
        std::int64_t launches = 0;
        std::int64_t ballsLost = 0;
        std::int64_t gamesOver = 0;
        std::int64_t setsCleared = 0;
        std::int64_t pointsStruck = 0;
        std::int64_t quits = 0;
        std::int32_t bestScore = 0;
        std::int32_t highestLevel = 0;
    };
    [[nodiscard]] const Coverage& coverage() const { return coverage_; }

private:
    // The game's state as it matters to the rules.
    struct State {
        Fenster1::Int32 start = 0, ballzahl = 0, level = 0, z = 0, qq = 0;
        Fenster1::Int32 w = 0, s = 0, ballx = 0, bally = 0, mausx = 0;
        bool timerOn = false;
        std::array<Fenster1::Row, 5> rows {};
        bool operator==(const State&) const = default;
    };
    [[nodiscard]] State read() const;

    // Each returns the first broken rule, or empty.
    [[nodiscard]] std::string expectPointer(const Delivered& event, const State& now);
    [[nodiscard]] std::string expectKey(const Delivered& event, const State& now) const;
    [[nodiscard]] std::string expectTicks(const Delivered& event, const State& now);
    [[nodiscard]] std::string expectAlways(const State& now) const;
    [[nodiscard]] std::string expectRows(const State& now) const;
    [[nodiscard]] std::string expectScore(const State& now) const;
    [[nodiscard]] std::string expectIndicators(const State& now) const;
    [[nodiscard]] std::string expectBoardPicture(const State& now) const;
    [[nodiscard]] std::string expectQuit(bool asked);
    void newGame(const State& now);

    Fenster1& f_;
    const SilentNotes& notes_;
    const QWidget* feld_;
    const QWidget* neu_;
    const QWidget* knopf1_;
    int failuresAtStart_;
    State before_;
    bool laid_ = false; // a set of stones lies (the first new game came)
    Fenster1::Int32 levelOffset_ = 0; // level less the sets cleared since the last new game
    std::array<bool, 4> shown_ { true, true, true, true }; // the indicators a player sees
    bool obstacleDrawn_ = false; // the board picture carries the obstacle
    Coverage coverage_;
};

} // namespace fuzz
