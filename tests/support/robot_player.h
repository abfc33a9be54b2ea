// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A player who keeps the paddle under the ball, from what it sees of the board
// on screen: the ball is the one light grey thing on the dark-brown board (the
// stones are coloured, the paddle copper; only the obstacle is grey too, so
// its place is left out of the search). It keeps no clock of its own: every
// look comes with the time it was taken.
//
// The paddle's middle follows the pointer, so the pointer goes where the ball
// should land on the paddle: a little to one side of its middle, chosen
// afresh for every fall, so that the ball leaves at an angle and the game
// goes on (a ball landing dead in the middle would bounce straight up and
// down for ever).
#pragma once

#include <QImage>

#include <cstdint>
#include <optional>

namespace support {

// Looking near the ball: a square this big holds it even after a few ticks.
inline constexpr int kNearSize = 160;

// The ball's centre in board coordinates, or nothing when no ball-sized light
// grey patch is in the picture (the ball is hidden, or only a sliver of it is
// inside). The picture is part of the board as it is on screen; its offset()
// is where it lies on the board.
[[nodiscard]] std::optional<QPoint> findBall(const QImage& view);

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
    // The pointer keeps the paddle's middle inside the board.
    static constexpr int kMiddleMin = 50;
    static constexpr int kMiddleMax = 550;

    // One look at the board at time nowMs.
    [[nodiscard]] Decision look(std::optional<QPoint> ball, double nowMs);

    [[nodiscard]] int launches() const { return launchesTotal_; }
    [[nodiscard]] int newGames() const { return newGames_; }

private:
    [[nodiscard]] Decision clickIfDue(Click click, double nowMs);
    void chooseAim();

    std::uint32_t seed_ = 2008U;
    int aim_ = 20; // the landing spot's distance from the paddle's middle
    std::optional<QPoint> last_;
    double lastMovedMs_ = 0;
    double lastSeenMs_ = 0;
    double lastClickMs_ = -1e9;
    double lastNewGameMs_ = -1e9;
    bool falling_ = false;
    int launchesSinceMove_ = 0;
    int launchesTotal_ = 0;
    int newGames_ = 0;
};

} // namespace support
