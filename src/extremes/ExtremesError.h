#pragma once
// Why block maxima have no fit or a figure cannot be given: a sample too small, without spread or
// with a value that is not a number, a likelihood whose maximum was not found, a return period
// of one block or less. The message says which, in words fit for the user.

#include <stdexcept>
#include <string>

class ExtremesError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
