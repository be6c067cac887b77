#pragma once

#include "support/ResultsSupport.h"

#include <cstdio>
#include <sys/wait.h>

namespace zelvar::test {

struct BatchOutcome {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// `text` with every `from` replaced by `to`.
inline std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Runs the real zelvar-batch with the given arguments, each passed on as it
// is; standard error is kept in `scratch` while the program runs.
inline BatchOutcome runBatchProgram(const std::vector<std::string> &arguments, const ScratchFolder &scratch)
{
    std::string command = "'" ZELVAR_BATCH "'";
    for (const std::string &argument : arguments)
        command += " '" + replaced(argument, "'", "'\\''") + "'";
    BatchOutcome outcome;
    FILE *pipe = ::popen((command + " 2>'" + scratch.path("stderr.txt") + "'").c_str(), "r");
    char buffer[4096];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        outcome.out.append(buffer, got);
    const int status = pipe ? ::pclose(pipe) : -1;
    outcome.status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = fileText(scratch.path("stderr.txt"));
    return outcome;
}

} // namespace zelvar::test
