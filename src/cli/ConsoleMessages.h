#pragma once
// The runner's way of telling the user things: warnings and refusals on the error stream,
// notices on the output stream, questions answered from the terminal, or "no" when nobody can
// answer (a batch run must not wait for input), unless the user said yes beforehand.

#include "document/UserMessages.h"

#include <iosfwd>
#include <string>

class ConsoleMessages : public UserMessages
{
public:
    // answers: where replies come from, or null when there is no one to ask.
    ConsoleMessages(std::ostream& out, std::ostream& err, std::istream* answers, bool assumeYes);

    // Named in front of every warning: the file or option the messages are about.
    void setSubject(const std::string& name) { subject = name; }

    void warn(const std::string& text) override;
    void inform(const std::string& text) override;
    bool ask(const std::string& text) override;

    int getWarningCount() const { return warnings; }

private:
    std::string prefix() const;

    std::ostream& out;
    std::ostream& err;
    std::istream* answers;
    bool assumeYes;
    std::string subject;
    int warnings = 0;
};
