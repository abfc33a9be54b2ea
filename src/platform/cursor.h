// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Mouse cursors: the standard arrow and cursors made from a picture.
#pragma once

#include <memory>

namespace platform {

namespace detail {
struct CursorData;
}

class MouseCursor {
public:
    MouseCursor(); // the standard arrow
    ~MouseCursor();
    MouseCursor(const MouseCursor&) = delete;
    MouseCursor& operator=(const MouseCursor&) = delete;

    [[nodiscard]] bool isArrow() const;
    [[nodiscard]] detail::CursorData& data() const { return *data_; }
    explicit MouseCursor(std::unique_ptr<detail::CursorData> data);

private:
    std::unique_ptr<detail::CursorData> data_;
};

// The framework's standard arrow cursor.
[[nodiscard]] const MouseCursor& ArrowCursor();

} // namespace platform
