#include "fuzz/game_oracle.h"

#include "game/board.h"
#include "platform/canvas.h"
#include "platform/cursor.h"
#include "platform/globals.h"
#include "platform/picture.h"
#include "platform/timer.h"
#include "platform/widgets.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

#include <algorithm>
#include <sstream>

namespace fuzz {

namespace {

using Int32 = Fenster1::Int32;

constexpr Int32 kMaxStep = 5; // the fastest a ball rises, pixels per tick
constexpr Int32 kMaxSideStep = 4; // the paddle's steepest sideways step
constexpr Int32 kWindowTop = 20; // where a paint puts the window
constexpr std::uint32_t kWhite = 0xFFFFFF;

[[nodiscard]] Int32 stoneX(int row, int i)
{
    return board::kRowFirstX[static_cast<std::size_t>(row)] + board::kStonePitch * i;
}

[[nodiscard]] Int32 clampPaddle(std::int64_t x)
{
    return static_cast<Int32>(std::clamp<std::int64_t>(x, board::kMausMin, board::kMausMax));
}

[[nodiscard]] int pointsGone(const std::array<Fenster1::Row, 5>& rows)
{
    int points = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t i = 0; i < board::kStonesPerRow; ++i) {
            points += rows[r][i] == 0 ? board::kRowPoints[r] : 0;
        }
    }
    return points;
}

[[nodiscard]] bool allStanding(const std::array<Fenster1::Row, 5>& rows)
{
    return pointsGone(rows) == 0;
}

// Builds a message from its parts.
template <class... Parts> [[nodiscard]] std::string say(const Parts&... parts)
{
    std::ostringstream text;
    (text << ... << parts);
    return text.str();
}

[[nodiscard]] const char* typeName(QEvent::Type type)
{
    switch (type) {
    case QEvent::Enter:
        return "enter";
    case QEvent::Leave:
        return "leave";
    case QEvent::MouseMove:
        return "move";
    case QEvent::MouseButtonPress:
        return "press";
    case QEvent::MouseButtonRelease:
        return "release";
    default:
        return "other";
    }
}

} // namespace

std::string Delivered::describe() const
{
    switch (kind) {
    case Kind::Pointer:
        return say(typeName(qtType), left ? "" : " (right)", " on ", target.empty() ? "the window" : target,
            " at ", local.x(), ",", local.y());
    case Kind::Key:
        return say("key '", text.toStdString(), "'");
    case Kind::Ticks:
        return say(ticks, " ticks");
    case Kind::WindowPaint:
        return "window paint";
    case Kind::Refresh:
        return "control refresh";
    case Kind::WindowMove:
        return "window moved";
    case Kind::Close:
        return "window close";
    case Kind::ProcessEvents:
        return "posted events";
    }
    return "?";
}

GameOracle::GameOracle(Fenster1& f, const SilentNotes& notes)
    : f_(f)
    , notes_(notes)
    , feld_(&f.control<platform::Canvas>("feld").widget())
    , neu_(&f.control<Knopf>("neu").widget())
    , knopf1_(&f.control<Knopf>("Knopf1").widget())
    , failuresAtStart_(platform::reportedFailures())
    , before_(read())
{
}

GameOracle::State GameOracle::read() const
{
    State now;
    now.start = f_.start;
    now.ballzahl = f_.ballzahl;
    now.level = f_.level;
    now.z = f_.z;
    now.qq = f_.qq;
    now.w = f_.w;
    now.s = f_.s;
    now.ballx = f_.ballx;
    now.bally = f_.bally;
    now.mausx = f_.mausx;
    now.timerOn = f_.control<platform::Timer>("Timer1").enabled();
    now.rows = { f_.rt, f_.gn, f_.bl, f_.ge, f_.li };
    return now;
}

