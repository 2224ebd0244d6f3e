// SPDX-License-Identifier: MIT
// The program's command line: its own options, and the toolkit's, which are
// passed on. Read before anything is shown, so that --help, --version and a
// mistyped option need no display.
#pragma once

#include "window/notices.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

struct CommandLine {
    bool fit = false;     // --fit: the window as large as the screen holds
    bool last = false;    // --last: the newest kept board opened at the start
    bool help = false;    // --help: the usage, and nothing else
    bool version = false; // --version: the version, and nothing else
    // The file whose board opens at the start (the one argument that is not
    // an option); empty for none.
    std::string file;
    // What is wrong with the command line, in one line; empty when nothing is.
    std::string error;
    // The arguments for the toolkit: the program's name and the toolkit's
    // options with their values.
    std::vector<std::string> toolkitArguments;
};

// Reads the arguments as `main` receives them. The program's options and
// the file are taken out; the toolkit's (-platform NAME, --style=NAME, ...)
// are kept whole, a value included; any other option, a second file and a
// file with --last are errors.
CommandLine parseCommandLine(int argc, const char* const* argv);

// What --help prints: the usage and the options.
std::string helpText();
// What --version prints: "orvanel 1.0.0".
std::string versionText();
// What a usage error prints: the error, the usage, where to find more.
std::string usageErrorText(std::string_view error);

// What the program prints when the board of `file` (a file given or the
// last kept board) cannot be opened: the notice, a line in each language.
std::string openFailedText(std::string_view file, Notice notice);

// The exit status when the board to open at the start cannot be opened, and
// that of a usage error.
inline constexpr int kOpenFailedStatus = 1;
inline constexpr int kUsageErrorStatus = 2;

} // namespace orvanel
