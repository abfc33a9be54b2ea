// Inside the platform: the Qt cursor behind a MouseCursor.
#pragma once

#include <QCursor>

namespace platform::detail {

struct CursorData {
    QCursor cursor;
    bool arrow = true;
};

} // namespace platform::detail
