#pragma once
// How the study document and the checks talk to the user: the headless runner prints, the
// desktop program shows message boxes captioned "Roadflux".

#include <string>

class UserMessages
{
public:
    virtual ~UserMessages() = default;

    // A refusal or a warning (exclamation icon on the desktop).
    virtual void warn(const std::string& text) = 0;
    // A completion notice (information icon on the desktop).
    virtual void inform(const std::string& text) = 0;
    // A Yes/No question; true only for Yes.
    virtual bool ask(const std::string& text) = 0;
};
