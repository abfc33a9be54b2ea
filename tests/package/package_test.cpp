// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The Debian package as a user's machine gets it: unpacked into a fresh root,
// its menu entry and metadata checked by the desktop's own validators, its
// binaries by Debian's hardening check, its program answering the command
// line without a display and, started as the menu entry says, opening its
// window.
#include "game_session.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace {

const QString kId = QStringLiteral(ZINDRA_APP_ID);

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result run(const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        return { -1, {}, QStringLiteral("did not finish: ") + program }; // QProcess kills it on the way out
    }
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

// The package unpacked once for both tests.
class Package : public testing::Test {
protected:
    void SetUp() override
    {
        static const Result unpacked
            = run(QStringLiteral("dpkg-deb"), { QStringLiteral("-x"), package(), root_.path() });
        ASSERT_EQ(unpacked.status, 0) << unpacked.err.toStdString();
    }

    static QString package() { return QStringLiteral(ZINDRA_PACKAGE); }
    static QString path(const QString& inRoot) { return root_.filePath(inRoot); }

private:
    static inline QTemporaryDir root_;
};

} // namespace

TEST_F(Package, InstallsWhatTheDesktopLooksForAndTheValidatorsAcceptIt)
{
    const Result depends
        = run(QStringLiteral("dpkg-deb"), { QStringLiteral("-f"), package(), QStringLiteral("Depends") });
    for (const char* wanted : { "libc6", "libqt6widgets6", "libqt6gui6", "libfluidsynth3", "libxcb1",
             "timgm6mb-soundfont | fluid-soundfont-gm", "fonts-dejavu-core" }) {
        EXPECT_TRUE(depends.out.contains(QLatin1String(wanted)))
            << wanted << " missing from " << depends.out.toStdString() << depends.err.toStdString();
    }
    const QString desktop = path(QStringLiteral("usr/share/applications/%1.desktop").arg(kId));
    const QString metainfo = path(QStringLiteral("usr/share/metainfo/%1.metainfo.xml").arg(kId));
    const QStringList binaries { path(QStringLiteral("usr/games/zindra")),
        path(QStringLiteral(ZINDRA_SOUND_MODULE)) };
    for (const QString& file :
        { binaries[0], binaries[1], desktop, metainfo, path(QStringLiteral("usr/share/man/man6/zindra.6.gz")),
            path(QStringLiteral("usr/share/zindra/zindra.sf2")),
            path(QStringLiteral("usr/share/doc/zindra/copyright")),
            path(QStringLiteral("usr/share/doc/zindra/changelog.gz")),
            path(QStringLiteral("usr/share/icons/hicolor/scalable/apps/%1.svg").arg(kId)) }) {
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    }
    for (const int size : { 16, 32, 48, 64, 128, 256, 512 }) {
        const QImage icon(
            path(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << "icon of " << size;
        EXPECT_TRUE(icon.hasAlphaChannel());
    }

    const Result entry = run(QStringLiteral("desktop-file-validate"), { desktop });
    EXPECT_EQ(entry.status, 0);
    EXPECT_EQ(entry.out + entry.err, QString()) << "no error and no warning";
    const Result metadata = run(
        QStringLiteral("appstreamcli"), { QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo });
    EXPECT_EQ(metadata.status, 0) << metadata.out.toStdString();
    EXPECT_FALSE(metadata.out.contains(QStringLiteral("E: "))) << metadata.out.toStdString();
    // Control flow protection left out: Debian 12's C library start-up files
    // lack it, so no program linked there carries it, not even Debian's own.
    const Result hardening = run(
        QStringLiteral("hardening-check"), QStringList { QStringLiteral("--nocfprotection") } + binaries);
    EXPECT_EQ(hardening.status, 0) << hardening.out.toStdString() << hardening.err.toStdString();
}

TEST_F(Package, TheMenuEntryStartsTheGameWhichAnswersItsCommandLine)
{
    const QString exec
        = QSettings(path(QStringLiteral("usr/share/applications/%1.desktop").arg(kId)), QSettings::IniFormat)
              .value(QStringLiteral("Desktop Entry/Exec"))
              .toString();
    ASSERT_FALSE(exec.isEmpty());
    // A bare name, found on PATH: here, in the unpacked usr/games.
    const QString program = path(QStringLiteral("usr/games/") + exec.section(QLatin1Char(' '), 0, 0));
    ASSERT_TRUE(QFile::exists(program)) << program.toStdString();
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" }) {
        noDisplay.remove(QString::fromLatin1(name));
    }
    QProcessEnvironment deadDisplay = noDisplay;
    deadDisplay.insert(QStringLiteral("DISPLAY"), QStringLiteral(":999"));
    const QString version = QStringLiteral("zindra " ZINDRA_VERSION "\n");
    // The arguments, the environment; the status, a line stdout holds, a line stderr holds.
    const auto args = [](auto... each) { return QStringList { QString::fromLatin1(each)... }; };
    for (const auto& [arguments, environment, status, out, err] : {
             std::tuple { args("--version"), noDisplay, 0, version, QString() },
             { args("--help"), noDisplay, 0, QStringLiteral("space bar"), QString() },
             { args("-platform", "xcb", "-h"), noDisplay, 0, QStringLiteral("Usage: zindra"), QString() },
             { args("--bogus"), noDisplay, 2, QString(), QStringLiteral("unknown option '--bogus'") },
             { args("level3"), noDisplay, 2, QString(), QStringLiteral("Usage: zindra") },
             { args("-display"), noDisplay, 2, QString(), QStringLiteral("needs a value") },
             { args(), noDisplay, 1, QString(), QStringLiteral("no display") },
             { args(), deadDisplay, 1, QString(), QStringLiteral("no display") },
         }) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Result result = run(program, arguments, environment);
        EXPECT_EQ(result.status, status) << result.err.toStdString();
        EXPECT_TRUE(result.out.contains(out)) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains(err)) << result.err.toStdString();
        if (status == 0) {
            EXPECT_EQ(result.err, QString());
        } else {
            EXPECT_EQ(result.out, QString()) << "a refusal goes to stderr alone";
        }
        if (status == 1) {
            EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << "one line: " << result.err.toStdString();
        }
    }
    if (!support::GameSession::installed()) {
        GTEST_SKIP() << "no X session for the window: Xvfb is not installed";
    }
    support::GameSession session(program.toStdString());
    ASSERT_TRUE(session.start()) << session.error() << "\n" << session.gameOutput().toStdString();
    EXPECT_TRUE(session.hints().title.starts_with("Zindra")) << session.hints().title;
}
