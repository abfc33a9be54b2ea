// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/command_line.h"

#include "app/version.h"
#include "platform/display_probe.h"

#include <array>
#include <string>
#include <string_view>

namespace startup {

namespace {

constexpr std::string_view kUsage = "Usage: zindra [--help] [--version]\n";

constexpr std::string_view kHelp = "\n"
                                   "Zindra, a brick-breaking game for the mouse.\n"
                                   "\n"
                                   "Controls:\n"
                                   "  mouse over the board   steers the paddle\n"
                                   "  click on the board     launches the waiting ball\n"
                                   "  space bar              pauses the ball and lets it go on\n"
                                   "  NEU                    starts a new game\n"
                                   "  X (top right)          quits\n"
                                   "\n"
                                   "Options:\n"
                                   "  -h, --help             show this help and exit\n"
                                   "  --version              show the version and exit\n";

// Qt reads these itself; the ones that take a value swallow the next argument.
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array kQtOptions { QtOption { "platform", true }, QtOption { "platformpluginpath", true },
    QtOption { "platformtheme", true }, QtOption { "plugin", true }, QtOption { "display", true },
    QtOption { "qwindowgeometry", true }, QtOption { "geometry", true }, QtOption { "qwindowicon", true },
    QtOption { "qwindowtitle", true }, QtOption { "title", true }, QtOption { "session", true },
    QtOption { "style", true }, QtOption { "stylesheet", true }, QtOption { "reverse", false },
    QtOption { "widgetcount", false }, QtOption { "sync", false } };

const QtOption* qtOption(std::string_view argument)
{
    // Qt accepts its options with one dash or two.
    if (argument.starts_with("--")) {
        argument.remove_prefix(2);
    } else if (argument.starts_with('-')) {
        argument.remove_prefix(1);
    } else {
        return nullptr;
    }
    for (const QtOption& option : kQtOptions) {
        if (option.name == argument) {
            return &option;
        }
    }
    return nullptr;
}

// stdio rather than iostreams: the streams' start-up would cost the game
// memory for three lines of text.
void write(std::FILE* to, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), to);
}

int refuse(std::FILE* err, const std::string& problem)
{
    write(err, "zindra: " + problem + "\n");
    write(err, kUsage);
    write(err, "Try 'zindra --help' for more information.\n");
    return 2;
}

// The platform Qt will use and the X display it will open, from the options
// that name them (they win over the environment).
struct QtChoices {
    const char* platform = nullptr;
    const char* display = nullptr;
};

QtChoices qtChoices(int argc, const char* const* argv)
{
    QtChoices choices;
    for (int i = 1; i + 1 < argc; ++i) {
        if (const QtOption* option = qtOption(argv[i]); option != nullptr && option->takesValue) {
            if (option->name == "platform") {
                choices.platform = argv[i + 1];
            } else if (option->name == "display") {
                choices.display = argv[i + 1];
            }
            ++i;
        }
    }
    return choices;
}

} // namespace

std::optional<int> answerCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            write(out, kUsage);
            write(out, kHelp);
            return 0;
        }
        if (argument == "--version") {
            write(out, std::string("zindra ") + kVersion + "\n");
            return 0;
        }
        if (const QtOption* option = qtOption(argument)) {
            if (option->takesValue && ++i == argc) {
                return refuse(err, "option '" + std::string(argument) + "' needs a value");
            }
            continue;
        }
        if (argument.starts_with('-')) {
            return refuse(err, "unknown option '" + std::string(argument) + "'");
        }
        return refuse(err, "unexpected argument '" + std::string(argument) + "'");
    }
    return std::nullopt;
}

std::optional<int> answerBeforeStart(int argc, char** argv)
{
    if (auto answer = answerCommandLine(argc, argv, stdout, stderr)) {
        return answer;
    }
    const QtChoices choices = qtChoices(argc, argv);
    if (!platform::displayReachable(choices.platform, choices.display)) {
        write(stderr, "zindra: found no display to open its window on (is DISPLAY set?)\n");
        return 1;
    }
    return std::nullopt;
}

} // namespace startup
