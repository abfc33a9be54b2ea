// Draws the game's pictures, its cursor and its icons into a directory:
//   <dir>/pictures/168.png ... 178.png      the pictures at scale 1
//   <dir>/pictures/168@2x.png ... 178@2x.png  the same at scale 2
//   <dir>/cursors/168.png
//   <dir>/icons/16.png ... 512.png, <dir>/icons/scalable.svg
// It needs no display: it picks Qt's offscreen platform unless told otherwise.
#include "art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

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

constexpr int kScales[] = { 1, 2 };
constexpr int kIconSizes[] = { 16, 32, 48, 64, 128, 256, 512 };

// The one place that knows how a picture is stored: the game's reader
// (ResourceFork::GetPicture) must agree with it.
bool writePicture(const QImage& image, const QDir& out, int id, int scale)
{
    const QString name = scale == 1 ? QStringLiteral("pictures/%1.png").arg(id)
                                    : QStringLiteral("pictures/%1@%2x.png").arg(id).arg(scale);
    return image.save(out.filePath(name), "PNG");
}

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
    if (!out.mkpath("pictures") || !out.mkpath("cursors") || !out.mkpath("icons")) {
        std::fprintf(stderr, "cannot create the directories under %s\n", argv[1]);
        return 1;
    }
    bool written = true;
    for (const Entry& entry : kPictures) {
        for (const int scale : kScales) {
            written = written && writePicture(entry.draw(scale), out, entry.id, scale);
        }
    }
    written = written && art::drawLeerCursor().save(out.filePath("cursors/168.png"), "PNG");
    for (const int size : kIconSizes) {
        written = written
            && art::drawIcon(size).save(out.filePath(QStringLiteral("icons/%1.png").arg(size)), "PNG");
    }
    written = written && writeFile(out.filePath("icons/scalable.svg"), art::iconSvg());
    if (!written) {
        std::fprintf(stderr, "cannot write the pictures under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
