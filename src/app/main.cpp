// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Zindra: a brick-breaking game for the mouse.
#include "app/app.h"
#include "app/command_line.h"

int main(int argc, char** argv)
{
    if (const auto answer = startup::answerBeforeStart(argc, argv)) {
        return *answer;
    }
    return startup::run(argc, argv);
}
