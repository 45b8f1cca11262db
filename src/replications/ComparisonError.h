#pragma once
// Why runs cannot be compared: a folder that holds no run, or runs that differ in their detectors
// or intervals (the message names the runs and the file). A file that cannot be read is a BadFile.

#include <stdexcept>
#include <string>

class ComparisonError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
