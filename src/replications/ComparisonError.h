#pragma once
// Why runs cannot be compared: a file that cannot be read (the message names the file and line),
// or runs that differ in their detectors or intervals (the message names the runs and the file).

#include <stdexcept>
#include <string>

class ComparisonError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
