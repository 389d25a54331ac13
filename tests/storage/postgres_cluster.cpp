#include "tests/storage/postgres_cluster.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

extern char** environ;

namespace storage_tests {

namespace {

namespace fs = std::filesystem;

// Runs a program, its output appended to `log`; its exit code (127 when it cannot start).
int runProgram(const std::vector<std::string>& words, const std::string& log) {
    std::vector<std::string> copy = words;
    std::vector<char*> argv;
    for (std::string& w : copy) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return 127;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

std::string tail(const std::string& file, std::size_t lines = 8) {
    std::ifstream in(file);
    std::vector<std::string> all;
    for (std::string line; std::getline(in, line);) all.push_back(line);
    std::string out;
    for (std::size_t i = all.size() > lines ? all.size() - lines : 0; i < all.size(); ++i)
        out += "\n    " + all[i];
    return out;
}

// The newest installed server, or TARVO_PG_BIN.
std::string serverPrograms() {
    if (const char* bin = std::getenv("TARVO_PG_BIN")) return bin;
    std::string best;
    int bestVersion = -1;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const std::string name = entry.path().filename().string();
        const int version = std::atoi(name.c_str());
        if (version > bestVersion && fs::exists(entry.path() / "bin" / "initdb", ec)) {
            bestVersion = version;
            best = (entry.path() / "bin").string();
        }
    }
    return best;
}

int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

std::string randomHex(std::size_t bytes) {
    std::random_device device;
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes; ++i) {
        const unsigned v = device() & 0xFF;
        out += digits[v >> 4];
        out += digits[v & 0x0F];
    }
    return out;
}

struct ServerUser {
    uid_t uid;
    gid_t gid;
};

}  // namespace

PostgresCluster& PostgresCluster::instance() {
    static PostgresCluster cluster;
    return cluster;
}

bool PostgresCluster::ensureRunning() {
    if (!tried_) {
        tried_ = true;
        running_ = start();
        if (!running_) stop();  // whatever was made of it goes
        if (running_)
            std::cerr << "[ POSTGRES ] test server on 127.0.0.1:" << port_ << " (" << bin_ << ")\n";
        else
            std::cerr << "[ POSTGRES ] PostgreSQL tests are SKIPPED: " << reason_ << "\n";
    }
    return running_;
}

bool PostgresCluster::unavailable(std::string reason) {
    reason_ = std::move(reason);
    return false;
}

bool PostgresCluster::start() {
    bin_ = serverPrograms();
    if (bin_.empty() || !fs::exists(fs::path(bin_) / "pg_ctl"))
        return unavailable(
            "no server programs " +
            (bin_.empty() ? std::string("under /usr/lib/postgresql") : "in " + bin_) +
            " (install the postgresql package, or set TARVO_PG_BIN)");

    // initdb refuses to run as root: the cluster then belongs to "postgres".
    ServerUser owner{getuid(), getgid()};
    asPostgresUser_ = geteuid() == 0;
    if (asPostgresUser_) {
        const passwd* postgres = getpwnam("postgres");
        if (!postgres)
            return unavailable("running as root and there is no \"postgres\" user for the server");
        owner = {postgres->pw_uid, postgres->pw_gid};
    }
    // The server's user must reach the folder: as root, /tmp rather than a private TMPDIR.
    const fs::path temporary = asPostgresUser_ ? fs::path("/tmp") : fs::temp_directory_path();
    std::string pattern = (temporary / "tarvo-pg-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return unavailable("cannot create a temporary folder");
    folder_ = pattern;
    data_ = folder_ + "/data";
    if (chown(folder_.c_str(), owner.uid, owner.gid) != 0)
        return unavailable("cannot give the temporary folder to the server's user");
    const std::string log = folder_ + "/programs.log";
    auto asServer = [&](std::vector<std::string> words) {
        if (asPostgresUser_) words.insert(words.begin(), {"runuser", "-u", "postgres", "--"});
        return words;
    };

    const fs::path templateFolder =
        temporary /
        ("tarvo-pg-template-" + std::to_string(std::hash<std::string>{}(bin_) % 1000000) + "-" +
         std::to_string(owner.uid));
    std::error_code ec;
    if (!fs::exists(templateFolder / "PG_VERSION", ec)) {
        const std::string staging = folder_ + "/initdb";
        if (runProgram(asServer({bin_ + "/initdb", "-D", staging, "-A", "trust", "-U", "postgres",
                                 "-N", "-E", "UTF8", "--locale=C"}),
                       log) != 0)
            return unavailable("initdb failed:" + tail(log));
        // Another test program may have made the template meanwhile: either will do.
        if (rename(staging.c_str(), templateFolder.c_str()) != 0) fs::remove_all(staging, ec);
    }
    if (runProgram(asServer({"cp", "-a", templateFolder.string(), data_}), log) != 0)
        return unavailable("cannot copy the cluster template:" + tail(log));

    const std::string hba = data_ + "/pg_hba.conf";
    {
        std::ofstream out(hba, std::ios::trunc);
        out << "local all postgres trust\nhost all all 127.0.0.1/32 scram-sha-256\n";
    }
    if (chown(hba.c_str(), owner.uid, owner.gid) != 0)
        return unavailable("cannot hand pg_hba.conf to the server's user");

    for (int attempt = 0; attempt < 3 && !serverStarted_; ++attempt) {
        port_ = freePort();
        const std::string options =
            "-c listen_addresses=127.0.0.1 -p " + std::to_string(port_) + " -k " + folder_ +
            " -c fsync=off -c synchronous_commit=off -c full_page_writes=off";
        if (runProgram(asServer({bin_ + "/pg_ctl", "-D", data_, "-l", folder_ + "/server.log", "-w",
                                 "-t", "60", "-o", options, "start"}),
                       log) == 0)
            serverStarted_ = true;
    }
    if (!serverStarted_)
        return unavailable("the server did not start:" + tail(folder_ + "/server.log"));

    // Should this program die without stopping the server, a helper waiting on a
    // pipe from it stops the server and removes the folder.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) == 0) {
        std::vector<std::string> words = {
            "/bin/sh", "-c", "read line; dir=$1; shift; \"$@\" >/dev/null 2>&1; rm -rf \"$dir\"",
            "watchdog", folder_};
        for (const std::string& w :
             asServer({bin_ + "/pg_ctl", "-D", data_, "-m", "immediate", "stop"}))
            words.push_back(w);
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        if (posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv.data(), environ) == 0)
            watchdog_ = fds[1];
        else
            close(fds[1]);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[0]);
    }
    return prepareDatabase();
}

