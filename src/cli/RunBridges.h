#pragma once
// The bridges of a headless run: the file named by --bridges, else STUDY.bridges beside the
// study when there is one. Read and checked against the study's road before the run touches any
// file; the load effects are then followed step by step and summed up after the run.

#include "files/FileClaims.h"
#include "loadeffects/LoadEffectRun.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Sim;
class StudyDocument;

class RunBridges
{
public:
    // No value when there is no bridges file; throws CliFailure naming every bad line and field.
    static std::optional<RunBridges> load(const std::string& studyFile, const std::string& bridgesOption,
                                          const StudyDocument& document);

    // After the run's set-up: creates the output files; throws CliFailure when one cannot be.
    std::unique_ptr<LoadEffectRun> start(const Sim& sim, const std::string& metricsFolder) const;

    // One line per bridge: the largest effect and, from the complete intervals, the Gumbel fit
    // and the return level of `returnYears` years of the traffic files' calendar.
    static void printSummary(std::ostream& out, const LoadEffectRun& run, double returnYears);

    const std::string& getFile() const { return file; }
    // The files the bridges read (the bridges file, influence lines) and the load-effect files
    // they write, to be checked and claimed with every other file of the run.
    FileClaims files(const std::string& metricsFolder) const;

private:
    std::string file;
    std::vector<PreparedBridge> bridges;
    RoadLayout road;
};
