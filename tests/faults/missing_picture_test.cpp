// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A picture that fails to load. The game has no handling of its own for it:
// using the missing picture raises the nil-object failure, which the event
// dispatch catches and reports on stderr. The program must not crash, the
// report must say which picture is missing, and the game plays on where it can.
#include "fuzz/opened_game.h"
#include "fuzz/player_input.h"

#include "app/app.h"
#include "game/board.h"
#include "platform/application.h"
#include "platform/globals.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The lines the platform wrote for failures that left a handler.
[[nodiscard]] std::vector<std::string> failureReports(const std::string& stderrText)
{
    std::vector<std::string> reports;
    std::istringstream lines(stderrText);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("zindra: failure") != std::string::npos) {
            reports.push_back(line);
        }
    }
    return reports;
}

class MissingPicture : public testing::Test {
protected:
    void SetUp() override
    {
        platform::resetQuit();
        resources::setResourceReader({});
        (void)resources::releaseAll();
    }
    void TearDown() override
    {
        game.reset();
        resources::setResourceReader({});
        (void)resources::releaseAll();
    }

    // Every resource reads as the application's own, except the picture with
    // the id (or the cursor, when cursor is true).
    static void without(int id, bool cursor = false)
    {
        resources::setResourceReader({
            [id, cursor](int wanted) -> resources::PictureRef {
                return !cursor && wanted == id ? nullptr : platform::ResourceFork {}.GetPicture(wanted);
            },
            [id, cursor](int wanted) -> std::shared_ptr<platform::MouseCursor> {
                return cursor && wanted == id ? nullptr : platform::ResourceFork {}.getCursor(wanted);
            },
        });
    }

    std::unique_ptr<fuzz::OpenedGame> game;
};

TEST_F(MissingPicture, TheObstacleMissingAtALevelEndIsReportedByNameAndTheBallPlaysOn)
{
    without(resources::kHinternis);
    game = std::make_unique<fuzz::OpenedGame>();
    Fenster1& f = game->f();
    // One purple stone left and a rising ball about to strike it, worth the
    // last point of the set.
    f.neu_Action();
    for (Fenster1::Row* row : { &f.rt, &f.gn, &f.bl, &f.ge, &f.li }) {
        row->fill(0);
    }
    f.li[2] = 9 + 2 * board::kStonePitch;
    f.z = board::kPointsPerSet - 1;
    f.ballx = f.li[2] + 50 - board::kBallHalf;
    f.bally = 150;
    f.s = -5;
    f.start = 2;
    game->timer().setEnabled(true);
    const int failures = platform::reportedFailures();

    testing::internal::CaptureStderr();
    EXPECT_EQ(game->wind(fuzz::OpenedGame::kPeriodNs), 1);
    const std::vector<std::string> reports = failureReports(testing::internal::GetCapturedStderr());

    ASSERT_EQ(platform::reportedFailures(), failures + 1);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "hinternis", reports[0]);
    EXPECT_EQ(f.z, board::kPointsPerSet);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(f.control<Knopf>("zahl", k).Text, std::string(1, "0255"[k]));
    }

    // The failure left the tick, not the game: the ball keeps moving, and a
    // ball the paddle misses is lost as ever.
    fuzz::PlayerInput hands(f);
    hands.moveToScreen(QPoint(f.Left() - 1000, f.Top()));
    const Fenster1::Int32 stoppedAt = f.bally;
    game->wind(fuzz::OpenedGame::kPeriodNs * 10);
    EXPECT_NE(f.bally, stoppedAt);
    for (int tick = 0; tick < 5000 && f.ballzahl == 0; ++tick) {
        game->wind(fuzz::OpenedGame::kPeriodNs);
    }
    EXPECT_EQ(f.ballzahl, 1);
    EXPECT_EQ(f.start, 1);
}

TEST_F(MissingPicture, TheBallMissingStopsTheStartUpWithAReportNamingIt)
{
    without(resources::kBall2);
    testing::internal::CaptureStderr();
    char name[] = "zindra";
    char* argv[] = { name, nullptr };
    int argc = 1;
    const int status = startup::run(argc, argv);
    const std::vector<std::string> reports = failureReports(testing::internal::GetCapturedStderr());

    EXPECT_EQ(status, 1);
    EXPECT_FALSE(Fenster1Exists());
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "ball2", reports[0]);
}

// The report of a missing picture is all a player or a packager gets to see:
// the first one must name what is missing, not only that something is. Where
// the board can still be laid, the ball can be launched and plays on, and the
// score counts whatever the buttons can draw.
TEST_F(MissingPicture, TheFirstReportOfAnyMissingPictureOrCursorNamesItAndTheGameGoesOnWhereItCan)
{
    for (const auto& [name, id, cursor, plays] :
        { std::tuple { "hintergrund", resources::kHintergrund, false, false },
            { "r1", resources::kR1, false, false }, { "g1", resources::kG1, false, false },
            { "b1", resources::kB1, false, false }, { "e1", resources::kE1, false, false },
            { "l1", resources::kL1, false, false }, { "maus2", resources::kMaus2, false, true },
            { "m1", resources::kM1, false, true }, { "leerCursor", resources::kLeerCursor, true, true } }) {
        SCOPED_TRACE(name);
        (void)resources::releaseAll();
        without(id, cursor);
        testing::internal::CaptureStderr();
        game = std::make_unique<fuzz::OpenedGame>();
        Fenster1& f = game->f();
        std::int64_t ticks = 0;
        {
            fuzz::PlayerInput hands(f);
            hands.moveOnto(f.control<Knopf>("neu"));
            hands.click();
            hands.moveToWindow(QPoint(20 + 300, 20 + 600));
            hands.click();
            ticks = game->wind(fuzz::OpenedGame::kPeriodNs * 5);
        }
        f.Zahler(1234);
        const std::vector<std::string> reports = failureReports(testing::internal::GetCapturedStderr());
        ASSERT_FALSE(reports.empty()) << "nothing was reported";
        EXPECT_PRED_FORMAT2(testing::IsSubstring, name, reports.front());
        EXPECT_EQ(f.start == 2 && ticks > 0, plays);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(f.control<Knopf>("zahl", k).Text, std::string(1, "1234"[k]));
        }
        game.reset();
    }
}

} // namespace
