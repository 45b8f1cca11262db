#pragma once
// A UserMessages for tests: keeps every message and answers questions as told.

#include "document/UserMessages.h"

#include <string>
#include <vector>

class RecordingMessages : public UserMessages
{
public:
    void warn(const std::string& text) override { warnings.push_back(text); }
    void inform(const std::string& text) override { notices.push_back(text); }
    bool ask(const std::string& text) override
    {
        questions.push_back(text);
        return answer;
    }

    std::vector<std::string> warnings;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    bool answer = false;
};
