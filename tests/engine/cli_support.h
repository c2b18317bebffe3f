// Runs the command-line program for the tests of its behaviour.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace zarno::test {

// Runs the program with args (a shell command line) and returns its exit status, -1 when it
// did not exit; with output, its standard output and error together.
inline int Run_Cli(const std::string& args, std::string* output = nullptr) {
    const std::string cmd = std::string(ZARNO_CLI_PROGRAM) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    std::string text;
    char buf[256];
    while (fgets(buf, sizeof buf, p) != nullptr) {
        text += buf;
    }
    const int status = pclose(p);
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace zarno::test
