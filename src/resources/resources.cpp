// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "resources/resources.h"

#include "platform/application.h"
#include "platform/globals.h"

#include <array>
#include <cstddef>
#include <utility>

// The art archive the program carries (resources/embedded_art.cpp).
extern "C" const unsigned char zindra_art_begin[];
extern "C" const unsigned char zindra_art_end[];

namespace resources {

namespace {

// Every resource fork reads the program's archive, from before main on.
const bool archiveKnown = [] {
    platform::ResourceFork::setArchive(zindra_art_begin, zindra_art_end);
    return true;
}();

// One cache slot per picture accessor, empty until its first call.
struct PictureSlot {
    const char* name;
    int id;
    bool transparent; // marked Transparent 1 as it is loaded
    PictureRef picture;
    bool reported = false; // its absence has been said on stderr
};

// Positions in pictureSlots.
enum class Slot { Ball2, Hintergrund, Hintergrund2, Hinternis, M1, Maus2, B1, E1, G1, L1, R1 };

// In the order shutdown releases them.
std::array<PictureSlot, 11> pictureSlots { {
    { "ball2", kBall2, true, nullptr },
    { "hintergrund", kHintergrund, false, nullptr },
    { "Hintergrund2", kHintergrund2, false, nullptr },
    { "hinternis", kHinternis, true, nullptr },
    { "m1", kM1, false, nullptr },
    { "maus2", kMaus2, true, nullptr },
    { "b1", kB1, false, nullptr },
    { "e1", kE1, false, nullptr },
    { "g1", kG1, false, nullptr },
    { "l1", kL1, false, nullptr },
    { "r1", kR1, false, nullptr },
} };

std::shared_ptr<platform::MouseCursor> leerCursorSlot;

ResourceReader reader;
int reads = 0;

const platform::ResourceFork& applicationResources()
{
    if (const platform::Application* app = platform::Application::instance()) {
        return app->resourceFork();
    }
    // Before (or without) the application object the embedded resources can
    // still be read: the fork needs nothing from the application.
    static const platform::ResourceFork ownResources;
    return ownResources;
}

PictureRef readPicture(int id)
{
    ++reads;
    return reader.picture ? reader.picture(id) : applicationResources().GetPicture(id);
}

std::shared_ptr<platform::MouseCursor> readCursor(int id)
{
    ++reads;
    return reader.cursor ? reader.cursor(id) : applicationResources().getCursor(id);
}

PictureRef cachedPicture(Slot which)
{
    PictureSlot& slot = pictureSlots[std::size_t(which)];
    if (slot.picture) {
        return slot.picture;
    }
    slot.picture = readPicture(slot.id);
    if (!slot.picture && !slot.transparent && !slot.reported) {
        // Said once, by name: the game's own failure later can only tell
        // that a picture it needed was not there.
        slot.reported = true;
        platform::reportFailure("resources",
            std::string("picture ") + slot.name + " (" + std::to_string(slot.id) + ") could not be read");
    }
    if (slot.transparent) {
        // A missing picture cannot be marked; the slot stays empty for the
        // next call.
        if (!slot.picture) {
            throw platform::NilObjectError(std::string("picture ") + slot.name + " is missing");
        }
        slot.picture->setTransparent(1);
    }
    return slot.picture;
}

} // namespace

PictureRef ball2()
{
    return cachedPicture(Slot::Ball2);
}
PictureRef hintergrund()
{
    return cachedPicture(Slot::Hintergrund);
}
PictureRef Hintergrund2()
{
    return cachedPicture(Slot::Hintergrund2);
}
PictureRef hinternis()
{
    return cachedPicture(Slot::Hinternis);
}
PictureRef m1()
{
    return cachedPicture(Slot::M1);
}
PictureRef maus2()
{
    return cachedPicture(Slot::Maus2);
}
PictureRef b1()
{
    return cachedPicture(Slot::B1);
}
PictureRef e1()
{
    return cachedPicture(Slot::E1);
}
PictureRef g1()
{
    return cachedPicture(Slot::G1);
}
PictureRef l1()
{
    return cachedPicture(Slot::L1);
}
PictureRef r1()
{
    return cachedPicture(Slot::R1);
}

std::shared_ptr<platform::MouseCursor> leerCursor()
{
    static bool reported = false;
    if (!leerCursorSlot) {
        leerCursorSlot = readCursor(kLeerCursor);
        if (!leerCursorSlot && !reported) {
            reported = true;
            platform::reportFailure("resources", "cursor leerCursor (168) could not be read");
        }
    }
    return leerCursorSlot;
}

std::vector<std::string> releaseAll()
{
    std::vector<std::string> released;
    for (PictureSlot& slot : pictureSlots) {
        if (slot.picture) {
            released.emplace_back(slot.name);
            slot.picture.reset();
        }
    }
    if (leerCursorSlot) {
        released.emplace_back("leerCursor");
        leerCursorSlot.reset();
    }
    return released;
}

int readsFromApplication()
{
    return reads;
}

void setResourceReader(ResourceReader newReader)
{
    reader = std::move(newReader);
}

} // namespace resources