std::string GameOracle::check(const Delivered& event)
{
    const State now = read();
    std::string broken;
    switch (event.kind) {
    case Delivered::Kind::Pointer:
        broken = expectPointer(event, now);
        break;
    case Delivered::Kind::Key:
        broken = expectKey(event, now);
        break;
    case Delivered::Kind::Ticks:
        broken = expectTicks(event, now);
        break;
    case Delivered::Kind::WindowPaint:
        if (f_.Top() != kWindowTop) {
            broken = say("a paint left the window's top at ", f_.Top());
        }
        [[fallthrough]];
    case Delivered::Kind::Refresh:
    case Delivered::Kind::WindowMove:
    case Delivered::Kind::ProcessEvents:
        if (broken.empty() && !(now == before_)) {
            broken = "the game's state changed without a game event";
        }
        break;
    case Delivered::Kind::Close:
        broken = expectQuit(true);
        break;
    }
    if (broken.empty() && event.kind != Delivered::Kind::Close) {
        broken = expectQuit(false);
    }
    if (broken.empty()) {
        broken = expectAlways(now);
    }
    coverage_.bestScore = std::max(coverage_.bestScore, now.z);
    coverage_.highestLevel = std::max(coverage_.highestLevel, now.level);
    before_ = now;
    return broken;
}

std::string GameOracle::expectQuit(bool asked)
{
    if (platform::quitRequested() != asked) {
        return asked ? "quitting was asked for and did not happen" : "the game quit unasked";
    }
    if (asked) {
        ++coverage_.quits;
        platform::resetQuit();
    }
    return {};
}

void GameOracle::newGame(const State& now)
{
    ++coverage_.newGamesFrom[static_cast<std::size_t>(std::clamp(before_.start, 0, 3))];
    laid_ = true;
    levelOffset_ = now.level;
    shown_[0] = false;
    obstacleDrawn_ = now.level > 0;
}

std::string GameOracle::expectPointer(const Delivered& event, const State& now)
{
    const bool leftRelease = event.qtType == QEvent::MouseButtonRelease && event.left;
    if (event.to == neu_ && leftRelease) {
        newGame(now);
        if (now.start != 1 || now.ballzahl != 0 || now.w != 0 || now.s != board::kStepNewGame || now.z != 0
            || now.timerOn || !allStanding(now.rows) || now.level != before_.level) {
            return "neu did not start a new game with a full set, the ball waiting";
        }
        return {};
    }
    if (event.to == knopf1_ && leftRelease) {
        return expectQuit(true);
    }
    if (event.to != feld_) {
        return now == before_ ? std::string() : "a pointer event off the board changed the game";
    }

    State unchanged = now;
    switch (event.qtType) {
    case QEvent::Enter:
        if (f_.mouseCursor() != resources::leerCursor().get()) {
            return "the pointer shows over the board";
        }
        break;
    case QEvent::Leave:
        if (f_.mouseCursor() == nullptr || !f_.mouseCursor()->isArrow()) {
            return "leaving the board did not bring the arrow back";
        }
        if (before_.start == 3) {
            shown_ = { true, true, true, true };
        }
        break;
    case QEvent::MouseMove:
        if (before_.start == 1) {
            if (now.mausx != clampPaddle(event.local.x() - board::kMausHalf)
                || now.ballx != now.mausx + board::kBallOnPaddle || now.bally != board::kBallResting) {
                return say("the waiting ball is not on the paddle under the pointer (mausx ", now.mausx,
                    ", ball ", now.ballx, ",", now.bally, ")");
            }
            unchanged.mausx = before_.mausx;
            unchanged.ballx = before_.ballx;
            unchanged.bally = before_.bally;
        }
        break;
    case QEvent::MouseButtonPress:
        if (before_.start == 1 && event.left) {
            ++coverage_.launches;
            if (now.start != 2 || !now.timerOn || now.bally != board::kBallLaunched
                || now.ballx != now.mausx + board::kBallOnPaddle) {
                return "a click did not launch the waiting ball";
            }
            unchanged.start = before_.start;
            unchanged.timerOn = before_.timerOn;
            unchanged.ballx = before_.ballx;
            unchanged.bally = before_.bally;
        }
        break;
    default:
        break;
    }
    return unchanged == before_ ? std::string()
                                : say("the board's ", typeName(event.qtType), " changed the game");
}

std::string GameOracle::expectKey(const Delivered& event, const State& now) const
{
    State unchanged = now;
    if (event.text == QStringLiteral(" ")) {
        if (now.qq != 1 - before_.qq || now.timerOn != (now.qq == 1)) {
            return "the space bar did not toggle the timer";
        }
        unchanged.qq = before_.qq;
        unchanged.timerOn = before_.timerOn;
    }
    return unchanged == before_ ? std::string() : "a key changed more than the space bar's toggle";
}

