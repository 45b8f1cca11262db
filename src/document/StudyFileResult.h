#pragma once
// The outcome of opening or saving a study file, with the text the user is shown. A file that
// could not be read at all also carries the system's reason and the file's name.

#include <string>
#include <utility>

class StudyFileResult
{
public:
    enum Outcome
    {
        ok,
        unexpectedFormat,  // ends early, holds another class or schema, or trailing bytes
        openFailed,        // cannot be read at all
        saveFailed,        // cannot be written; the previous file is left as it was
    };

    StudyFileResult(Outcome outcome) : outcome(outcome) {}  // NOLINT(google-explicit-constructor)
    StudyFileResult(Outcome outcome, std::string reason) : outcome(outcome), reason(std::move(reason)) {}

    Outcome getOutcome() const { return outcome; }
    // E.g. "/home/me/study.rfx: Permission denied"; "" when there is none to tell.
    const std::string& getReason() const { return reason; }

    // Outcomes compare equal whatever their reasons.
    friend bool operator==(const StudyFileResult& a, const StudyFileResult& b) { return a.outcome == b.outcome; }

private:
    Outcome outcome;
    std::string reason;
};

inline std::string studyFileMessage(const StudyFileResult& result)
{
    std::string message;
    switch (result.getOutcome())
    {
    case StudyFileResult::unexpectedFormat: message = "Unexpected file format."; break;
    case StudyFileResult::openFailed: message = "Failed to open document."; break;
    case StudyFileResult::saveFailed: message = "Failed to save document."; break;
    case StudyFileResult::ok: break;
    }
    if (!message.empty() && !result.getReason().empty())
        message += " " + result.getReason();
    return message;
}
