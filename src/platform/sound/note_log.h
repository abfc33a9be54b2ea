// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A log of what the sound output does, with the time of each line on the
// monotonic clock (microseconds), for the tests and the benchmark that hold
// the game's notes against what the sound server played. Off unless the
// environment names a file in ZINDRA_NOTE_LOG.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace platform {

class NoteLog {
public:
    NoteLog()
    {
        if (const char* path = std::getenv("ZINDRA_NOTE_LOG")) {
            file_ = std::fopen(path, "w");
        }
    }
    ~NoteLog()
    {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    NoteLog(const NoteLog&) = delete;
    NoteLog& operator=(const NoteLog&) = delete;

    [[nodiscard]] bool on() const { return file_ != nullptr; }

    // One line: "<microseconds> <what>". Lines from two threads never mix:
    // stdio locks the file for each call.
    void line(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (file_ == nullptr) {
            return;
        }
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        char what[128];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(what, sizeof what, format, arguments);
        va_end(arguments);
        std::fprintf(
            file_, "%lld %s\n", static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000, what);
        std::fflush(file_);
    }

private:
    std::FILE* file_ = nullptr;
};

} // namespace platform
