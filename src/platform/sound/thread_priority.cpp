// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/sound/thread_priority.h"

#include <dbus/dbus.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

namespace {

// Below the sound server's own threads (PulseAudio's run at 5): the server
// mixes what the game renders, so it comes first.
constexpr int kRealTimePriority = 4;
// What sound servers take for their own threads when real time is refused.
constexpr int kNiceLevel = -11;
constexpr int kReplyTimeoutMs = 1000;
constexpr const char* kBroker = "org.freedesktop.RealtimeKit1";
constexpr const char* kBrokerPath = "/org/freedesktop/RealtimeKit1";

using Reply = std::unique_ptr<DBusMessage, decltype(&dbus_message_unref)>;

// A blocking call to the broker; null with `why` filled when it fails.
Reply call(DBusConnection* bus, DBusMessage* message, std::string& why)
{
    DBusError error;
    dbus_error_init(&error);
    Reply reply(
        dbus_connection_send_with_reply_and_block(bus, message, kReplyTimeoutMs, &error), dbus_message_unref);
    dbus_message_unref(message);
    if (!reply) {
        why = error.message != nullptr ? error.message : "no answer";
        dbus_error_free(&error);
    }
    return reply;
}

// The longest a real-time thread of ours may run without blocking, as the
// broker demands it (microseconds).
std::optional<std::int64_t> rtTimeCeiling(DBusConnection* bus, std::string& why)
{
    DBusMessage* get
        = dbus_message_new_method_call(kBroker, kBrokerPath, "org.freedesktop.DBus.Properties", "Get");
    const char* interface = kBroker;
    const char* property = "RTTimeUSecMax";
    dbus_message_append_args(
        get, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &property, DBUS_TYPE_INVALID);
    const Reply reply = call(bus, get, why);
    DBusMessageIter value;
    DBusMessageIter variant;
    if (!reply || !dbus_message_iter_init(reply.get(), &value)
        || dbus_message_iter_get_arg_type(&value) != DBUS_TYPE_VARIANT) {
        return std::nullopt;
    }
    dbus_message_iter_recurse(&value, &variant);
    if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_INT64) {
        why = "RTTimeUSecMax is no number";
        return std::nullopt;
    }
    dbus_int64_t ceiling = 0;
    dbus_message_iter_get_basic(&variant, &ceiling);
    return ceiling;
}

// The broker lends real time only to a process that cannot hog a core with
// it: the kernel must stop a real-time thread that runs longer than the
// ceiling without blocking. The rendering thread blocks every few milliseconds.
bool limitRealTime(std::int64_t ceilingUs, std::string& why)
{
    rlimit limit {};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0) {
        why = "no RLIMIT_RTTIME";
        return false;
    }
    const auto ceiling = static_cast<rlim_t>(ceilingUs);
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max <= ceiling) {
        return true;
    }
    limit.rlim_cur = limit.rlim_max = ceiling;
    if (setrlimit(RLIMIT_RTTIME, &limit) != 0) {
        why = "RLIMIT_RTTIME cannot be lowered";
        return false;
    }
    return true;
}

// MakeThreadRealtime (priority, u32) or MakeThreadHighPriority (nice level, i32).
bool ask(DBusConnection* bus, const char* method, int type, const void* level, std::string& why)
{
    DBusMessage* message = dbus_message_new_method_call(kBroker, kBrokerPath, kBroker, method);
    const dbus_uint64_t thread = static_cast<dbus_uint64_t>(gettid());
    dbus_message_append_args(message, DBUS_TYPE_UINT64, &thread, type, level, DBUS_TYPE_INVALID);
    return static_cast<bool>(call(bus, message, why));
}

} // namespace

std::string raiseThisThread()
{
    sched_param priority {};
    priority.sched_priority = kRealTimePriority;
    const std::string realTime = "realtime " + std::to_string(kRealTimePriority);
    if (pthread_setschedparam(pthread_self(), SCHED_RR | SCHED_RESET_ON_FORK, &priority) == 0) {
        return realTime + " system";
    }
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
    if (bus == nullptr) {
        dbus_error_free(&error);
        return "normal (no system bus)";
    }
    dbus_connection_set_exit_on_disconnect(bus, false);
    std::string why;
    const dbus_uint32_t rtPriority = kRealTimePriority;
    const dbus_int32_t nice = kNiceLevel;
    std::string slot;
    if (const auto ceiling = rtTimeCeiling(bus, why); ceiling && limitRealTime(*ceiling, why)
        && ask(bus, "MakeThreadRealtime", DBUS_TYPE_UINT32, &rtPriority, why)) {
        slot = realTime + " RealtimeKit";
    } else if (std::string refused; ask(bus, "MakeThreadHighPriority", DBUS_TYPE_INT32, &nice, refused)) {
        slot = "nice " + std::to_string(kNiceLevel) + " RealtimeKit (real time refused: " + why + ")";
    } else {
        slot = "normal (RealtimeKit refused: " + why + ")";
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return slot;
}

} // namespace platform
