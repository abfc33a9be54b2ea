// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/cursor.h"

#include "platform/cursor_data.h"

namespace platform {

MouseCursor::MouseCursor()
    : data_(std::make_unique<detail::CursorData>(detail::CursorData { Qt::ArrowCursor, true }))
{
}

MouseCursor::MouseCursor(std::unique_ptr<detail::CursorData> data)
    : data_(std::move(data))
{
}

MouseCursor::~MouseCursor() = default;

bool MouseCursor::isArrow() const
{
    return data_->arrow;
}

const MouseCursor& ArrowCursor()
{
    static const MouseCursor arrow;
    return arrow;
}

} // namespace platform
