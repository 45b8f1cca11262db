#pragma once
// The study's settings that its binary file has no place for, kept in a small text file beside
// it so that the study file stays readable by every earlier version: STUDY.options (for
// study.rfx, study.options), one setting a line as "key = value". Blank lines and lines that
// start with # are passed over. The one key is release-order, file (the default) or per-lane.

#include "engine/ReleaseOrder.h"
#include "files/FileClaims.h"

#include <optional>
#include <string>
#include <vector>

struct StudyOptions
{
    ReleaseOrder releaseOrder = ReleaseOrder::file;

    bool isDefault() const { return releaseOrder == ReleaseOrder::file; }
};

struct StudyOptionsFileResult
{
    StudyOptions options;
    std::vector<std::string> problems;  // each names the file and, for a bad line, its number

    bool ok() const { return problems.empty(); }
};

namespace StudyOptionsFile {
// "study.rfx" -> "study.options", in the same folder.
std::string besideStudy(const std::string& studyFile);

// The settings of the file; those of a line with a problem keep their defaults.
StudyOptionsFileResult read(const std::string& path);

// The file's text for these settings.
std::string text(const StudyOptions& options);

// Writes the file whole or not at all (through a link, the file it names); the reason when it
// cannot, or when the file is one of `mustNotBe` (the study, say).
std::optional<std::string> write(const std::string& path, const StudyOptions& options,
                                 const FileClaims& mustNotBe = {});
}
