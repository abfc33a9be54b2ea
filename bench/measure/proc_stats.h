// What the kernel says about a process: its CPU time and its resident memory,
// read from /proc the way top and ps read them.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace measure {

// utime + stime from a /proc/PID/stat line, in clock ticks (sysconf(_SC_CLK_TCK)
// per second). The command name in parentheses may hold spaces and
// parentheses itself, so the fields are counted from the last ')'.
[[nodiscard]] std::optional<std::int64_t> parseCpuTicks(std::string_view statLine);
// VmRSS from the text of /proc/PID/status, in kB.
[[nodiscard]] std::optional<std::int64_t> parseResidentKb(std::string_view status);

[[nodiscard]] std::optional<std::int64_t> cpuTicks(pid_t pid);
[[nodiscard]] std::optional<std::int64_t> residentKb(pid_t pid);
[[nodiscard]] long ticksPerSecond();

} // namespace measure
