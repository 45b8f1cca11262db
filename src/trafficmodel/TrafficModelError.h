#pragma once
// Why a traffic model cannot be fitted, read or drawn from: the message names the file and the
// line or the model's field, and says what is wrong in words fit for the user.

#include <stdexcept>
#include <string>

class TrafficModelError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
