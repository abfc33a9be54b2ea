// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Where start-up spends its time and memory. With ZINDRA_TRACE_STARTUP=1 in
// the environment every step says on stderr, in one line, how long the
// program has run and how much memory it holds then:
//
//   zindra: start-up   41.2 ms   cpu 38.9 ms   rss 31.4 MB   window built
//
// The first time is that of the process itself (the dynamic loader's work
// included); without the variable a step costs one branch.
#pragma once

namespace platform {

void traceStartup(const char* step);

} // namespace platform
