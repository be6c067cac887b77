#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace zelvar::test {

struct BatchOutcome {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out; // standard output
};

// Runs the real zelvar-batch program with the given (shell-quoted)
// arguments; standard error goes to errorFile ("/dev/null" to drop it).
inline BatchOutcome runBatchProgram(const std::string &arguments, const std::string &errorFile)
{
    const std::string command =
        std::string("'") + ZELVAR_BATCH + "' " + arguments + " 2>'" + errorFile + "'";
    BatchOutcome outcome;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.out.append(buffer, got);
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

} // namespace zelvar::test
