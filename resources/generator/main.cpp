// Draws the game's pictures and its cursor into a directory:
//   <dir>/pictures/168.png ... <dir>/pictures/178.png and <dir>/cursors/168.png
// It needs no display: it picks Qt's offscreen platform unless told otherwise.
#include "art.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <functional>

namespace {

struct Entry {
    const char* file; // relative to the output directory
    std::function<QImage()> draw;
};

// The ids are the keys under which the game reads them.
const Entry kEntries[] = {
    { "pictures/168.png", art::drawBall2 },
    { "pictures/169.png", art::drawHintergrund },
    { "pictures/170.png", art::drawHintergrund2 },
    { "pictures/171.png", art::drawHinternis },
    { "pictures/172.png", art::drawM1 },
    { "pictures/173.png", art::drawMaus2 },
    { "pictures/174.png", art::drawB1 },
    { "pictures/175.png", art::drawE1 },
    { "pictures/176.png", art::drawG1 },
    { "pictures/177.png", art::drawL1 },
    { "pictures/178.png", art::drawR1 },
    { "cursors/168.png", art::drawLeerCursor },
};

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
    if (!out.mkpath("pictures") || !out.mkpath("cursors")) {
        std::fprintf(stderr, "cannot create the directories under %s\n", argv[1]);
        return 1;
    }
    for (const Entry& entry : kEntries) {
        const QString path = out.filePath(QString::fromLatin1(entry.file));
        if (!entry.draw().save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
