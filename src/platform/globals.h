// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The framework's global helpers: colours, the failure the game raises when it
// uses a control or picture that is not there, the few conversions the game's
// arithmetic relies on, Quit and the pointer's screen position.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// 24-bit RGB, written 0xRRGGBB.
using Color = std::uint32_t;

// Index of a control that is not an element of a control array.
inline constexpr std::int32_t kNoIndex = INT32_MIN;

// Raised when the game uses a control or a picture that does not exist.
// Every event dispatch catches it (see dispatch below); nothing lets it reach Qt.
class NilObjectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal text of an integer: no sign and no space for values of 0 or more.
[[nodiscard]] std::string Str(std::int32_t value);
// The last n characters of text (all of it when it is shorter).
[[nodiscard]] std::string Right(std::string_view text, int n);
[[nodiscard]] double Min(double a, double b);
[[nodiscard]] double Max(double a, double b);
// Double to Int32: the fraction is dropped (toward zero). Values beyond the
// Int32 range saturate instead of being undefined; NaN gives 0.
[[nodiscard]] std::int32_t ToInt32(double value);

// Ends the event loop with the given exit code. A second call while the
// application is quitting does nothing.
void Quit(int code);
// True once Quit has been called.
[[nodiscard]] bool quitRequested();
// The exit code given to the first Quit.
[[nodiscard]] int quitCode();
// Forgets an earlier Quit; for tests that quit more than once in one process.
void resetQuit();

// The pointer's horizontal position on the screen, in pixels.
[[nodiscard]] int MouseX();
// Test seam: replaces the screen's pointer position; an empty function restores it.
void setMouseXSource(std::function<int()> source);

// Reports a failure that escaped an event handler on stderr (one line).
void reportFailure(std::string_view where, std::string_view what);
// Number of failures reported so far; tests read it.
[[nodiscard]] int reportedFailures();

// Runs one event handler. A failure it raises leaves the handler, is reported
// and goes no further: the event loop never sees it.
template <class Handler> void dispatch(std::string_view where, Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& failure) {
        reportFailure(where, failure.what());
    } catch (...) {
        reportFailure(where, "unknown failure");
    }
}

} // namespace platform
