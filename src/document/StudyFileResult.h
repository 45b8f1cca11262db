#pragma once
// The outcome of opening or saving a study file, with the text the user is shown.

#include <string>

enum class StudyFileResult
{
    ok,
    unexpectedFormat,  // ends early, holds another class or schema, or trailing bytes
    openFailed,        // cannot be read at all
    saveFailed,        // cannot be written; the previous file is left as it was
};

inline std::string studyFileMessage(StudyFileResult result)
{
    switch (result)
    {
    case StudyFileResult::unexpectedFormat: return "Unexpected file format.";
    case StudyFileResult::openFailed: return "Failed to open document.";
    case StudyFileResult::saveFailed: return "Failed to save document.";
    case StudyFileResult::ok: break;
    }
    return "";
}
