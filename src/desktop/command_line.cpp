// SPDX-License-Identifier: MIT
#include "desktop/command_line.h"

#include <algorithm>

namespace orvanel {

namespace {

// The program's own options; a new option is one more row.
struct ProgramOption {
    std::string_view name;
    bool CommandLine::*flag;
    std::string_view help;
};

constexpr ProgramOption kProgramOptions[] = {
    {"--fit", &CommandLine::fit, "show the window at the largest size the screen holds"},
    {"--last", &CommandLine::last, "open the last board, the newest of those kept"},
    {"--help", &CommandLine::help, "print this help and exit"},
    {"--version", &CommandLine::version, "print the version and exit"},
};

// The options the toolkit takes from the command line (its application
// objects' and its X11 platform's), with one dash or two; with a value, the
// value is the next argument, or for a few also follows '='.
enum class Takes { Nothing, Value, ValueOrJoined };

struct ToolkitOption {
    std::string_view name;
    Takes takes;
};

constexpr ToolkitOption kToolkitOptions[] = {
    {"-platform", Takes::Value},
    {"-platformpluginpath", Takes::Value},
    {"-platformtheme", Takes::Value},
    {"-plugin", Takes::Value},
    {"-qmljsdebugger", Takes::ValueOrJoined},
    {"-qwindowgeometry", Takes::Value},
    {"-qwindowicon", Takes::Value},
    {"-qwindowtitle", Takes::Value},
    {"-reverse", Takes::Nothing},
    {"-session", Takes::Value},
    {"-style", Takes::ValueOrJoined},
    {"-stylesheet", Takes::ValueOrJoined},
    {"-widgetcount", Takes::Nothing},
    {"-display", Takes::Value},
    {"-geometry", Takes::Value},
    {"-icon", Takes::Value},
    {"-name", Takes::Value},
    {"-title", Takes::Value},
    {"-visual", Takes::Value},
    {"-ncols", Takes::Value},
    {"-cmap", Takes::Nothing},
    {"-nograb", Takes::Nothing},
    {"-dograb", Takes::Nothing},
    {"-sync", Takes::Nothing},
    {"-graphicssystem", Takes::Value},
};

template <typename Option, std::size_t N>
const Option* find(const Option (&options)[N], std::string_view name) {
    const auto* found = std::find_if(std::begin(options), std::end(options),
                                     [name](const Option& o) { return o.name == name; });
    return found == std::end(options) ? nullptr : found;
}

constexpr std::string_view kUsage = "Usage: orvanel [OPTION]... [QT-OPTION]... [FILE]\n";

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    line.toolkitArguments.emplace_back(argc > 0 && argv[0] ? argv[0] : "orvanel");
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!arg.starts_with('-')) {
            if (!line.file.empty()) {
                line.error =
                    "one file at a time: '" + line.file + "' and '" + std::string(arg) + "'";
                break;
            }
            line.file = arg;
            continue;
        }
        if (const ProgramOption* own = find(kProgramOptions, arg)) {
            line.*(own->flag) = true;
            continue;
        }
        const std::string_view name = arg.starts_with("--") ? arg.substr(1) : arg;
        const std::size_t equals = name.find('=');
        const ToolkitOption* option = find(kToolkitOptions, name.substr(0, equals));
        const bool joined = equals != std::string_view::npos;
        if (!option || (joined && option->takes != Takes::ValueOrJoined)) {
            line.error = "unknown option '" + std::string(arg) + "'";
            break;
        }
        line.toolkitArguments.emplace_back(arg);
        if (option->takes != Takes::Nothing && !joined) {
            if (i + 1 == argc) {
                line.error = "option '" + std::string(arg) + "' needs a value";
                break;
            }
            line.toolkitArguments.emplace_back(argv[++i]);
        }
    }
    if (line.error.empty() && line.last && !line.file.empty()) {
        line.error = "'--last' opens the last board, not '" + line.file + "'";
    }
    return line;
}

std::string helpText() {
    std::size_t width = 0;
    for (const ProgramOption& o : kProgramOptions) {
        width = std::max(width, o.name.size());
    }
    std::string text(kUsage);
    text += "A classroom aid for the angles of a wedge, in one window. FILE is a\n"
            "picture saved with Ctrl+S: its board opens at the start.\n\nOptions:\n";
    for (const ProgramOption& o : kProgramOptions) {
        text += "  " + std::string(o.name) + std::string(width + 3 - o.name.size(), ' ');
        text += std::string(o.help) + '\n';
    }
    text += "\nQt's own options are passed on to it, among them -platform NAME,\n"
            "-display DISPLAY and -style NAME; see orvanel(1).\n";
    return text;
}

std::string versionText() {
    return "orvanel " ORVANEL_VERSION "\n";
}

std::string openFailedText(std::string_view file, Notice notice) {
    const NoticeText& text = noticeText(notice);
    const std::string prefix = "orvanel: " + std::string(file) + ": ";
    return prefix + std::string(text.japanese) + '\n' + prefix + std::string(text.english) + '\n';
}

std::string usageErrorText(std::string_view error) {
    return "orvanel: " + std::string(error) + '\n' + std::string(kUsage) +
           "Try 'orvanel --help' for more information.\n";
}

} // namespace orvanel
