// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The embedded art at its two densities: the plain art is the game's own,
// pixel for pixel, and the fine art is the same drawing sampled twice as
// finely, not something else and not the plain pixels doubled.
#include "platform/application.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QCryptographicHash>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

QImage art(int id, int scale)
{
    platform::detail::setSurfaceScale(scale);
    const auto picture = platform::ResourceFork().GetPicture(id);
    platform::detail::setSurfaceScale(1);
    EXPECT_EQ(picture->surface().scale, scale) << id;
    return picture->surface().image.convertToFormat(QImage::Format_ARGB32);
}

std::string digest(const QImage& image)
{
    return QCryptographicHash::hash(
        QByteArrayView(image.constBits(), image.sizeInBytes()), QCryptographicHash::Sha1)
        .toHex()
        .left(16)
        .toStdString();
}

struct Art {
    int id;
    const char* plainDigest; // of the art every test at scale 1 was written against
    bool onWhite = false; // a figure on see-through white: its outline moves a little
};
const Art kArt[] = { { 168, "cfb2fce8123fd2c3", true }, { 169, "e324b753406990ae" },
    { 170, "f57aa401e2ffe345" }, { 171, "313cbff4db72a3e2", true }, { 172, "4b14d282c0c6c45b" },
    { 173, "91151edacec6e8bc", true }, { 174, "47104bdbc9b11838" }, { 175, "1da3558ec7e72780" },
    { 176, "e4400191322e106e" }, { 177, "56569385d32af64d" }, { 178, "f9189e8577d24b18" } };

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
