// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The score counter: the digits, the score sound and the level end.
#include "game_fixture.h"
#include "resources/resources.h"

using ScoreTest = GameTest;

TEST_F(ScoreTest, ShowsFourDigitsSoundsAPositiveScoreAndEndsALevelOnWholeSets)
{
    const struct {
        std::int32_t score;
        const char* digits;
        bool sounds;
        bool ends;
    } cases[] = {
        { 0, "0000", false, false }, { 1, "0001", true, false }, { 58, "0058", true, false },
        { 254, "0254", true, false }, { 255, "0255", true, true }, { 256, "0256", true, false },
        { 510, "0510", true, true }, { 1234, "1234", true, false }, { 9944, "9944", true, false },
        { 9945, "9945", true, true }, { 9999, "9999", true, false }, { 10000, "0000", false, false },
        { 10200, "0000", false, false }, // 40 sets, but past what four digits show
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.score);
        launch();
        const auto level = f->level;
        f->Zahler(c.score);
        EXPECT_EQ(digits(), c.digits);
        EXPECT_EQ(notes->events,
            c.sounds ? sound(board::kScoreNote, board::kScoreInstrument) : std::vector<Note> {});
        EXPECT_EQ(f->level, level + (c.ends ? 1 : 0));
        EXPECT_EQ(timer().enabled(), !c.ends);
    }
}

// A full set lays a new one with the obstacle and the ball waiting. After a
// game over the space bar can run the ball into the stones; from the fourth
// lost ball on there is no indicator left to hide.
TEST_F(ScoreTest, AFullSetLaysANewOneWithTheObstacleAndTheBallWaitingAlsoAfterTheGame)
{
    for (const std::int32_t ballzahl : { 1, 4, 5 }) {
        SCOPED_TRACE(ballzahl);
        launch();
        f->ballzahl = ballzahl;
        f->start = ballzahl < 4 ? 2 : 3;
        for (int i = 0; i < 4; ++i) {
            noch(i).setVisible(true);
        }
        f->rt = {}; // stones knocked out: the new set lays them all again
        f->li[3] = 0;
        f->s = -3;
        f->w = 4;
        const auto level = f->level;
        const auto failures = platform::reportedFailures();
        f->Zahler(255);

        // level, bally, start, w, and s as it was: the caller sets the vertical step
        EXPECT_EQ(std::tuple(f->level, f->bally, f->start, f->w, f->s),
            std::tuple(level + 1, board::kBallAfterLevel, 1, 0, -3));
        EXPECT_EQ(platform::reportedFailures(), failures);
        EXPECT_EQ(indicators(), (std::vector<bool> { true, ballzahl != 1, true, true }));
        EXPECT_EQ(std::tuple(f->rt[0], f->rt[4], f->li[3]), std::tuple(9, 437, 330));
        // The obstacle now stands on the board picture and on the board.
        const auto& hinternis = *resources::hinternis();
        const int cx = hinternis.width() / 2;
        const int cy = hinternis.height() / 2;
        EXPECT_EQ(f->p->pixel(board::kObstacleX + cx, board::kObstacleY + cy), hinternis.pixel(cx, cy));
        EXPECT_EQ(feld().pixel(board::kObstacleX + cx, board::kObstacleY + cy), hinternis.pixel(cx, cy));
    }
}
