// SPDX-License-Identifier: MIT
// The program's command line: its own options, and the toolkit's, which are
// passed on. Read before anything is shown, so that --help, --version and a
// mistyped option need no display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

struct CommandLine {
    bool fit = false;     // --fit: the window as large as the screen holds
    bool help = false;    // --help: the usage, and nothing else
    bool version = false; // --version: the version, and nothing else
    // What is wrong with the command line, in one line; empty when nothing is.
    std::string error;
    // The arguments for the toolkit: the program's name, the toolkit's
    // options with their values, and any argument that is not an option.
    std::vector<std::string> toolkitArguments;
};

// Reads the arguments as `main` receives them. The program's options are
// taken out; the toolkit's (-platform NAME, --style=NAME, ...) are kept
// whole, a value included; any other option is an error.
CommandLine parseCommandLine(int argc, const char* const* argv);

// What --help prints: the usage and the options.
std::string helpText();
// What --version prints: "orvanel 1.0.0".
std::string versionText();
// What a usage error prints: the error, the usage, where to find more.
std::string usageErrorText(std::string_view error);

// The exit status of a usage error.
inline constexpr int kUsageErrorStatus = 2;

} // namespace orvanel
