// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "robot_player.h"

#include "game/board.h"

#include <QRect>

#include <algorithm>
#include <cstdlib>

namespace support {

namespace {

// The ball's lit face: every channel at least this bright, and the channels
// this close together. The board is far darker, the stones and the paddle far
// more colourful; the ball's dark rim does not count.
constexpr int kMinChannel = 110;
constexpr int kMaxSpread = 30;
// Every second pixel of every second row is looked at: a 30 x 30 ball still
// shows about a hundred of them, and a search costs a quarter.
constexpr int kStep = 2;
// Fewer hits than this are a sliver at the picture's edge, not a ball to follow.
constexpr int kMinHits = 12;
// A patch wider or taller than the ball is something else.
constexpr int kMaxExtent = 32;

// The landing spot lies 14..34 pixels to one side of the paddle's middle: the
// ball then leaves with a sideways step of 1 or 2 pixels per tick, and even a
// look a few ticks late still finds the paddle (50 pixels each side) under it.
constexpr int kAimMin = 14;
constexpr int kAimSpan = 21;
// Less than this between two looks is the same place: the ball rests.
constexpr int kStill = 1;
// A ball that has not moved for this long waits for a click.
constexpr double kRestingMs = 150;
// A ball unseen for this long, or still resting after this many clicks, is
// no longer in a game.
constexpr double kGoneMs = 400;
constexpr int kLaunchesBeforeNewGame = 2;
// No two clicks closer together than this, no two new games closer than that.
constexpr double kClickGapMs = 250;
constexpr double kNewGameGapMs = 1000;

[[nodiscard]] bool looksLikeBall(QRgb rgb)
{
    const int r = qRed(rgb);
    const int g = qGreen(rgb);
    const int b = qBlue(rgb);
    return std::min({ r, g, b }) >= kMinChannel && std::max({ r, g, b }) - std::min({ r, g, b }) <= kMaxSpread;
}

[[nodiscard]] bool onObstacle(int x, int y)
{
    return x >= board::kObstacleX && x < board::kObstacleX + board::kObstacleSpan && y >= board::kObstacleTop
        && y < board::kObstacleBottom;
}

} // namespace

std::optional<QPoint> findBall(const QImage& image)
{
    int hits = 0;
    QRect patch; // around the hits, in the picture
    for (int y = 0; y < image.height(); y += kStep) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += kStep) {
            if (!onObstacle(image.offset().x() + x, image.offset().y() + y) && looksLikeBall(row[x])) {
                ++hits;
                patch |= QRect(x, y, 1, 1);
            }
        }
    }
    if (hits < kMinHits || patch.width() > kMaxExtent + 1 || patch.height() > kMaxExtent + 1) {
        return std::nullopt;
    }
    return image.offset() + patch.center();
}

void Player::chooseAim()
{
    seed_ = seed_ * 1664525U + 1013904223U; // a plain LCG: repeatable games
    const int magnitude = kAimMin + static_cast<int>((seed_ >> 16) % kAimSpan);
    aim_ = (seed_ & 0x8000U) != 0 ? magnitude : -magnitude;
}

Decision Player::clickIfDue(Click click, double nowMs)
{
    if (nowMs - lastClickMs_ < kClickGapMs
        || (click == Click::NewGame && nowMs - lastNewGameMs_ < kNewGameGapMs)) {
        return {};
    }
    lastClickMs_ = nowMs;
    if (click == Click::NewGame) {
        lastNewGameMs_ = nowMs;
        ++newGames_;
        launchesSinceMove_ = 0;
        lastSeenMs_ = nowMs; // the new game's ball shows once the pointer is back
    } else {
        ++launchesSinceMove_;
        ++launchesTotal_;
    }
    return { std::nullopt, click };
}

Decision Player::look(std::optional<QPoint> ball, double nowMs)
{
    if (!ball) {
        return nowMs - lastSeenMs_ >= kGoneMs ? clickIfDue(Click::NewGame, nowMs) : Decision {};
    }
    lastSeenMs_ = nowMs;

    const bool moved
        = !last_ || std::abs(ball->x() - last_->x()) > kStill || std::abs(ball->y() - last_->y()) > kStill;
    if (moved) {
        if (last_) {
            const bool fallingNow = ball->y() > last_->y();
            if (fallingNow && !falling_) {
                chooseAim();
            }
            falling_ = fallingNow;
        }
        last_ = ball;
        lastMovedMs_ = nowMs;
        launchesSinceMove_ = 0;
        const int middle = std::clamp(ball->x() + aim_, kMiddleMin, kMiddleMax);
        return { middle, Click::None };
    }

    if (nowMs - lastMovedMs_ < kRestingMs) {
        return {};
    }
    return clickIfDue(launchesSinceMove_ >= kLaunchesBeforeNewGame ? Click::NewGame : Click::Launch, nowMs);
}

} // namespace support
