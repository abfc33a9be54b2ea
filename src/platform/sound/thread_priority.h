// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The rendering thread's place in the scheduler. On a busy machine a thread at
// normal priority can wait tens of milliseconds for a core, longer than the
// sound server's buffer lasts. A player runs the game as a normal user, who
// may not raise a thread's priority; the desktop's broker (RealtimeKit, on the
// system bus) lends a real-time slot to a thread that blocks often, or a
// higher nice level where it refuses that.
#pragma once

#include <string>

namespace platform {

// Raises the calling thread as far as it is let: a real-time slot the system
// grants unasked (a raised RLIMIT_RTPRIO, or the right to set it), else one
// from the broker, else a higher nice level from the broker, else nothing.
// Says what it got, for the note log: "realtime 4 system", "realtime 4
// RealtimeKit", "nice -11 RealtimeKit", or "normal" and why. Never writes to
// stderr: a machine without a system bus is no fault.
[[nodiscard]] std::string raiseThisThread();

} // namespace platform
