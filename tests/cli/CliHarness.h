#pragma once
// Runs the runner's command line in-process and keeps what it printed.

#include "cli/RoadfluxCli.h"

#include <sstream>
#include <string>
#include <vector>

struct CliResult
{
    int status = -1;
    std::string out;
    std::string err;
};

// The example's configuration holds every default, so tests never depend on the current
// directory's Roadflux.ini nor leave the configuration changed.
inline std::string exampleConfig()
{
    return std::string(ROADFLUX_SOURCE_DIR) + "/examples/Roadflux.ini";
}

inline CliResult runCli(std::vector<std::string> args, const std::string& answers = "", bool canAsk = false)
{
    args.insert(args.begin(), "roadflux-cli");
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(answers);
    RoadfluxCli cli(out, err, canAsk ? &in : nullptr, false);
    CliResult result;
    result.status = cli.run(static_cast<int>(argv.size()), argv.data());
    result.out = out.str();
    result.err = err.str();
    return result;
}

// The same, with the example's configuration.
inline CliResult runConfigured(std::vector<std::string> args, const std::string& answers = "", bool canAsk = false)
{
    args.push_back("--config");
    args.push_back(exampleConfig());
    return runCli(std::move(args), answers, canAsk);
}
