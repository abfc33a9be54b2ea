// Draws the game's pictures and its cursor into the archive the game embeds:
//   zindra_artgen <file>
// It needs no display: it picks Qt's offscreen platform unless told otherwise.
#include "archive.h"
#include "art.h"

#include <QGuiApplication>

#include <cstdio>
#include <functional>

namespace {

using platform::art::Kind;

struct Entry {
    Kind kind;
    int id;
    std::function<QImage()> draw;
};

// The ids are the keys under which the game reads them.
const Entry kEntries[] = {
    { Kind::Picture, 168, art::drawBall2 },
    { Kind::Picture, 169, art::drawHintergrund },
    { Kind::Picture, 170, art::drawHintergrund2 },
    { Kind::Picture, 171, art::drawHinternis },
    { Kind::Picture, 172, art::drawM1 },
    { Kind::Picture, 173, art::drawMaus2 },
    { Kind::Picture, 174, art::drawB1 },
    { Kind::Picture, 175, art::drawE1 },
    { Kind::Picture, 176, art::drawG1 },
    { Kind::Picture, 177, art::drawL1 },
    { Kind::Picture, 178, art::drawR1 },
    { Kind::Cursor, 168, art::drawLeerCursor },
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <archive file>\n", argv[0]);
        return 2;
    }
    art::Archive archive;
    for (const Entry& entry : kEntries) {
        archive.add(entry.kind, entry.id, 1, entry.draw());
    }
    if (!archive.write(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
