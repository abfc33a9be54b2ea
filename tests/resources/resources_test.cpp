// The picture and cursor accessors, over the embedded art and over a reader
// that the tests control.
#include "resources/resources.h"

#include "platform/globals.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

using resources::PictureRef;

struct PictureAccessor {
    const char* name;
    PictureRef (*get)();
    int id;
    bool transparent;
};

// In the order of the release at shutdown.
const std::vector<PictureAccessor> kPictures = {
    { "ball2", resources::ball2, 168, true },
    { "hintergrund", resources::hintergrund, 169, false },
    { "Hintergrund2", resources::Hintergrund2, 170, false },
    { "hinternis", resources::hinternis, 171, true },
    { "m1", resources::m1, 172, false },
    { "maus2", resources::maus2, 173, true },
    { "b1", resources::b1, 174, false },
    { "e1", resources::e1, 175, false },
    { "g1", resources::g1, 176, false },
    { "l1", resources::l1, 177, false },
    { "r1", resources::r1, 178, false },
};

class Resources : public testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        resources::setResourceReader({});
        (void)resources::releaseAll();
    }
};

constexpr platform::Color kWhite = 0xFFFFFF;

// ---- the embedded art --------------------------------------------------------

TEST_F(Resources, EveryPictureHasTheSizeItsUsersExpect)
{
    const std::map<std::string, std::pair<int, int>> sizes = {
        { "ball2", { 30, 30 } },
        { "hintergrund", { 600, 690 } },
        { "Hintergrund2", { 900, 730 } },
        { "hinternis", { 100, 25 } },
        { "maus2", { 100, 25 } },
        { "b1", { 100, 30 } },
        { "e1", { 100, 30 } },
        { "g1", { 100, 30 } },
        { "l1", { 100, 30 } },
        { "r1", { 100, 30 } },
    };
    for (const PictureAccessor& accessor : kPictures) {
        SCOPED_TRACE(accessor.name);
        const PictureRef picture = accessor.get();
        ASSERT_NE(picture, nullptr);
        if (const auto size = sizes.find(accessor.name); size != sizes.end()) {
            EXPECT_EQ(picture->width(), size->second.first);
            EXPECT_EQ(picture->height(), size->second.second);
        } else {
            EXPECT_GT(picture->width(), 0); // m1: any size serves
            EXPECT_GT(picture->height(), 0);
        }
    }
}

TEST_F(Resources, TransparentAreExactlyTheBallThePaddleAndTheObstacle)
{
    for (int call = 1; call <= 2; ++call) {
        for (const PictureAccessor& accessor : kPictures) {
            SCOPED_TRACE(std::string(accessor.name) + " call " + std::to_string(call));
            EXPECT_EQ(accessor.get()->transparent(), accessor.transparent ? 1 : 0);
        }
    }
}

// White pixels that cannot reach the border through white are holes: the
// board would show through the middle of the figure.
std::vector<std::pair<int, int>> holes(const platform::Picture& picture)
{
    const int w = picture.width();
    const int h = picture.height();
    std::vector<char> outside(std::size_t(w * h), 0);
    std::vector<std::pair<int, int>> pending;
    auto reach = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < w && y < h && !outside[std::size_t(y * w + x)]
            && picture.pixel(x, y) == kWhite) {
            outside[std::size_t(y * w + x)] = 1;
            pending.emplace_back(x, y);
        }
    };
    for (int x = 0; x < w; ++x) {
        reach(x, 0);
        reach(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        reach(0, y);
        reach(w - 1, y);
    }
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        reach(x + 1, y);
        reach(x - 1, y);
        reach(x, y + 1);
        reach(x, y - 1);
    }
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (picture.pixel(x, y) == kWhite && !outside[std::size_t(y * w + x)]) {
                found.emplace_back(x, y);
            }
        }
    }
    return found;
}

