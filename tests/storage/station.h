// A second station: this test program run again as a child process with
// "--station <role> <arguments>", talking over its standard input and output one
// line at a time. The roles are in station_roles.cpp; the program's main
// (storage_tests_main.cpp) hands "--station" command lines to them.
#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

namespace storage_tests {

class Station {
public:
    explicit Station(const std::vector<std::string>& arguments);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    void send(const std::string& line);
    std::string receive();  // the next line without its end; "" when the child closed its output
    int finish();           // closes the child's input and waits: its exit code

private:
    pid_t pid_ = -1;
    int input_ = -1;
    FILE* output_ = nullptr;
};

// Runs a role in the child; returns its exit code.
int runStation(int argc, char** argv);

}  // namespace storage_tests
