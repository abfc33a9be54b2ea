// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The picture and cursor accessors, over the embedded art and over a reader
// that the tests control.
#include "resources/resources.h"

#include "platform/cursor.h"
#include "platform/cursor_data.h"
#include "platform/globals.h"

#include <QImage>
#include <gtest/gtest.h>

#include <vector>

namespace {

using resources::PictureRef;

struct PictureAccessor {
    const char* name;
    PictureRef (*get)();
    bool transparent;
    int width, height; // 0: any size serves
};

// In the order of the release at shutdown.
const std::vector<PictureAccessor> kPictures = { { "ball2", resources::ball2, true, 30, 30 },
    { "hintergrund", resources::hintergrund, false, 600, 690 },
    { "Hintergrund2", resources::Hintergrund2, false, 900, 730 },
    { "hinternis", resources::hinternis, true, 100, 25 }, { "m1", resources::m1, false, 0, 0 },
    { "maus2", resources::maus2, true, 100, 25 }, { "b1", resources::b1, false, 100, 30 },
    { "e1", resources::e1, false, 100, 30 }, { "g1", resources::g1, false, 100, 30 },
    { "l1", resources::l1, false, 100, 30 }, { "r1", resources::r1, false, 100, 30 } };

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

// Each picture read once, with its size, Transparent only for the figures;
// the empty cursor likewise; releaseAll empties every slot, and an emptied
// slot loads afresh. The order of the release the shutdown's test holds.
TEST_F(Resources, EveryAccessorReadsOnceSharesItsObjectAndReleaseAllEmptiesTheSlots)
{
    for (const PictureAccessor& accessor : kPictures) {
        SCOPED_TRACE(accessor.name);
        const int before = resources::readsFromApplication();
        const PictureRef picture = accessor.get();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(accessor.get().get(), picture.get());
        EXPECT_EQ(resources::readsFromApplication(), before + 1);
        EXPECT_EQ(picture->transparent(), accessor.transparent ? 1 : 0);
        if (accessor.width > 0) {
            EXPECT_EQ(QSize(picture->width(), picture->height()), QSize(accessor.width, accessor.height));
        }
    }
    const int before = resources::readsFromApplication();
    const auto cursor = resources::leerCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(resources::leerCursor().get(), cursor.get());
    EXPECT_EQ(resources::readsFromApplication(), before + 1);
    EXPECT_FALSE(cursor->isArrow());
    const QImage image
        = cursor->data().cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(image.isNull());
    QImage nothing(image.size(), QImage::Format_ARGB32_Premultiplied);
    nothing.fill(Qt::transparent);
    EXPECT_EQ(image, nothing) << "the empty cursor shows something";

    const PictureRef oldR1 = resources::r1();
    EXPECT_EQ(resources::releaseAll().size(), kPictures.size() + 1);
    EXPECT_TRUE(resources::releaseAll().empty());
    EXPECT_NE(resources::r1().get(), oldR1.get());
    EXPECT_EQ(resources::readsFromApplication(), before + 2);
}

// A resource that cannot be read gives null (a transparent picture raises
// the nil-object failure instead), fills no slot and is read again at the
// next call.
TEST_F(Resources, MissingResourceGivesNullOrRaisesNilObjectAndIsReadAgainNextCall)
{
    bool present = false;
    resources::setResourceReader({
        [&](int) { return present ? std::make_shared<platform::Picture>(30, 30) : nullptr; },
        [&](int) { return present ? std::make_shared<platform::MouseCursor>() : nullptr; },
    });
    const int before = resources::readsFromApplication();
    for (const PictureAccessor& accessor : kPictures) {
        SCOPED_TRACE(accessor.name);
        if (accessor.transparent) {
            EXPECT_THROW((void)accessor.get(), platform::NilObjectError);
        } else {
            EXPECT_EQ(accessor.get(), nullptr);
        }
    }
    EXPECT_EQ(resources::leerCursor(), nullptr);
    const int said = platform::reportedFailures();
    EXPECT_EQ(resources::b1(), nullptr);
    EXPECT_EQ(platform::reportedFailures(), said) << "a missing picture's absence said again";
    EXPECT_TRUE(resources::releaseAll().empty());

    present = true;
    for (const PictureAccessor& accessor : kPictures) {
        SCOPED_TRACE(accessor.name);
        const PictureRef picture = accessor.get();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->transparent(), accessor.transparent ? 1 : 0);
    }
    EXPECT_NE(resources::leerCursor(), nullptr);
    EXPECT_EQ(resources::readsFromApplication(), before + 2 * (std::ssize(kPictures) + 1) + 1);
}

} // namespace
