// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/globals.h"

#include "platform/pointer.h"

#include <QCoreApplication>
#include <QCursor>

#include <cmath>
#include <cstdio>
#include <limits>

namespace platform {

namespace {
bool quitting = false;
int exitCode = 0;
int failures = 0;
std::function<int()> mouseXSource;
} // namespace

std::string Str(std::int32_t value)
{
    return std::to_string(value);
}

std::string Right(std::string_view text, int n)
{
    if (n <= 0) {
        return {};
    }
    const auto count = static_cast<std::size_t>(n);
    return std::string(count >= text.size() ? text : text.substr(text.size() - count));
}

double Min(double a, double b)
{
    return a < b ? a : b;
}
double Max(double a, double b)
{
    return a > b ? a : b;
}

std::int32_t ToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value); // truncates toward zero
}

void Quit(int code)
{
    if (quitting) {
        return;
    }
    quitting = true;
    exitCode = code;
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::exit(code);
    }
}

bool quitRequested()
{
    return quitting;
}
int quitCode()
{
    return exitCode;
}
void resetQuit()
{
    quitting = false;
    exitCode = 0;
}

int MouseX()
{
    if (mouseXSource) {
        return mouseXSource();
    }
    return detail::PointerTracker::instance().screenX();
}

void setMouseXSource(std::function<int()> source)
{
    mouseXSource = std::move(source);
}

void reportFailure(std::string_view where, std::string_view what)
{
    // A failure in the timer's handler comes back 250 times a second: the
    // same failure again is only counted, and said at 10, 100, 1000, ... times.
    static std::string last;
    static long repeats = 0;
    ++failures;
    std::string report = std::string(where) + ": " + std::string(what);
    if (report == last) {
        ++repeats;
        long power = 10;
        while (power < repeats) {
            power *= 10;
        }
        if (power == repeats) {
            std::fprintf(stderr, "zindra: the same failure %ld times\n", repeats);
        }
        return;
    }
    last = std::move(report);
    repeats = 1;
    std::fprintf(stderr, "zindra: failure in %s\n", last.c_str());
}

int reportedFailures()
{
    return failures;
}

} // namespace platform
