// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Collects the drawn pictures and writes them as the archive the game embeds
// (its layout: src/platform/art_format.h).
#pragma once

#include "platform/art_format.h"

#include <QImage>
#include <QString>

#include <vector>

namespace art {

class Archive {
public:
    void add(platform::art::Kind kind, int id, int scale, const QImage& image);
    // False when the file cannot be written.
    [[nodiscard]] bool write(const QString& path) const;

private:
    struct Item {
        platform::art::ArtEntry entry;
        QImage pixels; // premultiplied ARGB32
    };
    std::vector<Item> items_;
};

} // namespace art
