#pragma once
// Thrown when an archive cannot be loaded: it ends early, or holds something other than what
// this program writes (another class, another schema, an impossible length). The document
// reports it as "Unexpected file format.".

#include <stdexcept>

class ArchiveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
