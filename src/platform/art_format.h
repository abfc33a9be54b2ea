// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The layout of the game's embedded art: one archive of pictures stored as
// the pixels the screen uses (premultiplied 32-bit ARGB, native byte order),
// so that the game wraps them where they lie instead of decoding them at
// every start. The art generator writes it; the platform reads it.
//
//   ArtHeader, then ArtHeader::count ArtEntry records, then the pixels of
//   each entry at its offset from the archive's start, on a 64-byte boundary,
//   width * 4 bytes a line.
#pragma once

#include <cstdint>

namespace platform::art {

inline constexpr char kMagic[8] = { 'Z', 'I', 'N', 'D', 'A', 'R', 'T', '1' };
inline constexpr std::uint64_t kAlignment = 64;

enum class Kind : std::uint32_t { Picture = 1, Cursor = 2 };

// Entry flags.
inline constexpr std::uint32_t kOpaque = 1; // every pixel has full alpha

struct ArtHeader {
    char magic[8];
    std::uint32_t count;
    std::uint32_t reserved;
};

struct ArtEntry {
    Kind kind;
    std::int32_t id;
    std::uint32_t scale; // 1, or 2 for the same picture drawn at twice the pixels
    std::uint32_t width; // pixels
    std::uint32_t height;
    std::uint32_t flags;
    std::uint64_t offset; // of the pixels, from the start of the archive
};

static_assert(sizeof(ArtHeader) == 16 && sizeof(ArtEntry) == 32);

} // namespace platform::art
