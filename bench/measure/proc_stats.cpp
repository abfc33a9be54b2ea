#include "proc_stats.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace measure {

namespace {

[[nodiscard]] std::optional<std::int64_t> number(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc {} || end == text.data()) {
        return std::nullopt;
    }
    return value;
}

[[nodiscard]] std::string slurp(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::optional<std::int64_t> parseCpuTicks(std::string_view statLine)
{
    const auto close = statLine.rfind(')');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    // After the name: state (field 3), ... utime is field 14, stime field 15.
    constexpr int kUtimeField = 14;
    std::string_view rest = statLine.substr(close + 1);
    int field = 2;
    std::optional<std::int64_t> utime;
    while (!rest.empty()) {
        const auto start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(start);
        const auto end = rest.find(' ');
        const std::string_view token = rest.substr(0, end);
        ++field;
        if (field == kUtimeField) {
            utime = number(token);
        } else if (field == kUtimeField + 1) {
            const auto stime = number(token);
            if (!utime || !stime) {
                return std::nullopt;
            }
            return *utime + *stime;
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end);
    }
    return std::nullopt;
}

std::optional<std::int64_t> parseResidentKb(std::string_view status)
{
    constexpr std::string_view kKey = "VmRSS:";
    std::size_t at = 0;
    while (at < status.size()) {
        const auto end = status.find('\n', at);
        std::string_view line
            = status.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (line.substr(0, kKey.size()) == kKey) {
            line.remove_prefix(kKey.size());
            const auto digits = line.find_first_not_of(" \t");
            return digits == std::string_view::npos ? std::nullopt : number(line.substr(digits));
        }
        if (end == std::string_view::npos) {
            break;
        }
        at = end + 1;
    }
    return std::nullopt;
}

std::optional<std::int64_t> cpuTicks(pid_t pid)
{
    return parseCpuTicks(slurp("/proc/" + std::to_string(pid) + "/stat"));
}

std::optional<std::int64_t> residentKb(pid_t pid)
{
    return parseResidentKb(slurp("/proc/" + std::to_string(pid) + "/status"));
}

long ticksPerSecond()
{
    return sysconf(_SC_CLK_TCK);
}

} // namespace measure