bool PostgresCluster::prepareDatabase() {
    storage::postgres::ServerSettings superuser{folder_, std::to_string(port_), "postgres",
                                                "postgres"};
    auto session = storage::postgres::Session::separate(superuser);
    const std::string password = randomHex(16);
    for (const std::string& sql :
         {"CREATE ROLE " + std::string(kRole) + " LOGIN PASSWORD '" + password + "'",
          "CREATE ROLE " + std::string(kIntruder) + " LOGIN PASSWORD '" + randomHex(16) + "'",
          "CREATE DATABASE " + std::string(kDatabase) + " OWNER " + kRole +
              " ENCODING 'UTF8' TEMPLATE template0"})
        if (storage::ErrorState e = session->command(sql, {}))
            return unavailable("preparing the database: " + e.driverText);
    superuser.database = kDatabase;
    admin_ = storage::postgres::Session::separate(superuser);

    // The suite's password lives in a password file, never in the address.
    const std::string passwords = folder_ + "/pgpass";
    {
        std::ofstream out(passwords, std::ios::trunc);
        out << "127.0.0.1:" << port_ << ":*:" << kRole << ":" << password << "\n"
            << "127.0.0.1:" << port_ << ":*:" << kIntruder << ":not-" << password << "\n";
    }
    chmod(passwords.c_str(), 0600);
    setenv("PGPASSFILE", passwords.c_str(), 1);
    return true;
}

void PostgresCluster::stop() {
    admin_.reset();
    running_ = false;
    if (serverStarted_) {
        std::vector<std::string> words = {bin_ + "/pg_ctl", "-D", data_, "-m", "immediate", "stop"};
        if (asPostgresUser_) words.insert(words.begin(), {"runuser", "-u", "postgres", "--"});
        runProgram(words, "/dev/null");
        serverStarted_ = false;
    }
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        folder_.clear();
    }
    if (watchdog_ >= 0) {
        close(watchdog_);
        watchdog_ = -1;
    }
}

bool PostgresCluster::restart() {
    if (!serverStarted_) return false;
    std::vector<std::string> words = {bin_ + "/pg_ctl", "-D", data_, "-w", "-t", "60",
                                      "-m", "fast", "restart"};
    if (asPostgresUser_) words.insert(words.begin(), {"runuser", "-u", "postgres", "--"});
    const bool restarted = runProgram(words, folder_ + "/programs.log") == 0;
    if (admin_) admin_->disconnect();
    return restarted;
}

std::string PostgresCluster::address(std::string_view schema, std::string_view role) const {
    return "postgresql://" + std::string(role) + "@127.0.0.1:" + std::to_string(port_) + "/" +
           kDatabase + "/" + std::string(schema) + "/";
}

storage::ErrorState PostgresCluster::admin(const std::string& sql,
                                           std::vector<std::vector<std::string>>* rows) {
    if (!admin_) return storage::driverFailure(0, "The PostgreSQL test server is not running");
    std::lock_guard lock(admin_->mutex());
    storage::postgres::Rows result;
    if (storage::ErrorState e = admin_->command(sql, {}, &result)) return e;
    if (rows) {
        rows->clear();
        for (int r = 0; r < result.count(); ++r) {
            rows->emplace_back();
            for (int c = 0; c < result.columns(); ++c)
                rows->back().push_back(result.isNull(r, c) ? "NULL"
                                                           : std::string(result.text(r, c)));
        }
    }
    return storage::success();
}

}  // namespace storage_tests
