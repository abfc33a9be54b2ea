// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The application object and the program's start-up and shutdown.
#pragma once

#include "platform/application.h"

#include <string>
#include <vector>

// The application class: adds nothing to the framework's.
class App : public platform::Application { };

// The application object, or null before start-up made it.
App* AppInstance();

namespace startup {

// The program's classes, in the order they are registered.
[[nodiscard]] const std::vector<std::string>& programClasses();

// Start-up, event loop and shutdown; the result is the process's exit status.
int run(int argc, char** argv);

// The shutdown steps after the event loop: the cached pictures and the cursor,
// then the window. Returns what was released, in order.
std::vector<std::string> releaseEverything();

} // namespace startup
