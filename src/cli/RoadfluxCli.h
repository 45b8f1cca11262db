#pragma once
// The headless runner's command line: reads the configuration file, then carries out one of
// the commands run, new, show, generate and example. Works on the streams it is given, so that
// tests can call it in-process.

#include <iosfwd>
#include <string>

class RoadfluxCli
{
public:
    // answers: where replies to questions come from, or null when nobody can answer.
    RoadfluxCli(std::ostream& out, std::ostream& err, std::istream* answers, bool errIsTerminal);

    // The exit status: 0 on success, CliFailure's statuses otherwise.
    int run(int argc, const char* const* argv);

private:
    void loadConfiguration(const std::string& configFile) const;

    std::ostream& out;
    std::ostream& err;
    std::istream* answers;
    bool errIsTerminal;
};
