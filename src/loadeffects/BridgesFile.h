#pragma once
// The bridges file: a header line naming the columns (name, start_m, span_m, effect, directions,
// interval_s and, optionally, lane_factors, in any order), then one bridge a line. A study's
// bridges are in STUDY.bridges beside the study file.

#include "files/FileClaims.h"
#include "loadeffects/BridgeSet.h"

#include <cstddef>
#include <string>
#include <vector>

struct BridgesFileResult
{
    BridgeSet set;
    std::vector<std::size_t> lineOfBridge;  // the file's line (from 1) of each bridge
    std::vector<std::string> problems;      // each names the file, the line and the field

    bool ok() const { return problems.empty(); }
};

namespace BridgesFile {
// "study.rfx" -> "study.bridges", in the same folder.
std::string besideStudy(const std::string& studyFile);

// Reads and checks the values, the names and each file: influence line.
BridgesFileResult read(const std::string& path);

// Problems of a set read from `path`, e.g. from BridgeSet::checkOn, in the reader's form.
std::vector<std::string> describe(const std::string& path, const BridgesFileResult& file,
                                  const std::vector<BridgeProblem>& problems);

// Writes the set whole or not at all (a new file renamed over the old, through a link the file
// it names); false when it cannot, or when the file is one of `mustNotBe` (the study, say).
bool write(const std::string& path, const BridgeSet& set, const FileClaims& mustNotBe = {});
}
