// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game takes no arguments of its own beyond --help and --version; both are
// answered, like a mistyped option, before anything of the window exists, so
// they work without a display. Qt's own options (-platform, -display, ...)
// are let through to Qt.
#pragma once

#include <cstdio>
#include <optional>

namespace startup {

// Answers the command line when it asks for something other than the game:
// the exit status after printing the help (0), the version (0) or an error
// with the usage (2). Nothing when the game should start.
[[nodiscard]] std::optional<int> answerCommandLine(
    int argc, const char* const* argv, std::FILE* out, std::FILE* err);

// The whole check before start-up: the command line, then whether there is a
// display to open the window on (if not: one line on err and 1).
[[nodiscard]] std::optional<int> answerBeforeStart(int argc, char** argv);

} // namespace startup
