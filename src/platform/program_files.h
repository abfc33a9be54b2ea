// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Where a file that comes with the program lies: beside the program in the
// build tree, or in its install directory named relative to the program, so
// that any install prefix works.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

[[nodiscard]] inline std::vector<std::filesystem::path> programFileCandidates(
    const std::string& name, const std::filesystem::path& installedRelativeToProgram)
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    const auto dir = program.parent_path();
    return { dir / name, dir / installedRelativeToProgram / name };
}

} // namespace platform
