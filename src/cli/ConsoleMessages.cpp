#include "cli/ConsoleMessages.h"

#include <cctype>
#include <istream>
#include <ostream>

ConsoleMessages::ConsoleMessages(std::ostream& outStream, std::ostream& errStream, std::istream* answerStream, bool yes)
    : out(outStream), err(errStream), answers(answerStream), assumeYes(yes)
{
}

std::string ConsoleMessages::prefix() const
{
    return subject.empty() ? "roadflux-cli: " : "roadflux-cli: " + subject + ": ";
}

void ConsoleMessages::warn(const std::string& text)
{
    ++warnings;
    err << prefix() << text << '\n';
}

void ConsoleMessages::inform(const std::string& text)
{
    out << text << '\n';
}

bool ConsoleMessages::ask(const std::string& text)
{
    err << prefix() << text;
    if (assumeYes)
    {
        err << " yes (--yes)\n";
        return true;
    }
    if (!answers)
    {
        err << " no (nobody to ask; --yes answers yes)\n";
        return false;
    }
    err << " [y/N] " << std::flush;
    std::string reply;
    if (!std::getline(*answers, reply))
        return false;
    return !reply.empty() && std::tolower(static_cast<unsigned char>(reply.front())) == 'y';
}
