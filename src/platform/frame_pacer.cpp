// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/frame_pacer.h"

#include "platform/widgets.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <xcb/present.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <functional>

namespace platform::detail {

// The vertical blanks of the screen a window is on, told by the X server
// (Present: every current X server, XWayland and Xvfb among them). It asks
// on the connection Qt draws through: the answers arrive in order with Qt's
// own events, on the thread that paints, and no second connection is opened
// for a few bytes a frame.
class VerticalBlank final : public QAbstractNativeEventFilter {
public:
    VerticalBlank(xcb_connection_t* x, std::function<void()> onBlank)
        : x_(x)
        , onBlank_(std::move(onBlank))
    {
        // Asked now, answered long before the first frame needs it.
        xcb_prefetch_extension_data(x_, &xcb_present_id);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~VerticalBlank() override
    {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            app->removeNativeEventFilter(this);
        }
    }
    VerticalBlank(const VerticalBlank&) = delete;
    VerticalBlank& operator=(const VerticalBlank&) = delete;

    // Asks to be told of the next vertical blank; false where the server
    // cannot tell (no Present) or the window has no X window yet.
    bool request(const QWidget& window)
    {
        const auto id = static_cast<xcb_window_t>(window.internalWinId());
        if (id == 0 || !present()) {
            return false;
        }
        if (id != window_) {
            window_ = id;
            eventId_ = xcb_generate_id(x_);
            xcb_present_select_input(x_, eventId_, id, XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY);
        }
        // Target 0, divisor 1, remainder 0: the first blank from now on.
        xcb_present_notify_msc(x_, id, ++serial_, 0, 1, 0);
        xcb_flush(x_);
        return true;
    }

    // The answer to the last request no longer counts.
    void cancel() { ++serial_; }

    bool nativeEventFilter(const QByteArray& /*type*/, void* message, qintptr* /*result*/) override
    {
        const auto* event = static_cast<const xcb_ge_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC || event->extension != opcode_
            || event->event_type != XCB_PRESENT_EVENT_COMPLETE_NOTIFY) {
            return false;
        }
        const auto* complete = static_cast<const xcb_present_complete_notify_event_t*>(message);
        if (complete->event != eventId_) {
            return false;
        }
        if (complete->kind == XCB_PRESENT_COMPLETE_KIND_NOTIFY_MSC && complete->serial == serial_) {
            onBlank_();
        }
        return true;
    }

private:
    bool present()
    {
        if (!checked_) {
            checked_ = true;
            const xcb_query_extension_reply_t* extension = xcb_get_extension_data(x_, &xcb_present_id);
            if (extension != nullptr && extension->present != 0) {
                opcode_ = extension->major_opcode;
                xcb_discard_reply(x_, xcb_present_query_version(x_, 1, 0).sequence);
            }
        }
        return opcode_ != 0;
    }

    xcb_connection_t* x_;
    std::function<void()> onBlank_;
    bool checked_ = false;
    std::uint8_t opcode_ = 0; // of Present on this server; 0: none
    xcb_window_t window_ = 0; // the window whose blanks are asked for
    std::uint32_t eventId_ = 0;
    std::uint32_t serial_ = 0;
};

namespace {

constexpr int kMaxRects = 16;

// Present tells of every blank. One that has not come after this long never
// will (the window went, the server dropped the request): the frame goes
// out anyway.
constexpr std::chrono::milliseconds kBlankOverdue { 100 };

std::chrono::nanoseconds framePeriod()
{
    double hertz = 60.0;
    if (QScreen* screen = QGuiApplication::primaryScreen();
        screen != nullptr && screen->refreshRate() > 1.0) {
        hertz = std::clamp(screen->refreshRate(), 30.0, 240.0);
    }
    return std::chrono::nanoseconds(static_cast<long long>(1e9 / hertz));
}

// The vertical blanks where Qt runs on X; elsewhere (Wayland, the headless
// offscreen platform of the tests) the deadlines stand in for them.
std::unique_ptr<VerticalBlank> verticalBlank(std::function<void()> onBlank)
{
#if QT_CONFIG(xcb)
    // The offscreen platform answers too, with no connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
        return std::make_unique<VerticalBlank>(x11->connection(), std::move(onBlank));
    }
#endif
    return nullptr;
}

} // namespace

FramePacer& FramePacer::instance()
{
    static FramePacer* pacer = new FramePacer; // lives as long as the application
    return *pacer;
}

FramePacer::FramePacer()
    : blank_(verticalBlank([this] { frameDue(); }))
    , period_(framePeriod())
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &FramePacer::frameDue);
}

FramePacer::~FramePacer() = default;

void FramePacer::schedule(ControlWidget* widget, const QRect& area)
{
    auto entry = std::find_if(
        pending_.begin(), pending_.end(), [widget](const auto& e) { return e.first == widget; });
    if (entry == pending_.end()) {
        pending_.emplace_back(widget, QRegion(area));
    } else {
        entry->second += area;
        // A long wait between frames (a busy machine) must not pile up a
        // region of thousands of small rectangles: past a few, one rectangle
        // around them all is cheaper to keep and to paint.
        if (entry->second.rectCount() > kMaxRects) {
            entry->second = entry->second.boundingRect();
        }
    }
    if (!awake_) {
        awake_ = true;
        // Not now: the handler drawing this may not be done (the paddle is
        // wiped before it is drawn anew), and half of its drawing on screen
        // is a frame without a paddle.
        QMetaObject::invokeMethod(this, &FramePacer::firstFrame, Qt::QueuedConnection);
    }
}

void FramePacer::forget(ControlWidget* widget)
{
    std::erase_if(pending_, [widget](const auto& e) { return e.first == widget; });
}

void FramePacer::flush()
{
    for (auto& [widget, region] : pending_) {
        widget->update(region);
    }
    pending_.clear();
}

void FramePacer::firstFrame()
{
    deadline_ = FrameClock::now(); // the deadlines count from this frame
    frameDue();
}

void FramePacer::frameDue()
{
    timer_.stop();
    if (pending_.empty()) {
        awake_ = false;
        if (blank_ != nullptr) {
            blank_->cancel();
        }
        return;
    }
    waitForRefresh(*pending_.front().first->window());
    flush();
    // Painted now, not at Qt's next turn: a tick in between would add half
    // of its drawing to this frame.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void FramePacer::waitForRefresh(const QWidget& window)
{
    if (blank_ != nullptr && blank_->request(window)) {
        timer_.start(kBlankOverdue);
        return;
    }
    const auto now = FrameClock::now();
    deadline_ = nextDeadline(deadline_, now, period_);
    // Qt's timers count whole milliseconds: rounded up, no frame is early,
    // and as the next deadline counts from this one, none is late by more.
    timer_.start(std::chrono::ceil<std::chrono::milliseconds>(deadline_ - now));
}

} // namespace platform::detail
