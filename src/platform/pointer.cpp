// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/pointer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

namespace platform::detail {

PointerTracker& PointerTracker::instance()
{
    static PointerTracker* tracker = new PointerTracker; // lives as long as the application
    return *tracker;
}

PointerTracker::PointerTracker()
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        setParent(application);
        application->installEventFilter(this);
    }
}

int PointerTracker::screenX()
{
    const auto now = std::chrono::steady_clock::now();
    if (!inside_ && now - polled_ >= kPollInterval) {
        x_ = QCursor::pos().x();
        polled_ = now;
    }
    return x_;
}

bool PointerTracker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->isWidgetType()) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            x_ = static_cast<int>(static_cast<QMouseEvent*>(event)->globalPosition().x());
            inside_ = true;
            break;
        case QEvent::Enter:
            x_ = static_cast<int>(static_cast<QEnterEvent*>(event)->globalPosition().x());
            inside_ = true;
            break;
        case QEvent::Leave:
            if (static_cast<QWidget*>(watched)->isWindow()) {
                inside_ = false;
                polled_ = {};
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform::detail
