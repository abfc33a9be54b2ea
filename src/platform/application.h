// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The framework runtime (Qt, the class registry, the event loop), the
// application object and the application's own resources.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class MouseCursor;
class Picture;

// The framework runtime. Made first and shut down last.
class Runtime {
public:
    // Brings Qt up (unless the caller already has). argc/argv stay with the caller.
    Runtime(int& argc, char** argv);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // On a Wayland desktop no client may place its own window, so the game
    // asks Qt for its X11 platform (XWayland) unless the user chose one.
    // Call before making the runtime.
    static void preferX11OnWayland();

    // The class registry: names in the order they were registered.
    void registerClass(std::string name);
    [[nodiscard]] const std::vector<std::string>& registeredClasses() const { return classes_; }

    // Runs work once, when the player first presses a mouse button or a key
    // anywhere in the program: what a game needs only once it is played waits
    // for that, and costs neither time nor memory before.
    void onFirstInput(std::function<void()> work);
    // Runs the event loop until Quit; returns Quit's exit code.
    int run();
    // Ends the runtime's part of the program; returns the exit status.
    int shutdown();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<std::string> classes_;
    int status_ = 0;
};

// The application's own resources, addressed by numeric id: pictures and
// cursors in the art archive the program carries (art_format.h).
class ResourceFork {
public:
    // Where the archive lies; its bytes must stay for the program's life.
    // Until it is set, and where it is damaged, there are no resources.
    static void setArchive(const unsigned char* begin, const unsigned char* end);

    // The picture resource with that id, or null when there is none or it
    // cannot be read. Every call makes a new picture; its pixels stay in the
    // archive until it is drawn on.
    [[nodiscard]] std::shared_ptr<Picture> GetPicture(int id) const;
    // The cursor resource with that id, or null.
    [[nodiscard]] std::shared_ptr<MouseCursor> getCursor(int id) const;
};

// The application object. Exactly one exists while the program runs.
class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application object, or null when there is none.
    [[nodiscard]] static Application* instance();
    [[nodiscard]] const ResourceFork& resourceFork() const { return resources_; }

private:
    ResourceFork resources_;
};

} // namespace platform
