// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "archive.h"

#include <QFile>

#include <cstring>

namespace art {

using namespace platform::art;

void Archive::add(Kind kind, int id, int scale, const QImage& image)
{
    Item item { {}, image.convertToFormat(QImage::Format_ARGB32_Premultiplied) };
    bool opaque = true;
    for (int y = 0; y < item.pixels.height() && opaque; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(item.pixels.constScanLine(y));
        for (int x = 0; x < item.pixels.width(); ++x) {
            opaque = opaque && qAlpha(line[x]) == 255;
        }
    }
    item.entry = { kind, id, std::uint32_t(scale), std::uint32_t(item.pixels.width()),
        std::uint32_t(item.pixels.height()), opaque ? kOpaque : 0u, 0 };
    items_.push_back(std::move(item));
}

bool Archive::write(const QString& path) const
{
    const auto aligned = [](std::uint64_t at) { return (at + kAlignment - 1) / kAlignment * kAlignment; };
    ArtHeader header {};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.count = std::uint32_t(items_.size());

    QByteArray bytes(qsizetype(sizeof header + items_.size() * sizeof(ArtEntry)), '\0');
    std::memcpy(bytes.data(), &header, sizeof header);
    std::uint64_t at = aligned(std::uint64_t(bytes.size()));
    for (std::size_t i = 0; i < items_.size(); ++i) {
        ArtEntry entry = items_[i].entry;
        entry.offset = at;
        std::memcpy(bytes.data() + sizeof header + i * sizeof entry, &entry, sizeof entry);
        at = aligned(at + std::uint64_t(entry.width) * entry.height * 4);
    }
    for (const Item& item : items_) {
        bytes.resize(qsizetype(aligned(std::uint64_t(bytes.size()))), '\0');
        for (int y = 0; y < item.pixels.height(); ++y) {
            bytes.append(reinterpret_cast<const char*>(item.pixels.constScanLine(y)), item.pixels.width() * 4);
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace art
