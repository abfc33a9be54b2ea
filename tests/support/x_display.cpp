#include "x_display.h"

// Xlib last: its macros (None, Bool, Status, ...) clash with much else.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace xdrive {

namespace {

// A window may vanish between finding it and asking about it; such an error
// must not end the program, which is what Xlib's own handler does.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Motif window manager hints: the flag that says the decorations field counts.
constexpr long kMotifHintsDecorations = 1L << 1;

} // namespace

XDisplay::XDisplay(const std::string& name)
{
    XSetErrorHandler(ignoreXErrors);
    display_ = XOpenDisplay(name.empty() ? nullptr : name.c_str());
}

XDisplay::~XDisplay()
{
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

WindowId XDisplay::root() const
{
    return DefaultRootWindow(display_);
}

bool XDisplay::hasInputExtension() const
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor) != 0;
}

WindowId XDisplay::findWindow(std::string_view titlePrefix) const
{
    Window rootWindow = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, root(), &rootWindow, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes {};
        if (XGetWindowAttributes(display_, children[i], &attributes) != 0 && attributes.map_state == IsViewable
            && title(children[i]).starts_with(titlePrefix)) {
            found = children[i];
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

Geometry XDisplay::geometry(WindowId window) const
{
    XWindowAttributes attributes {};
    if (window == 0 || XGetWindowAttributes(display_, window, &attributes) == 0) {
        return {};
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, root(), 0, 0, &x, &y, &child);
    return { x, y, attributes.width, attributes.height };
}

std::string XDisplay::property(WindowId window, const char* name, int& format) const
{
    const Atom atom = XInternAtom(display_, name, False);
    Atom type = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    format = 0;
    if (window == 0
        || XGetWindowProperty(display_, window, atom, 0, 4096, False, AnyPropertyType, &type, &format, &count,
               &remaining, &data)
            != Success
        || data == nullptr) {
        return {};
    }
    // Xlib hands 32-bit items over as longs.
    const std::size_t itemSize = format == 32 ? sizeof(long) : format == 16 ? sizeof(short) : 1;
    std::string bytes(reinterpret_cast<const char*>(data), count * itemSize);
    XFree(data);
    return bytes;
}

std::string XDisplay::title(WindowId window) const
{
    int format = 0;
    const std::string title = property(window, "_NET_WM_NAME", format);
    return title.empty() ? property(window, "WM_NAME", format) : title;
}

SizeHints XDisplay::sizeHints(WindowId window) const
{
    XSizeHints hints {};
    long supplied = 0;
    if (window == 0 || XGetWMNormalHints(display_, window, &hints, &supplied) == 0) {
        return {};
    }
    SizeHints result;
    if ((hints.flags & PMinSize) != 0) {
        result.minWidth = hints.min_width;
        result.minHeight = hints.min_height;
    }
    if ((hints.flags & PMaxSize) != 0) {
        result.maxWidth = hints.max_width;
        result.maxHeight = hints.max_height;
    }
    return result;
}

bool XDisplay::asksForNoDecorations(WindowId window) const
{
    int format = 0;
    const std::string bytes = property(window, "_MOTIF_WM_HINTS", format);
    // flags, functions, decorations, input mode, status
    if (format != 32 || bytes.size() < 3 * sizeof(long)) {
        return false;
    }
    const auto* hints = reinterpret_cast<const long*>(bytes.data());
    return (hints[0] & kMotifHintsDecorations) != 0 && hints[2] == 0;
}

void XDisplay::movePointer(int x, int y) const
{
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
}

void XDisplay::click(int button) const
{
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display_, False);
}

bool XDisplay::pressKey(const char* keysym) const
{
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
    if (code == 0) {
        return false;
    }
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
    return true;
}

Image XDisplay::screen() const
{
    const int screenNumber = DefaultScreen(display_);
    const int width = DisplayWidth(display_, screenNumber);
    const int height = DisplayHeight(display_, screenNumber);
    XImage* grab = XGetImage(display_, root(), 0, 0, static_cast<unsigned>(width),
        static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (grab == nullptr) {
        return {};
    }
    Image image { width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height) };
    const bool plain = grab->bits_per_pixel == 32 && grab->red_mask == 0xFF0000 && grab->blue_mask == 0xFF;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(grab->data + static_cast<long>(y) * grab->bytes_per_line);
        for (int x = 0; x < width; ++x) {
            if (plain) {
                image.pixels[static_cast<std::size_t>(y) * width + x] = row[x] & 0xFFFFFFu;
                continue;
            }
            image.pixels[static_cast<std::size_t>(y) * width + x]
                = static_cast<std::uint32_t>(XGetPixel(grab, x, y)) & 0xFFFFFFu;
        }
    }
    XDestroyImage(grab);
    return image;
}

void XDisplay::moveWindow(WindowId window, int x, int y) const
{
    XMoveWindow(display_, window, x, y);
    XSync(display_, False);
}

bool XDisplay::closeWindow(WindowId window) const
{
    if (window == 0) {
        return false;
    }
    // A window manager sends the message only to a window that takes part in
    // the protocol (and kills the client otherwise).
    const Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool takesPart = false;
    if (XGetWMProtocols(display_, window, &protocols, &count) != 0) {
        for (int i = 0; i < count; ++i) {
            takesPart = takesPart || protocols[i] == deleteWindow;
        }
        XFree(protocols);
    }
    if (!takesPart) {
        return false;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display_, window, False, NoEventMask, &event) != 0;
    XSync(display_, False);
    return sent;
}

} // namespace xdrive
