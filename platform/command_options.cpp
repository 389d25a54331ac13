#include "platform/command_options.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#ifndef TARVO_VERSION
#define TARVO_VERSION "unknown"
#endif

namespace platform {

namespace {

bool listed(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

const char* programVersion() { return TARVO_VERSION; }

std::optional<int> answerInformationOptions(int argc, char** argv, const ProgramOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(options.usage.c_str(), stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("%s %s\n", options.program.c_str(), programVersion());
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.size() < 3 || argument.substr(0, 2) != "--") continue;
        const std::string_view name = argument.substr(0, argument.find('='));
        if (listed(options.withValue, name)) {
            if (name.size() == argument.size()) ++i;  // the value follows
            continue;
        }
        if (listed(options.known, name) && name.size() == argument.size()) continue;
        std::fprintf(stderr, "%s: unknown option %.*s\n", options.program.c_str(),
                     static_cast<int>(argument.size()), argument.data());
        std::fputs(options.usage.c_str(), stderr);
        return 2;
    }
    return std::nullopt;
}

std::optional<std::string> optionValue(int argc, char** argv, int& i, std::string_view option) {
    const std::string_view arg = argv[i];
    if (arg == option) return i + 1 < argc ? std::string(argv[++i]) : std::string();
    if (arg.size() > option.size() && arg.substr(0, option.size()) == option &&
        arg[option.size()] == '=')
        return std::string(arg.substr(option.size() + 1));
    return std::nullopt;
}

}  // namespace platform
