#include "tick_reader.h"

#include <unistd.h>

#include <array>
#include <cstdio>

namespace measure {

void TickReader::read()
{
    std::array<char, 4096> buffer {};
    for (;;) {
        const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
        if (got <= 0) {
            return;
        }
        feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
}

void TickReader::feed(std::string_view text)
{
    partial_.append(text);
    std::size_t start = 0;
    for (auto end = partial_.find('\n'); end != std::string::npos; end = partial_.find('\n', start)) {
        const std::string line = partial_.substr(start, end - start);
        start = end + 1;
        long long ticks = 0;
        long long ran = 0;
        long long at = 0;
        int running = 0;
        if (std::sscanf(line.c_str(), "ticks %lld %lld %lld %d", &ticks, &ran, &at, &running) == 4) {
            reports_.push_back({ ticks, ran, at });
        }
    }
    partial_.erase(0, start);
}

std::optional<TickRate> TickReader::rate(double fromMs, double toMs) const
{
    const TickReport* first = nullptr;
    const TickReport* last = nullptr;
    for (const auto& report : reports_) {
        const double atMs = static_cast<double>(report.atNs) / 1e6;
        if (first == nullptr && atMs >= fromMs) {
            first = &report;
        }
        if (atMs <= toMs) {
            last = &report;
        }
    }
    if (first == nullptr || last == nullptr || last->ranNs <= first->ranNs) {
        return std::nullopt;
    }
    const double ranSeconds = static_cast<double>(last->ranNs - first->ranNs) / 1e9;
    return TickRate { static_cast<double>(last->ticks - first->ticks) / ranSeconds, ranSeconds };
}

} // namespace measure
