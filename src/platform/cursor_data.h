// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Inside the platform: the Qt cursor behind a MouseCursor.
#pragma once

#include <QCursor>

namespace platform::detail {

struct CursorData {
    QCursor cursor;
    bool arrow = true;
};

} // namespace platform::detail
