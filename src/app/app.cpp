// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/app.h"

#include "game/fenster1.h"
#include "platform/globals.h"
#include "platform/note_player.h"
#include "platform/startup_trace.h"
#include "resources/resources.h"

#include <exception>
#include <memory>

namespace {
App* theApp = nullptr;
}

App* AppInstance()
{
    return theApp;
}

namespace startup {

const std::vector<std::string>& programClasses()
{
    static const std::vector<std::string> classes = { "App", "Fenster1", "Fenster1.noch", "Fenster1.st",
        "Fenster1.StaticText1", "Fenster1.zahl", "Fenster1.Timer1", "Knopf" };
    return classes;
}

std::vector<std::string> releaseEverything()
{
    std::vector<std::string> released = resources::releaseAll();
    if (Fenster1Exists()) {
        releaseFenster1();
        released.emplace_back("Fenster1");
    }
    return released;
}

int run(int argc, char** argv)
{
    platform::traceStartup("main");
    platform::Runtime::preferX11OnWayland();
    platform::Runtime runtime(argc, argv); // 1. the framework runtime
    platform::traceStartup("framework up");
    for (const char* frameworkClass : { "Window", "Canvas", "GroupBox", "StaticText", "Rectangle", "Timer",
             "NotePlayer", "Picture", "Graphics", "MouseCursor" }) {
        runtime.registerClass(frameworkClass); // 2. the framework's classes,
    }
    for (const auto& programClass : programClasses()) {
        runtime.registerClass(programClass); // then the program's own
    }
    bool failed = false;
    std::unique_ptr<App> app;
    try {
        // 3. No external classes and no plug-ins; 4. no document types.
        app = std::make_unique<App>(); // 5. the application object
        theApp = app.get();
        // 6. No menu handlers.
        Fenster1Instance(); // 7. the window, with its controls, opened
        // The synthesizer and its libraries (some 16 MB) load on a thread of
        // their own once the player first clicks: a game cannot sound before
        // the click that launches its ball.
        runtime.onFirstInput(platform::prepareDefaultNoteOutput);
        runtime.run(); // 8. until Quit
    } catch (const std::exception& failure) {
        platform::reportFailure("start-up", failure.what());
        failed = true;
    } catch (...) {
        platform::reportFailure("start-up", "unknown failure");
        failed = true;
    }
    releaseEverything();
    theApp = nullptr;
    app.reset();
    const int status = runtime.shutdown();
    // A failure that ended the program is not reported as success.
    return failed && status == 0 ? 1 : status;
}

} // namespace startup
