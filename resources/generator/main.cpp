// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Draws the game's pictures and its cursor into the archive the game embeds,
// and its icons beside it:
//   <dir>/zindra.art                          the pictures at scale 1 and 2, the cursor
//   <dir>/icons/16.png ... 512.png, <dir>/icons/scalable.svg
// It needs no display: it picks Qt's offscreen platform unless told otherwise.
#include "archive.h"
#include "art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

using platform::art::Kind;

struct Entry {
    int id; // the key under which the game reads the picture
    QImage (*draw)(int scale);
};

const Entry kPictures[] = {
    { 168, art::drawBall2 },
    { 169, art::drawHintergrund },
    { 170, art::drawHintergrund2 },
    { 171, art::drawHinternis },
    { 172, art::drawM1 },
    { 173, art::drawMaus2 },
    { 174, art::drawB1 },
    { 175, art::drawE1 },
    { 176, art::drawG1 },
    { 177, art::drawL1 },
    { 178, art::drawR1 },
};

constexpr int kIconSizes[] = { 16, 32, 48, 64, 128, 256, 512 };

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("icons")) {
        std::fprintf(stderr, "cannot create the directories under %s\n", argv[1]);
        return 1;
    }
    // Scale 1 first and scale 2 after it: a game at scale 1 never has a page
    // of the finer art read in.
    art::Archive archive;
    for (const int scale : { 1, 2 }) {
        for (const Entry& entry : kPictures) {
            archive.add(Kind::Picture, entry.id, scale, entry.draw(scale));
        }
    }
    archive.add(Kind::Cursor, 168, 1, art::drawLeerCursor());
    bool written = archive.write(out.filePath("zindra.art"));
    for (const int size : kIconSizes) {
        written = written
            && art::drawIcon(size).save(out.filePath(QStringLiteral("icons/%1.png").arg(size)), "PNG");
    }
    written = written && writeFile(out.filePath("icons/scalable.svg"), art::iconSvg());
    if (!written) {
        std::fprintf(stderr, "cannot write the art under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
