// The embedded art at its two densities: the plain art is the game's own,
// pixel for pixel, and the fine art is the same drawing sampled twice as
// finely, not something else and not the plain pixels doubled.
#include "platform/application.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

QImage art(int id, int scale)
{
    platform::detail::setSurfaceScale(scale);
    const auto picture = platform::ResourceFork().GetPicture(id);
    platform::detail::setSurfaceScale(1);
    EXPECT_NE(picture, nullptr) << id;
    EXPECT_EQ(picture->surface().scale, scale) << id;
    return picture ? picture->surface().image.convertToFormat(QImage::Format_ARGB32) : QImage();
}

// FNV-1a over the pixels, row by row.
std::uint64_t digest(const QImage& image)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            for (int shift = 0; shift < 32; shift += 8) {
                hash = (hash ^ ((line[x] >> shift) & 0xFF)) * 1099511628211ull;
            }
        }
    }
    return hash;
}

struct Art {
    int id;
    std::uint64_t plainDigest; // of the art every test at scale 1 was written against
    bool onWhite = false; // a figure on see-through white: its outline moves a little
};
const Art kArt[] = {
    { 168, 2531559992338825364ull, true },
    { 169, 3448613282891131150ull },
    { 170, 2509020969509287170ull },
    { 171, 13821209829074110577ull, true },
    { 172, 7318305955731861685ull },
    { 173, 2023061356598592732ull, true },
    { 174, 10881519000924188154ull },
    { 175, 12568565446893700262ull },
    { 176, 4307298352835107101ull },
    { 177, 5097643094250709955ull },
    { 178, 12154895548954578009ull },
};

} // namespace

TEST(Art, PlainArtIsUnchangedAndFineArtIsTheSameDrawingAtTwiceTheDensity)
{
    for (const Art& picture : kArt) {
        SCOPED_TRACE(picture.id);
        const QImage plain = art(picture.id, 1);
        EXPECT_EQ(digest(plain), picture.plainDigest);
        const QImage fine = art(picture.id, 2);
        ASSERT_EQ(fine.size(), plain.size() * 2);
        // Each plain pixel against the mean of its four fine ones: close on
        // average (they are samples of one drawing), yet not all equal (that
        // would be the plain art doubled).
        long long difference = 0;
        int doubled = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb four[] = { fine.pixel(2 * x, 2 * y), fine.pixel(2 * x + 1, 2 * y),
                    fine.pixel(2 * x, 2 * y + 1), fine.pixel(2 * x + 1, 2 * y + 1) };
                const QRgb p = plain.pixel(x, y);
                for (int shift : { 0, 8, 16 }) {
                    int sum = 0;
                    for (const QRgb f : four) {
                        sum += int((f >> shift) & 0xFF);
                    }
                    difference += std::abs(sum - 4 * int((p >> shift) & 0xFF));
                }
                doubled += four[0] == p && four[1] == p && four[2] == p && four[3] == p;
            }
        }
        const double meanDifference = double(difference) / (4.0 * 3 * plain.width() * plain.height());
        EXPECT_LT(meanDifference, picture.onWhite ? 10.0 : 2.0);
        EXPECT_LT(doubled, plain.width() * plain.height() / 2);
    }
}
