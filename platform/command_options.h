// The options every program of the project answers before anything else, with
// no display and no data: --help (the usage on standard output), --version, and
// an unknown "--" option (the usage on standard error, exit 2).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ProgramOptions {
    std::string program;  // "tarvo"
    std::string usage;    // the whole usage text, UTF-8, ending with a new line
    // The program's own "--" options; those that take a value ("--pdf FILE" or
    // "--pdf=FILE") are listed in `withValue`.
    std::vector<std::string> known;
    std::vector<std::string> withValue;
};

// The exit code when the command line asked for help or the version or named an
// unknown "--" option (after printing what it should); nothing otherwise.
// Single-dash options (Qt's "-platform offscreen") and other words pass.
std::optional<int> answerInformationOptions(int argc, char** argv, const ProgramOptions& options);

// The value of "--option VALUE" or "--option=VALUE" at argv[i] (moving i past a
// separate value; empty when the value is missing); nothing when argv[i] is
// another argument.
std::optional<std::string> optionValue(int argc, char** argv, int& i, std::string_view option);

// The version of the programs, "0.1".
const char* programVersion();

}  // namespace platform
