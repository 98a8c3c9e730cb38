// Runs minigolf-tool as a designer runs it and keeps what it printed.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ToolRun {
    int status = -1;      // exit status; -1 when it did not exit normally
    std::string output;   // standard output and standard error together
};

inline ToolRun run_tool(const std::string& arguments)
{
    ToolRun run;
    FILE* pipe = popen((std::string(MG_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}
