// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The yardstick for the game's start-up: an empty frameless Qt Widgets window
// of the game's size, and nothing else. Whatever the game costs beyond this
// is the game's own.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(900, 730);
    window.show();
    return QApplication::exec();
}