TEST_F(Resources, SeeThroughFiguresAreSolidWithoutALightFringe)
{
    struct Figure {
        const char* name;
        PictureRef (*get)();
        double minimumCover; // smallest share of the picture it covers
    };
    const Figure figures[] = {
        { "ball2", resources::ball2, 0.7 }, // a disc
        { "hinternis", resources::hinternis, 0.95 },
        { "maus2", resources::maus2, 0.95 },
    };
    for (const Figure& figure : figures) {
        SCOPED_TRACE(figure.name);
        const platform::Picture& picture = *figure.get();
        const auto found = holes(picture);
        EXPECT_TRUE(found.empty()) << "first hole at " << found.front().first << ", " << found.front().second;
        int covered = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const platform::Color c = picture.pixel(x, y);
                if (c == kWhite) {
                    continue;
                }
                ++covered;
                // An outline smoothed against the white would be nearly white
                // and glow on the dark board.
                const bool outline = (x == 0 || picture.pixel(x - 1, y) == kWhite)
                    || (x + 1 == picture.width() || picture.pixel(x + 1, y) == kWhite)
                    || (y == 0 || picture.pixel(x, y - 1) == kWhite)
                    || (y + 1 == picture.height() || picture.pixel(x, y + 1) == kWhite);
                if (outline) {
                    const int brightest = int(std::max({ c >> 16, (c >> 8) & 0xFF, c & 0xFF }));
                    EXPECT_LT(brightest, 0xE0) << "light outline pixel at " << x << ", " << y;
                }
            }
        }
        EXPECT_GE(covered, figure.minimumCover * picture.width() * picture.height());
    }
}

TEST_F(Resources, M1IsAGreyMaskWithDarkAndLightParts)
{
    const platform::Picture& mask = *resources::m1();
    int darkest = 255;
    int lightest = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const platform::Color c = mask.pixel(x, y);
            const int r = int(c >> 16);
            ASSERT_EQ(r, int((c >> 8) & 0xFF)) << "at " << x << ", " << y;
            ASSERT_EQ(r, int(c & 0xFF)) << "at " << x << ", " << y;
            darkest = std::min(darkest, r);
            lightest = std::max(lightest, r);
        }
    }
    EXPECT_LT(darkest, 64); // the button's own colour shows
    EXPECT_GT(lightest, 128); // a highlight toward white
}

TEST_F(Resources, EachStoneIsOfItsRowsColour)
{
    struct Expect {
        const char* name;
        PictureRef (*get)();
        bool red, green, blue; // which channels clearly lead at the centre
    };
    const Expect stones[] = {
        { "r1", resources::r1, true, false, false }, { "g1", resources::g1, false, true, false },
        { "b1", resources::b1, false, false, true }, { "e1", resources::e1, true, true, false }, // yellow
        { "l1", resources::l1, true, false, true }, // purple
    };
    for (const Expect& stone : stones) {
        SCOPED_TRACE(stone.name);
        const platform::Color c = stone.get()->pixel(50, 20);
        const int channels[] = { int(c >> 16), int((c >> 8) & 0xFF), int(c & 0xFF) };
        const bool leads[] = { stone.red, stone.green, stone.blue };
        const int weakestLeader = std::min(
            { leads[0] ? channels[0] : 255, leads[1] ? channels[1] : 255, leads[2] ? channels[2] : 255 });
        for (int i = 0; i < 3; ++i) {
            if (!leads[i]) {
                EXPECT_LT(channels[i] + 40, weakestLeader) << "channel " << i;
            }
        }
    }
}

TEST_F(Resources, LeerCursorShowsNothing)
{
    const auto cursor = resources::leerCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_FALSE(cursor->isArrow());
    const QImage image(QStringLiteral(":/cursors/168.png"));
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << "visible at " << x << ", " << y;
        }
    }
}

// ---- caching -------------------------------------------------------------------

TEST_F(Resources, EveryAccessorReadsOnceAndSharesOneObject)
{
    for (const PictureAccessor& accessor : kPictures) {
        SCOPED_TRACE(accessor.name);
        const int before = resources::readsFromApplication();
        const PictureRef first = accessor.get();
        const PictureRef second = accessor.get();
        EXPECT_EQ(first.get(), second.get());
        EXPECT_EQ(resources::readsFromApplication(), before + 1);
    }
    const int before = resources::readsFromApplication();
    EXPECT_EQ(resources::leerCursor().get(), resources::leerCursor().get());
    EXPECT_EQ(resources::readsFromApplication(), before + 1);
}

