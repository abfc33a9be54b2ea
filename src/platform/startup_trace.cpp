// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/startup_trace.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

namespace platform {

namespace {

bool tracing()
{
    static const bool on = [] {
        const char* value = std::getenv("ZINDRA_TRACE_STARTUP");
        return value != nullptr && *value != '\0' && std::string(value) != "0";
    }();
    return on;
}

double clockMs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The process's age: now less its start time, which the kernel keeps in
// clock ticks since boot. Ticks are coarse (10 ms), so the age is taken
// once, at the first step, and later steps add the monotonic time since.
double ageAtFirstStep()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto afterName = text.rfind(')');
    if (afterName == std::string::npos) {
        return 0;
    }
    // Field 22, starttime; the fields after the name start at field 3.
    const char* field = text.c_str() + afterName + 2;
    for (int i = 3; i < 22 && field != nullptr; ++i) {
        field = std::strchr(field, ' ');
        field = field != nullptr ? field + 1 : nullptr;
    }
    if (field == nullptr) {
        return 0;
    }
    const double startMs = std::strtod(field, nullptr) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return clockMs(CLOCK_BOOTTIME) - startMs;
}

double residentMb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

void traceStartup(const char* step)
{
    if (!tracing()) {
        return;
    }
    static const double firstMs = clockMs(CLOCK_MONOTONIC);
    static const double firstAgeMs = ageAtFirstStep();
    const double ageMs = firstAgeMs + clockMs(CLOCK_MONOTONIC) - firstMs;
    std::fprintf(stderr, "zindra: start-up %7.1f ms   cpu %6.1f ms   rss %5.1f MB   %s\n", ageMs,
        clockMs(CLOCK_PROCESS_CPUTIME_ID), residentMb(), step);
}

} // namespace platform
