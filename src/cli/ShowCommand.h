#pragma once
// `roadflux-cli show`: prints a study readably: its settings, where its files resolve to, its
// road features and detectors, and the ten distributions of each vehicle class.

#include <iosfwd>
#include <string>

class StudyDocument;

class ShowCommand
{
public:
    explicit ShowCommand(std::ostream& out);

    // The exit status; throws CliFailure when the study cannot be read.
    int execute(const std::string& study);

    void printSettings(const StudyDocument& document) const;
    void printFeatures(const StudyDocument& document) const;
    void printDetectors(const StudyDocument& document) const;
    void printParameterSets(const StudyDocument& document) const;

private:
    std::ostream& out;
};
