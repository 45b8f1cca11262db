#pragma once
// Why a study's settings were refused: the message the user is shown and the dialog control
// it points at (the headless runner names its option instead).

#include <string>

struct StudyRefusal
{
    std::string message;
    int controlId = 0;
};
