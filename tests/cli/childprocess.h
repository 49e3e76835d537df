// Runs a program as a child process and collects its exit status, stdout and stderr.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace lq::test {

struct ChildResult {
    int exitCode = -1;  // -1: did not exit normally (killed, or could not be started)
    std::string out;
    std::string err;
};

// argv[0] is the program's path. stdin is /dev/null. A child still running after the time-out
// is killed (its result then has exitCode -1).
ChildResult RunChild(const std::vector<std::string>& argv,
                     std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace lq::test
