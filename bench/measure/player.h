// A player who keeps the paddle under the ball: from what it sees of the ball
// it decides where the pointer goes and when to click. It keeps no clock of
// its own; every look comes with the time it was taken.
//
// The paddle's middle follows the pointer, so the pointer goes where the ball
// should land on the paddle: a little to one side of its middle, chosen
// afresh for every fall, so that the ball leaves at an angle and the game
// goes on (a ball landing dead in the middle would bounce straight up and
// down for ever).
#pragma once

#include "ball_finder.h"

#include <cstdint>
#include <optional>

namespace measure {

enum class Click {
    None,
    Launch, // on the board: the ball waits on the paddle
    NewGame, // on NEU: the game is over, or no ball is to be seen
};

struct Decision {
    // Where the paddle's middle should go, in board x; nothing: leave the pointer.
    std::optional<int> paddleMiddle;
    Click click = Click::None;
};

class Player {
public:
    // The pointer keeps the paddle's middle inside the board: 50..550.
    static constexpr int kMiddleMin = 50;
    static constexpr int kMiddleMax = 550;
    // A ball that has not moved for this long waits for a click.
    static constexpr double kRestingMs = 150;
    // A ball unseen for this long, or still resting after this many clicks, is
    // no longer in a game.
    static constexpr double kGoneMs = 400;
    static constexpr int kLaunchesBeforeNewGame = 2;
    // No two clicks closer together than this, no two new games closer than that.
    static constexpr double kClickGapMs = 250;
    static constexpr double kNewGameGapMs = 1000;

    explicit Player(std::uint32_t seed = 2008U)
        : seed_(seed)
    {
    }

    // One look at the board at time nowMs.
    [[nodiscard]] Decision look(std::optional<BallSighting> ball, double nowMs);

    // The landing spot's distance from the paddle's middle for the current fall.
    [[nodiscard]] int aim() const { return aim_; }
    [[nodiscard]] int launches() const { return launchesTotal_; }
    [[nodiscard]] int newGames() const { return newGames_; }

private:
    [[nodiscard]] Decision clickIfDue(Click click, double nowMs);
    void chooseAim();

    std::uint32_t seed_ = 0;
    int aim_ = 20;
    std::optional<BallSighting> last_;
    double lastMovedMs_ = 0;
    double lastSeenMs_ = 0;
    double lastClickMs_ = -1e9;
    double lastNewGameMs_ = -1e9;
    bool falling_ = false;
    int launchesSinceMove_ = 0;
    int launchesTotal_ = 0;
    int newGames_ = 0;
};

} // namespace measure
