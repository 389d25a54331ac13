#include "tests/storage/station.h"

#include <cstring>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace storage_tests {

Station::Station(const std::vector<std::string>& arguments) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) throw std::runtime_error("pipe failed");
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        throw std::runtime_error("no /proc/self/exe");

    std::vector<std::string> words = {self, "--station"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, toChild[1]);
    posix_spawn_file_actions_addclose(&actions, fromChild[0]);
    const int rc = posix_spawn(&pid_, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (rc != 0) throw std::runtime_error(std::string("posix_spawn failed: ") + std::strerror(rc));
    input_ = toChild[1];
    output_ = fdopen(fromChild[0], "r");
}

Station::~Station() { finish(); }

void Station::send(const std::string& line) {
    const std::string text = line + "\n";
    if (input_ >= 0 && write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("the station does not listen");
}

std::string Station::receive() {
    if (!output_) return {};
    char buffer[1024];
    if (!std::fgets(buffer, sizeof buffer, output_)) return {};
    std::string line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

int Station::finish() {
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
    if (output_) {
        // Read what the child still says, so that it never writes into a closed pipe.
        while (std::fgetc(output_) != EOF) {
        }
        std::fclose(output_);
        output_ = nullptr;
    }
    if (pid_ <= 0) return -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

}  // namespace storage_tests