std::string GameOracle::expectTicks(const Delivered& event, const State& now)
{
    if (event.ticks == 0) {
        return now == before_ ? std::string() : "the game changed without a tick";
    }
    if (!before_.timerOn) {
        return "ticks came from a stopped timer";
    }
    if (now.z < before_.z) {
        return "the score fell during play";
    }
    const Int32 pointer = platform::MouseX() - f_.Left() - board::kPointerToMaus;
    if (now.mausx != clampPaddle(pointer)) {
        return say("the paddle is at ", now.mausx, ", not under the pointer (", clampPaddle(pointer), ")");
    }

    const int struck = now.level == before_.level + 1
        ? board::kPointsPerSet - pointsGone(before_.rows) + pointsGone(now.rows)
        : pointsGone(now.rows) - pointsGone(before_.rows);
    coverage_.pointsStruck += std::max(struck, 0);

    // Lost balls: each hides the indicator of the next ball while one is left.
    if (now.ballzahl < before_.ballzahl) {
        return "the count of lost balls fell during play";
    }
    coverage_.ballsLost += now.ballzahl - before_.ballzahl;
    for (Int32 b = before_.ballzahl + 1; b <= now.ballzahl && b < board::kBalls; ++b) {
        shown_[static_cast<std::size_t>(b)] = false;
    }
    if (before_.ballzahl < now.ballzahl && now.ballzahl < board::kBalls
        && (now.start != 1 || now.timerOn || now.w != 0 || now.s != board::kStepAfterLoss)) {
        return "a lost ball with balls left did not wait on the paddle with w 0 and s -4";
    }
    if (before_.ballzahl < board::kBalls && now.ballzahl >= board::kBalls) {
        ++coverage_.gamesOver;
        if (now.start != 3 || now.timerOn || now.level != 0) {
            return "the fourth lost ball did not end the game";
        }
    }

    // Levels: up by one with a fresh set, or back to 0 when the game ends.
    if (now.level == before_.level + 1) {
        ++coverage_.setsCleared;
        obstacleDrawn_ = true;
        if (now.ballzahl >= 0 && now.ballzahl < board::kBalls) {
            shown_[static_cast<std::size_t>(now.ballzahl)] = false;
        }
        if (!allStanding(now.rows) || now.start != 1 || now.timerOn || now.w != 0) {
            return "a cleared set did not lay a new one with the ball waiting";
        }
    } else if (now.level < before_.level) {
        if (now.level != 0 || now.start != 3) {
            return say("the level fell from ", before_.level, " to ", now.level, " without the game ending");
        }
        levelOffset_ -= before_.level;
    } else if (now.level != before_.level) {
        return say("the level jumped from ", before_.level, " to ", now.level);
    }
    return {};
}

std::string GameOracle::expectAlways(const State& now) const
{
    if (platform::reportedFailures() != failuresAtStart_) {
        return "a failure escaped a handler";
    }
    if (now.start < 0 || now.start > 3) {
        return say("the phase is ", now.start);
    }
    if (now.mausx < board::kMausMin || now.mausx > board::kMausMax || f_.mausy != 655) {
        return say("the paddle stands at ", now.mausx, ",", f_.mausy);
    }
    // A ball in play stays on the board: a side test may be followed by the
    // paddle's new step, so a tick can end up to one step past a side.
    if (now.start == 2 && now.ballzahl < board::kBalls
        && (now.ballx < board::kLeftEdge - kMaxSideStep || now.ballx > board::kRightEdge + kMaxSideStep
            || now.bally < board::kTopEdge - kMaxStep || now.bally > board::kLossLine)) {
        return say("the ball in play is off the board at ", now.ballx, ",", now.bally);
    }
    if (now.timerOn && now.start != 2 && now.qq != 1) {
        return "the timer runs though no click and no space bar started it";
    }
    if (std::string broken = expectRows(now); !broken.empty()) {
        return broken;
    }
    if (std::string broken = expectScore(now); !broken.empty()) {
        return broken;
    }
    if (std::string broken = expectIndicators(now); !broken.empty()) {
        return broken;
    }
    if (notes_.strange) {
        return "a note or an instrument the game never plays";
    }
    return expectBoardPicture(now);
}

