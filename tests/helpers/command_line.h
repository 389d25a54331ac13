// The argument vector of a program run from a test: "tarvo" and the given words,
// kept alive as long as the object, in the form main() receives them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

class CommandLine {
public:
    CommandLine(std::initializer_list<const char*> arguments) : words_{"tarvo"} {
        words_.insert(words_.end(), arguments.begin(), arguments.end());
        for (std::string& word : words_) argv_.push_back(word.data());
        argv_.push_back(nullptr);
    }
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    int argc() const { return static_cast<int>(words_.size()); }
    char** argv() { return argv_.data(); }

private:
    std::vector<std::string> words_;
    std::vector<char*> argv_;
};

}  // namespace testing_support
