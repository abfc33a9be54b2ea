// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The evaluation: stones struck by a rising or falling ball, and the obstacle.
// How a struck stone is repaired from the clean background the screen's
// in-play frame pins, and the fuzz's rules for every stone gone.
#include "game_fixture.h"

class EvaluationTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        f->neu_Action();
        notes->events.clear();
    }
    // Row r from the top: rt, gn, bl, ge, li.
    static constexpr std::array kReihen
        = { &Fenster1::rt, &Fenster1::gn, &Fenster1::bl, &Fenster1::ge, &Fenster1::li };
    [[nodiscard]] Fenster1::Row& reihe(int r) const { return (*f).*kReihen.at(static_cast<std::size_t>(r)); }
    // A fresh set with only row r standing.
    void onlyRow(int r)
    {
        f->neu_Action();
        for (int other = 0; other < 5; ++other) {
            if (other != r) {
                reihe(other) = {};
            }
        }
        notes->events.clear();
    }
    // The ball with its centre column at m and its top edge at y, moving by step.
    void ballAt(int m, int y, int step)
    {
        f->ballx = m - board::kBallHalf;
        f->bally = y;
        f->s = step;
    }
};

// A rising ball's top edge, a falling ball's bottom edge, from the row's top
// to its bottom, both included; a strike scores the row's points, sounds and
// turns the ball (down at 2 + level, up at -2).
TEST_F(EvaluationTest, EachRowsBandIsInclusiveAndAStrikeScoresItsPointsAndTurnsTheBall)
{
    for (int r = 0; r < 5; ++r) {
        const int top = board::kRowY[static_cast<std::size_t>(r)];
        const int m = board::kRowFirstX[static_cast<std::size_t>(r)] + 50; // only this row's stone 0
        for (const auto& [edge, step, strikes] :
            { std::tuple { -1, -3, false }, { 0, -3, true }, { 30, -3, true }, { 31, -3, false },
                { -1, 3, false }, { 0, 3, true }, { 30, 3, true }, { 31, 3, false } }) {
            SCOPED_TRACE(testing::Message() << "row " << r << " edge at top + " << edge << " s " << step);
            onlyRow(r);
            f->level = 2;
            ballAt(m, top + edge - (step > 0 ? board::kBallSize : 0), step);
            f->auswertung();
            EXPECT_EQ(reihe(r)[0] == 0, strikes);
            EXPECT_EQ(f->z, strikes ? board::kRowPoints[static_cast<std::size_t>(r)] : 0);
            EXPECT_EQ(f->s, !strikes ? step : step < 0 ? 2 + 2 : -2);
            EXPECT_EQ(notes->events, sound(board::kScoreNote, board::kScoreInstrument, strikes ? 1 : 0));
        }
    }
}

TEST_F(EvaluationTest, StoneSpanIsInclusiveGoneStonesNeverStrikeAndTwoRowsCanStrikeInOneCall)
{
    // Purple stone 2 spans 223..323. An element of 0 spans 0..100, but no
    // stone stands there.
    for (const auto& [m, strikes] : { std::pair { 222, false }, { 223, true }, { 323, true }, { 324, false },
             { 0, false }, { 50, false }, { 100, false } }) {
        f->neu_Action();
        f->li[0] = 0;
        ballAt(m, 150, -2);
        f->auswertung();
        EXPECT_EQ(std::tuple(f->li[2], f->z, f->s),
            std::tuple(strikes ? 0 : 223, strikes ? 1 : 0, strikes ? 2 : -2))
            << "m " << m;
    }
    // A rising strike can be followed by a falling strike in the same call.
    f->neu_Action();
    notes->events.clear();
    // Top edge in the yellow band, bottom edge on the purple row's top.
    ballAt(100, 115, -3);
    f->auswertung();
    EXPECT_EQ(std::tuple(f->ge[0], f->li[0], f->z, f->s), std::tuple(0, 0, 6, -2));
    EXPECT_EQ(digits(), "0006");
    EXPECT_EQ(notes->events, sound(board::kScoreNote, board::kScoreInstrument, 2));
}

TEST_F(EvaluationTest, ObstacleTurnsOnlyARisingBallFromTheSecondSetOn)
{
    for (const auto& [level, m, y, step, turns] :
        { std::tuple { 1, 250, 400, -3, true }, { 1, 350, 425, -3, true }, { 1, 300, 412, -7, true },
            { 1, 249, 410, -3, false }, { 1, 351, 410, -3, false }, { 1, 300, 399, -3, false },
            { 1, 300, 426, -3, false }, { 1, 300, 410, 3, false }, { 0, 300, 410, -3, false } }) {
        SCOPED_TRACE(
            testing::Message() << "level " << level << " m " << m << " bally " << y << " s " << step);
        f->level = level;
        notes->events.clear();
        ballAt(m, y, step);
        f->auswertung();
        EXPECT_EQ(f->s, turns ? 2 : step);
        EXPECT_EQ(
            notes->events, turns ? sound(board::kEdgeNote, board::kBounceInstrument) : std::vector<Note> {});
    }
}

TEST_F(EvaluationTest, StrikeThatClearsTheSetTakesTheNewLevelsStep)
{
    for (const int step : { -3, 3 }) {
        onlyRow(4);
        f->li = { 9 }; // the last stone
        f->level = 1;
        f->z = 254;
        ballAt(100, step < 0 ? 150 : 145 - board::kBallSize, step);
        f->auswertung();
        // level, z (nothing more is struck after the new set is laid), the new set's
        // red stone 0, bally, start, timer, s
        EXPECT_EQ(std::tuple(f->level, f->z, f->rt[0], f->bally, f->start, timer().enabled(), f->s),
            std::tuple(2, 255, 9, board::kBallAfterLevel, 1, false, step < 0 ? 2 + 2 : -2))
            << "step " << step;
    }
}