std::string GameOracle::expectRows(const State& now) const
{
    for (int r = 0; r < 5; ++r) {
        const auto& row = now.rows[static_cast<std::size_t>(r)];
        for (int i = 0; i < board::kStonesPerRow; ++i) {
            const Int32 x = row[static_cast<std::size_t>(i)];
            if (x != 0 && x != stoneX(r, i)) {
                return say("stone ", i, " of row ", r, " stands at ", x);
            }
        }
        if (row[5] != 0) {
            return say("the unused element of row ", r, " is ", row[5]);
        }
    }
    if (!laid_ && pointsGone(now.rows) != board::kPointsPerSet) {
        return "stones stand before the first new game";
    }
    return {};
}

std::string GameOracle::expectScore(const State& now) const
{
    const Int32 expected
        = laid_ ? board::kPointsPerSet * (now.level - levelOffset_) + pointsGone(now.rows) : 0;
    if (now.z != expected) {
        return say("the score is ", now.z, " but the stones struck are worth ", expected);
    }
    const Int32 shown = now.z > board::kMaxShownScore ? 0 : now.z;
    const std::array<Int32, 4> digits = { shown / 1000, shown / 100, shown / 10, shown };
    for (Int32 k = 0; k < 4; ++k) {
        const std::string want = std::to_string(digits[static_cast<std::size_t>(k)] % 10);
        if (f_.control<Knopf>("zahl", k).Text != want) {
            return say("digit ", k, " shows '", f_.control<Knopf>("zahl", k).Text, "' for the score ", now.z);
        }
    }
    return {};
}

std::string GameOracle::expectIndicators(const State& now) const
{
    for (Int32 i = 0; i < board::kBalls; ++i) {
        const bool visible = f_.control<platform::Canvas>("noch", i).visible();
        if (visible != shown_[static_cast<std::size_t>(i)]) {
            return say("indicator ", i, visible ? " shows" : " is hidden", " with ", now.ballzahl,
                " balls lost in phase ", now.start);
        }
        // In a game started with neu, the balls used so far are never shown.
        if (laid_ && (now.start == 1 || now.start == 2) && now.ballzahl < board::kBalls && i <= now.ballzahl
            && visible) {
            return say("indicator ", i, " of a ball already played shows");
        }
    }
    return {};
}

std::string GameOracle::expectBoardPicture(const State& now) const
{
    const platform::Picture& p = *f_.p;
    const platform::Picture& clean = *f_.p1;
    const auto& feld = f_.control<platform::Canvas>("feld");
    const std::array<const platform::Picture*, 5> stones
        = { f_.rt1.get(), f_.gn1.get(), f_.bl1.get(), f_.ge1.get(), f_.li1.get() };
    for (int r = 0; r < 5; ++r) {
        for (int i = 0; i < board::kStonesPerRow; ++i) {
            const Int32 x = stoneX(r, i) + board::kStoneWidth / 2;
            const Int32 y = board::kRowY[static_cast<std::size_t>(r)] + board::kStoneHeight / 2;
            const bool standing = now.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)] != 0;
            const platform::Color want = standing
                ? stones[static_cast<std::size_t>(r)]->pixel(board::kStoneWidth / 2, board::kStoneHeight / 2)
                : clean.pixel(x, y);
            if (p.pixel(x, y) != want) {
                return say(
                    "the board picture ", standing ? "lacks" : "still shows", " stone ", i, " of row ", r);
            }
            const bool underBall = x >= now.ballx && x < now.ballx + board::kBallSize && y >= now.bally
                && y < now.bally + board::kBallSize;
            if (!underBall && feld.pixel(x, y) != want) {
                return say(
                    "the board on screen ", standing ? "lacks" : "still shows", " stone ", i, " of row ", r);
            }
        }
    }
    const auto& obstacle = *resources::hinternis();
    const Int32 ox = obstacle.width() / 2;
    const Int32 oy = obstacle.height() / 2;
    const platform::Color obstacleWant = obstacleDrawn_ && obstacle.pixel(ox, oy) != kWhite
        ? obstacle.pixel(ox, oy)
        : clean.pixel(board::kObstacleX + ox, board::kObstacleY + oy);
    if (p.pixel(board::kObstacleX + ox, board::kObstacleY + oy) != obstacleWant) {
        return obstacleDrawn_ ? "the board picture lacks the obstacle"
                              : "the board picture shows an obstacle";
    }
    return {};
}

} // namespace fuzz
