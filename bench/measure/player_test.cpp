// The player's decisions from a series of looks at the ball.
#include "player.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using measure::BallSighting;
using measure::Click;
using measure::Player;

TEST(PlayerSteering, PutsThePaddleWhereTheBallShouldLandAsItMoves)
{
    Player player;
    double t = 0;
    for (int y = 300; y < 600; y += 20, t += 4) {
        const auto decision = player.look(BallSighting { 300, y }, t);
        ASSERT_TRUE(decision.paddleMiddle.has_value());
        EXPECT_EQ(*decision.paddleMiddle, 300 + player.aim());
        EXPECT_EQ(decision.click, Click::None);
    }
}

TEST(PlayerSteering, KeepsThePaddleOnTheBoard)
{
    Player player;
    EXPECT_EQ(player.look(BallSighting { 2, 400 }, 0).paddleMiddle, Player::kMiddleMin);
    EXPECT_EQ(player.look(BallSighting { 598, 420 }, 4).paddleMiddle, Player::kMiddleMax);
}

TEST(PlayerClicks, LaunchesABallThatRestsThenStartsANewGameIfItStaysPut)
{
    Player player;
    const BallSighting resting { 250, 640 };
    EXPECT_EQ(player.look(resting, 0).click, Click::None);
    EXPECT_EQ(player.look(resting, Player::kRestingMs - 1).click, Click::None);
    EXPECT_EQ(player.look(resting, Player::kRestingMs).click, Click::Launch);
    // The clicks keep their distance.
    EXPECT_EQ(player.look(resting, Player::kRestingMs + Player::kClickGapMs - 1).click, Click::None);
    EXPECT_EQ(player.look(resting, Player::kRestingMs + Player::kClickGapMs).click, Click::Launch);
    // Two clicks did not move it: the game is over.
    const double later = Player::kRestingMs + 2 * Player::kClickGapMs;
    EXPECT_EQ(player.look(resting, later).click, Click::NewGame);
    EXPECT_EQ(player.launches(), 2);
    EXPECT_EQ(player.newGames(), 1);
}

TEST(PlayerClicks, StartsANewGameWhenNoBallIsSeenForAWhileButNotAgainAtOnce)
{
    Player player;
    (void)player.look(BallSighting { 300, 300 }, 0);
    EXPECT_EQ(player.look(std::nullopt, Player::kGoneMs - 1).click, Click::None);
    EXPECT_EQ(player.look(std::nullopt, Player::kGoneMs).click, Click::NewGame);
    EXPECT_EQ(player.look(std::nullopt, Player::kGoneMs + Player::kNewGameGapMs - 1).click, Click::None);
    EXPECT_EQ(player.look(std::nullopt, Player::kGoneMs + Player::kNewGameGapMs).click, Click::NewGame);
}

} // namespace
