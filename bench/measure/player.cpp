#include "player.h"

#include <algorithm>
#include <cstdlib>

namespace measure {

namespace {

// The landing spot lies 14..34 pixels to one side of the paddle's middle: the
// ball then leaves with a sideways step of 1 or 2 pixels per tick, and even a
// look a few ticks late still finds the paddle (50 pixels each side) under it.
constexpr int kAimMin = 14;
constexpr int kAimSpan = 21;

// Less than this between two looks is the same place: the ball rests.
constexpr int kStill = 1;

} // namespace

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

Decision Player::look(std::optional<BallSighting> ball, double nowMs)
{
    if (!ball) {
        if (nowMs - lastSeenMs_ >= kGoneMs) {
            return clickIfDue(Click::NewGame, nowMs);
        }
        return {};
    }
    lastSeenMs_ = nowMs;

    const bool moved
        = !last_ || std::abs(ball->x - last_->x) > kStill || std::abs(ball->y - last_->y) > kStill;
    if (moved) {
        if (last_) {
            const bool fallingNow = ball->y > last_->y;
            if (fallingNow && !falling_) {
                chooseAim();
            }
            falling_ = fallingNow;
        }
        last_ = ball;
        lastMovedMs_ = nowMs;
        launchesSinceMove_ = 0;
        const int middle = std::clamp(ball->x + aim_, kMiddleMin, kMiddleMax);
        return { middle, Click::None };
    }

    if (nowMs - lastMovedMs_ < kRestingMs) {
        return {};
    }
    if (launchesSinceMove_ >= kLaunchesBeforeNewGame) {
        return clickIfDue(Click::NewGame, nowMs);
    }
    return clickIfDue(Click::Launch, nowMs);
}

} // namespace measure