TEST_F(Resources, AccessorsAskForTheirOwnIds)
{
    std::vector<int> pictureIds;
    std::vector<int> cursorIds;
    resources::setResourceReader({
        [&](int id) {
            pictureIds.push_back(id);
            return std::make_shared<platform::Picture>(1, 1);
        },
        [&](int id) {
            cursorIds.push_back(id);
            return std::make_shared<platform::MouseCursor>();
        },
    });
    for (const PictureAccessor& accessor : kPictures) {
        (void)accessor.get();
    }
    (void)resources::leerCursor();
    std::vector<int> expected;
    for (const PictureAccessor& accessor : kPictures) {
        expected.push_back(accessor.id);
    }
    EXPECT_EQ(pictureIds, expected);
    EXPECT_EQ(cursorIds, std::vector<int> { 168 }); // a cursor resource, not ball2's picture
}

TEST_F(Resources, ReleaseAllEmptiesTheFilledSlotsInShutdownOrder)
{
    const PictureRef oldR1 = resources::r1();
    (void)resources::leerCursor();
    (void)resources::m1();
    (void)resources::ball2();
    EXPECT_EQ(resources::releaseAll(), (std::vector<std::string> { "ball2", "m1", "r1", "leerCursor" }));
    EXPECT_TRUE(resources::releaseAll().empty());

    // Emptied slots load afresh on their next call.
    const int before = resources::readsFromApplication();
    EXPECT_NE(resources::r1().get(), oldR1.get());
    EXPECT_EQ(resources::readsFromApplication(), before + 1);

    for (auto accessor = kPictures.rbegin(); accessor != kPictures.rend(); ++accessor) {
        (void)accessor->get();
    }
    (void)resources::leerCursor();
    std::vector<std::string> all;
    for (const PictureAccessor& accessor : kPictures) {
        all.emplace_back(accessor.name);
    }
    all.emplace_back("leerCursor");
    EXPECT_EQ(resources::releaseAll(), all);
}

// ---- missing resources -----------------------------------------------------

TEST_F(Resources, MissingResourceGivesNullAndIsReadAgainNextCall)
{
    bool present = false;
    resources::setResourceReader({
        [&](int) { return present ? std::make_shared<platform::Picture>(100, 30) : nullptr; },
        [&](int) { return present ? std::make_shared<platform::MouseCursor>() : nullptr; },
    });
    const int before = resources::readsFromApplication();
    EXPECT_EQ(resources::b1(), nullptr);
    EXPECT_EQ(resources::leerCursor(), nullptr);
    EXPECT_TRUE(resources::releaseAll().empty());

    present = true;
    const PictureRef b1 = resources::b1();
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->transparent(), 0);
    EXPECT_NE(resources::leerCursor(), nullptr);
    EXPECT_EQ(resources::b1().get(), b1.get());
    EXPECT_EQ(resources::readsFromApplication(), before + 4);
}

TEST_F(Resources, MissingTransparentPictureRaisesNilObjectAndIsRetried)
{
    bool present = false;
    resources::setResourceReader({
        [&](int) { return present ? std::make_shared<platform::Picture>(30, 30) : nullptr; },
        {},
    });
    for (const PictureAccessor& accessor : kPictures) {
        if (!accessor.transparent) {
            continue;
        }
        SCOPED_TRACE(accessor.name);
        present = false;
        EXPECT_THROW((void)accessor.get(), platform::NilObjectError);
        EXPECT_THROW((void)accessor.get(), platform::NilObjectError);
        present = true;
        const PictureRef picture = accessor.get();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->transparent(), 1);
    }
    EXPECT_EQ(resources::releaseAll(), (std::vector<std::string> { "ball2", "hinternis", "maus2" }));
}

} // namespace
