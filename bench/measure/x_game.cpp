#include "x_game.h"

#include "child_process.h"
#include "x_display.h"

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>

// Xlib last: its macros (None, Bool, Status, ...) clash with much else.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xdamage.h>

namespace measure {

using namespace xdrive::layout;
using xdrive::nowMs;

namespace {

// Looking near the ball: a square this big holds it even after a few ticks.
constexpr int kNearSize = 160;

// A top-level window at least this big is the game's, not one of the
// toolkit's 1 x 1 helpers.
constexpr int kMinGameSide = 100;

struct ShmImage {
    XImage* image = nullptr;
    XShmSegmentInfo segment {};

    bool create(Display* display, int width, int height)
    {
        const int screen = DefaultScreen(display);
        image = XShmCreateImage(display, DefaultVisual(display, screen),
            static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr, &segment,
            static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image == nullptr || image->bits_per_pixel != 32) {
            return false;
        }
        segment.shmid = shmget(IPC_PRIVATE,
            static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height),
            IPC_CREAT | 0600);
        if (segment.shmid < 0) {
            return false;
        }
        segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
        segment.readOnly = False;
        const bool attached
            = segment.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(display, &segment) != 0;
        XSync(display, False);
        shmctl(segment.shmid, IPC_RMID, nullptr); // gone once both sides detach
        return attached;
    }

    void destroy(Display* display)
    {
        if (image == nullptr) {
            return;
        }
        XShmDetach(display, &segment);
        XDestroyImage(image); // frees the XImage, not the segment
        shmdt(segment.shmaddr);
        image = nullptr;
    }
};

} // namespace

struct XGame::Impl {
    xdrive::XDisplay x; // the DISPLAY of the environment
    Display* display = x.handle();
    Window root = 0;
    int damageEventBase = 0;
    Window game = 0;
    int gameX = 0; // screen position of the window's content
    int gameY = 0;
    std::map<Window, Damage> damages;
    ShmImage board;
    ShmImage near;
};

XGame::XGame()
    : impl_(std::make_unique<Impl>())
{
    if (impl_->display == nullptr) {
        error_ = "cannot open the display";
        return;
    }
    Display* display = impl_->display;
    impl_->root = DefaultRootWindow(display);
    int errorBase = 0;
    if (!impl_->x.hasInputExtension()) {
        error_ = "the server has no XTEST";
    } else if (XDamageQueryExtension(display, &impl_->damageEventBase, &errorBase) == 0) {
        error_ = "the server has no DAMAGE";
    } else if (XShmQueryExtension(display) == 0 || !impl_->board.create(display, kBoardWidth, kBoardHeight)
        || !impl_->near.create(display, kNearSize, kNearSize)) {
        error_ = "the server shares no 32-bit images (MIT-SHM)";
    }
}

XGame::~XGame()
{
    if (impl_->display == nullptr) {
        return;
    }
    impl_->board.destroy(impl_->display);
    impl_->near.destroy(impl_->display);
}

bool XGame::connected() const
{
    return error_.empty();
}

void XGame::watchNewWindows()
{
    XSelectInput(impl_->display, impl_->root, SubstructureNotifyMask);
    XSync(impl_->display, False);
}

void XGame::locateWindow()
{
    const xdrive::Geometry at = impl_->x.geometry(impl_->game);
    impl_->gameX = at.x;
    impl_->gameY = at.y;
}

void XGame::handle(const void* any)
{
    const auto& event = *static_cast<const XEvent*>(any);
    const double at = nowMs();
    Impl& x = *impl_;
    switch (event.type) {
    case CreateNotify:
        // Every new top-level window is watched from birth: the game's first
        // drawing comes right after its mapping.
        if (event.xcreatewindow.parent == x.root && event.xcreatewindow.override_redirect == 0) {
            x.damages[event.xcreatewindow.window]
                = XDamageCreate(x.display, event.xcreatewindow.window, XDamageReportRawRectangles);
        }
        return;
    case MapNotify:
        if (x.game == 0 && event.xmap.event == x.root) {
            XWindowAttributes attributes {};
            if (XGetWindowAttributes(x.display, event.xmap.window, &attributes) != 0
                && attributes.width >= kMinGameSide && attributes.height >= kMinGameSide) {
                mappedAt_ = at;
                x.game = event.xmap.window;
                locateWindow();
            }
        }
        return;
    case ConfigureNotify:
        if (event.xconfigure.window == x.game && x.game != 0) {
            locateWindow();
        }
        return;
    case DestroyNotify:
        x.damages.erase(event.xdestroywindow.window);
        if (event.xdestroywindow.window == x.game) {
            x.game = 0;
        }
        return;
    default:
        break;
    }
    if (event.type == x.damageEventBase + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (damage.drawable != x.game || x.game == 0) {
            return;
        }
        if (!firstDrawnAt_) {
            firstDrawnAt_ = at;
        }
        lastDrawnAt_ = at;
        updates_.drawn(static_cast<std::uint32_t>(damage.timestamp));
    }
}

void XGame::drainEvents()
{
    Display* display = impl_->display;
    while (XPending(display) > 0) {
        XEvent event {};
        XNextEvent(display, &event);
        handle(&event);
    }
}

void XGame::pump(double timeoutMs)
{
    const double deadline = nowMs() + timeoutMs;
    for (;;) {
        drainEvents();
        const double left = deadline - nowMs();
        if (left <= 0) {
            return;
        }
        pollfd fds[2] = { { ConnectionNumber(impl_->display), POLLIN, 0 }, { extraFd_, POLLIN, 0 } };
        const double whole = std::floor(left / 1000.0);
        const timespec wait { static_cast<time_t>(whole), static_cast<long>((left - whole * 1000.0) * 1e6) };
        const int ready = ppoll(fds, extraFd_ >= 0 ? 2 : 1, &wait, nullptr);
        if (ready > 0 && extraFd_ >= 0 && (fds[1].revents & POLLIN) != 0) {
            drainEvents(); // what came along, before the caller reads its pipe
            return;
        }
    }
}

std::optional<BoardImage> XGame::readBoard(std::optional<BallSighting> near)
{
    Impl& x = *impl_;
    if (x.game == 0) {
        return std::nullopt;
    }
    ShmImage& shm = near ? x.near : x.board;
    int left = 0;
    int top = 0;
    if (near) {
        left = std::clamp(near->x - kNearSize / 2, 0, kBoardWidth - kNearSize);
        top = std::clamp(near->y - kNearSize / 2, 0, kBoardHeight - kNearSize);
    }
    if (XShmGetImage(x.display, x.game, shm.image, kBoardLeft + left, kBoardTop + top, AllPlanes) == 0) {
        return std::nullopt;
    }
    BoardImage image;
    image.pixels = reinterpret_cast<const std::uint32_t*>(shm.image->data);
    image.width = shm.image->width;
    image.height = shm.image->height;
    image.stride = shm.image->bytes_per_line / 4;
    image.left = left;
    image.top = top;
    return image;
}

void XGame::movePointer(int x, int y)
{
    impl_->x.movePointer(impl_->gameX + x, impl_->gameY + y);
}

void XGame::click()
{
    impl_->x.click();
}

void XGame::steer(int paddleMiddle)
{
    movePointer(kBoardLeft + paddleMiddle, kBoardTop + kSteeringY);
}

void XGame::clickNeu()
{
    movePointer(kNeuCentreX, kNeuCentreY);
    click();
}

void XGame::pointerAway()
{
    // Below the window, which stands at the top of the screen.
    impl_->x.movePointer(5, DisplayHeight(impl_->display, DefaultScreen(impl_->display)) - 5);
}

} // namespace measure
