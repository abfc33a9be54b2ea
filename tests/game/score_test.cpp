// The score counter: the digits, the score sound and the level end.
#include "game/board.h"
#include "game_fixture.h"
#include "platform/canvas.h"
#include "platform/picture.h"
#include "platform/timer.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

#include <string>
#include <vector>

class ScoreTest : public GameTest {
protected:
    [[nodiscard]] Knopf& ziffer(int k) const { return f->control<Knopf>("zahl", k); }
    [[nodiscard]] platform::Canvas& noch(int i) const { return f->control<platform::Canvas>("noch", i); }
    [[nodiscard]] std::string shown() const
    {
        return ziffer(0).Text + ziffer(1).Text + ziffer(2).Text + ziffer(3).Text;
    }
    [[nodiscard]] std::vector<platform::Color> surface(int k) const
    {
        std::vector<platform::Color> pixels;
        for (int y = 0; y < ziffer(k).height(); ++y) {
            for (int x = 0; x < ziffer(k).width(); ++x) {
                pixels.push_back(ziffer(k).pixel(x, y));
            }
        }
        return pixels;
    }
    // A game in play: stones laid, ball launched, timer running.
    void startGame()
    {
        f->neu_Action();
        f->feld_MouseMove(300, 600);
        f->feld_MouseDown(300, 600);
        notes->events.clear();
    }
};

TEST_F(ScoreTest, ShowsFourDigitsWithLeadingZerosAndSoundsAPositiveScore)
{
    const struct {
        std::int32_t score;
        const char* digits;
        bool sounds;
    } cases[] = {
        { 0, "0000", false },
        { 1, "0001", true },
        { 58, "0058", true },
        { 1234, "1234", true },
        { 9999, "9999", true },
        { 10000, "0000", false },
        { 123456, "0000", false },
    };
    for (const auto& c : cases) {
        notes->events.clear();
        f->Zahler(c.score);
        EXPECT_EQ(shown(), c.digits) << c.score;
        EXPECT_EQ(notes->events,
            c.sounds ? sound(board::kScoreNote, board::kScoreInstrument) : std::vector<Note> {})
            << c.score;
        EXPECT_EQ(f->level, 0) << c.score;
    }
}

TEST_F(ScoreTest, EveryCallRepaintsAllFourDigits)
{
    f->Zahler(1111);
    std::vector<std::vector<platform::Color>> before;
    for (int k = 0; k < 4; ++k) {
        before.push_back(surface(k));
        ziffer(k).graphics().setForeColor(0xFF00FF);
        ziffer(k).graphics().fillRect(0, 0, ziffer(k).width(), ziffer(k).height());
    }
    f->Zahler(1111); // no digit changes
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(surface(k), before[static_cast<std::size_t>(k)]) << "zahl(" << k << ")";
    }
}

TEST_F(ScoreTest, AFullSetEndsTheLevel)
{
    startGame();
    f->ballzahl = 1;
    noch(1).setVisible(true);
    f->rt = {}; // stones knocked out: the new set lays them all again
    f->li[3] = 0;
    f->s = -3;
    f->w = 4;
    f->Zahler(255);

    EXPECT_EQ(f->level, 1);
    EXPECT_EQ(f->bally, board::kBallAfterLevel);
    EXPECT_EQ(f->start, 1);
    EXPECT_FALSE(timer().enabled());
    EXPECT_EQ(f->w, 0);
    EXPECT_EQ(f->s, -3) << "the caller sets the vertical step";
    EXPECT_FALSE(noch(1).visible());
    EXPECT_EQ(f->rt[0], 9);
    EXPECT_EQ(f->rt[4], 437);
    EXPECT_EQ(f->li[3], 330);
    EXPECT_EQ(shown(), "0255");
    EXPECT_EQ(notes->events, sound(board::kScoreNote, board::kScoreInstrument));

    // The obstacle now stands on the board picture and on the board.
    const auto& hinternis = *resources::hinternis();
    const int cx = hinternis.width() / 2;
    const int cy = hinternis.height() / 2;
    EXPECT_EQ(f->p->pixel(board::kObstacleX + cx, board::kObstacleY + cy), hinternis.pixel(cx, cy));
    EXPECT_EQ(feld().pixel(board::kObstacleX + cx, board::kObstacleY + cy), hinternis.pixel(cx, cy));
}

TEST_F(ScoreTest, OnlyWholeSetsUpTo9945EndALevel)
{
    const struct {
        std::int32_t score;
        bool ends;
    } cases[] = {
        { 0, false }, { 100, false }, { 254, false }, { 255, true }, { 256, false }, { 510, true },
        { 9944, false }, { 9945, true }, { 10200, false }, // 40 sets, but past what four digits show
    };
    for (const auto& c : cases) {
        startGame();
        const auto level = f->level;
        f->Zahler(c.score);
        EXPECT_EQ(f->level, level + (c.ends ? 1 : 0)) << c.score;
        EXPECT_EQ(timer().enabled(), !c.ends) << c.score;
    }
}

TEST_F(ScoreTest, LevelEndAfterTheGameHasNoIndicatorToHide)
{
    // After a game over the space bar can run the ball into the stones.
    for (std::int32_t ballzahl : { 4, 5 }) {
        startGame();
        f->ballzahl = ballzahl;
        f->start = 3;
        for (int i = 0; i < 4; ++i) {
            noch(i).setVisible(true);
        }
        const auto failures = platform::reportedFailures();
        EXPECT_NO_THROW(f->Zahler(255));
        EXPECT_EQ(platform::reportedFailures(), failures);
        EXPECT_EQ(f->start, 1);
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(noch(i).visible()) << "ballzahl " << ballzahl << " noch(" << i << ")";
        }
    }
}
