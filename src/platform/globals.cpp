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
    ++failures;
    std::fprintf(stderr, "zindra: failure in %.*s: %.*s\n", static_cast<int>(where.size()), where.data(),
        static_cast<int>(what.size()), what.data());
}

int reportedFailures()
{
    return failures;
}

} // namespace platform
