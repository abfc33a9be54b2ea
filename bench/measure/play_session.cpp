#include "play_session.h"

namespace measure {

bool PlaySession::start(const std::string& program, const std::string& log,
    const std::vector<std::string>& environment, int keepFd)
{
    x_.watchNewWindows();
    startedAt_ = nowMs();
    if (!game_.start({ program }, environment, log, keepFd)) {
        return false;
    }
    const double deadline = startedAt_ + kStartTimeoutMs;
    while (!(x_.mappedAt() && x_.firstDrawnAt())) {
        if (nowMs() > deadline || !game_.running()) {
            return false;
        }
        x_.pump(50);
    }
    return true;
}

void PlaySession::idle(double ms)
{
    x_.pointerAway();
    x_.pump(ms);
}

void PlaySession::newGame()
{
    x_.clickNeu();
    x_.pump(50);
    steer(middle_);
}

void PlaySession::steer(int middle)
{
    middle_ = middle;
    movedAt_ = nowMs();
    x_.steer(middle);
}

std::optional<BallSighting> PlaySession::lookForBall()
{
    // Near where it was first: a small read. The whole board only when it is
    // not there, and not at all while no ball has been seen (then a waiting
    // game is checked at the next look anyway).
    std::optional<BallSighting> ball;
    if (auto image = x_.readBoard(lastBall_)) {
        ball = findBall(*image);
    }
    if (!ball && lastBall_) {
        if (auto image = x_.readBoard()) {
            ball = findBall(*image);
        }
    }
    return ball;
}

void PlaySession::lookAndAct()
{
    lastBall_ = lookForBall();
    const Decision decision = player_.look(lastBall_, nowMs());
    if (decision.paddleMiddle && *decision.paddleMiddle != middle_ && nowMs() - movedAt_ >= kMotionGapMs) {
        steer(*decision.paddleMiddle);
    }
    switch (decision.click) {
    case Click::Launch:
        // A small move first: the resting ball then sits on the paddle.
        steer(middle_ + (middle_ < Player::kMiddleMax ? 1 : -1));
        x_.click();
        break;
    case Click::NewGame:
        newGame();
        break;
    case Click::None:
        break;
    }
}

} // namespace measure
