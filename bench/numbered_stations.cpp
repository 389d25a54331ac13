#include "bench/numbered_stations.h"

#include "bench/bench_data.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

namespace {

void fail(const std::string& what) {
    std::cerr << "numbered inserts: " << what << "\n";
    std::exit(1);
}

}  // namespace

int numberStation(const std::string& disk, int count, const std::string& station) {
    storage::DataFile f(bench::numberedLayout());
    f.setName(disk);
    f.sendOption("Recover=30");
    if (f.open()) return 1;
    const auto& key = bench::numberedLayout().keys().front();
    int retries = 0;
    for (int i = 0; i < count; ++i) {
        for (;;) {
            f.set(key);
            const int rc = f.previous();
            if (rc != 0 && rc != 33) return 2;
            const std::int64_t next = rc == 33 ? 1 : f.record().getInt(0) + 1;
            f.record().clear();
            f.record().setInt(0, next);
            f.record().setText(1, station);
            const int added = f.add();
            if (added == 0) break;
            if (added != 40) return 3;
            ++retries;
        }
    }
    std::cout << retries << std::endl;
    return 0;
}

void numberedInserts(benchmark::State& state, const std::string& disk) {
    constexpr int kStations = 4, kEach = 1000;
    for (auto _ : state) {
        storage::DataFile f(bench::numberedLayout());
        f.setName(disk);
        if (f.create()) fail("creating the numbered file: " + f.driverErrorText());
        char self[4096] = {};
        if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) fail("no /proc/self/exe");
        std::vector<pid_t> children;
        std::vector<FILE*> outputs;
        const auto start = std::chrono::steady_clock::now();
        for (int s = 1; s <= kStations; ++s) {
            int out[2];
            if (pipe(out) != 0) fail("pipe");
            std::vector<std::string> words = {self, "--number", disk, std::to_string(kEach),
                                              "S" + std::to_string(s)};
            std::vector<char*> argv;
            for (auto& w : words) argv.push_back(w.data());
            argv.push_back(nullptr);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
            posix_spawn_file_actions_addclose(&actions, out[0]);
            pid_t pid = 0;
            if (posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ) != 0)
                fail("spawn");
            posix_spawn_file_actions_destroy(&actions);
            close(out[1]);
            children.push_back(pid);
            outputs.push_back(fdopen(out[0], "r"));
        }
        long retries = 0;
        for (std::size_t i = 0; i < children.size(); ++i) {
            long r = 0;
            if (std::fscanf(outputs[i], "%ld", &r) == 1) retries += r;
            std::fclose(outputs[i]);
            int status = 0;
            waitpid(children[i], &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                state.SkipWithError("an inserting process failed");
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);

        // Every number once, each station's share complete.
        if (f.open()) fail("opening the numbered file");
        f.set(bench::numberedLayout().keys().front());
        std::int64_t expected = 1;
        std::map<std::string, int> perStation;
        bool contiguous = true;
        while (f.next() == 0) {
            contiguous = contiguous && f.record().getInt(0) == expected++;
            ++perStation[f.record().getText(1)];
        }
        const bool complete = expected - 1 == kStations * kEach && perStation.size() == kStations;
        if (!contiguous || !complete) state.SkipWithError("numbers missing or duplicated");
        state.counters["records"] = static_cast<double>(expected - 1);
        state.counters["retries_on_40"] = static_cast<double>(retries);
        state.counters["inserts_per_s"] = static_cast<double>(kStations * kEach) / seconds;
    }
}

}  // namespace bench
