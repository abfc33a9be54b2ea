// A connection to an X server and what a player or a window manager does
// through it: find the game's window, see where it is and what it asks for,
// move the pointer, click and type with real input events (XTest), read the
// screen back, move the window and ask it to close. The end-to-end tests and
// the whole-process measurement both drive the game through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct _XDisplay;

namespace xdrive {

struct Geometry {
    int x = 0; // screen position of the content's top-left pixel
    int y = 0;
    int width = 0;
    int height = 0;
};

// The size limits a window gives the window manager; zero where it gives none.
struct SizeHints {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

// Screen pixels as 0xRRGGBB, row after row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

using WindowId = unsigned long;

class XDisplay {
public:
    // name as in DISPLAY (":1"); empty: the DISPLAY of the environment.
    explicit XDisplay(const std::string& name = {});
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    [[nodiscard]] bool isOpen() const { return display_ != nullptr; }
    // For what only Xlib's own calls can do (damage, shared memory).
    [[nodiscard]] _XDisplay* handle() const { return display_; }
    [[nodiscard]] WindowId root() const;
    [[nodiscard]] bool hasInputExtension() const;

    // The first viewable top-level window whose title starts with prefix; 0 if none.
    [[nodiscard]] WindowId findWindow(std::string_view titlePrefix) const;
    [[nodiscard]] Geometry geometry(WindowId window) const;
    [[nodiscard]] std::string title(WindowId window) const;
    [[nodiscard]] SizeHints sizeHints(WindowId window) const;
    // True when the window asks for no title bar and no frame (Motif hints).
    [[nodiscard]] bool asksForNoDecorations(WindowId window) const;

    // Real input, in screen coordinates; each is on the server when it returns.
    void movePointer(int x, int y) const;
    void click(int button = 1) const;
    // keysym as X names it: "space", "a", "Escape". False when there is no such key.
    bool pressKey(const char* keysym) const;

    // The whole screen; empty on failure.
    [[nodiscard]] Image screen() const;

    // As a window manager does: moves the window; sends it WM_DELETE_WINDOW
    // (false when it does not take part in that protocol).
    void moveWindow(WindowId window, int x, int y) const;
    bool closeWindow(WindowId window) const;

private:
    [[nodiscard]] std::string property(WindowId window, const char* name, int& format) const;

    _XDisplay* display_ = nullptr;
};

} // namespace xdrive
