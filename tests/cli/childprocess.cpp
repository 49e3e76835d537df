#include "tests/cli/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

extern char** environ;

namespace lq::test {
namespace {

// A pipe whose ends close themselves.
class Pipe {
public:
    Pipe() {
        if (pipe2(fds_.data(), O_CLOEXEC) != 0) fds_ = {-1, -1};
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    int ReadEnd() const { return fds_[0]; }
    int WriteEnd() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    std::array<int, 2> fds_{-1, -1};
};

}  // namespace

ChildResult RunChild(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    ChildResult result;
    Pipe out;
    Pipe err;
    if (out.ReadEnd() < 0 || err.ReadEnd() < 0) return result;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.WriteEnd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.WriteEnd(), STDERR_FILENO);
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    out.CloseWrite();
    err.CloseWrite();
    if (spawned != 0) return result;

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::array<pollfd, 2> polls = {{{out.ReadEnd(), POLLIN, 0}, {err.ReadEnd(), POLLIN, 0}}};
    std::array<std::string*, 2> sinks = {&result.out, &result.err};
    bool killed = false;
    while (polls[0].fd >= 0 || polls[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (poll(polls.data(), polls.size(), static_cast<int>(left.count())) < 0) break;
        for (std::size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].fd < 0 || polls[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t got = read(polls[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                polls[i].fd = -1;  // end of output (the Pipe closes the descriptor)
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!killed && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

}  // namespace lq::test
