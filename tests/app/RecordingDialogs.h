#pragma once
// Stands in for the program's message boxes and file choosers: records every message and gives
// scripted answers, so that nothing modal blocks a test. Installed for its own lifetime.

#include "dialogs/CUserDialogs.h"

#include <QStringList>

#include <deque>
#include <string>
#include <vector>

class RecordingDialogs : public CUserDialogs
{
public:
    RecordingDialogs() { previous = setUserDialogs(this); }
    ~RecordingDialogs() override { setUserDialogs(previous); }

    void warn(const std::string& text) override { warnings.push_back(text); }
    void inform(const std::string& text) override { notices.push_back(text); }
    bool ask(const std::string& text) override
    {
        questions.push_back(text);
        return answerYes;
    }
    SaveChoice askSaveChanges(const QString& text) override
    {
        savePrompts.append(text);
        return saveChoice;
    }
    QString chooseOpenFile(const QString&, const QString& filter) override
    {
        filters.append(filter);
        return next(openFiles);
    }
    QString chooseSaveFile(const QString&, const QString& filter, const QString& suffix, const QString&) override
    {
        filters.append(filter);
        suffixes.append(suffix);
        return next(saveFiles);
    }
    QString chooseFolder(const QString&) override { return next(folders); }

    std::vector<std::string> warnings;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    QStringList savePrompts;
    QStringList filters;
    QStringList suffixes;
    bool answerYes = true;
    SaveChoice saveChoice = SaveChoice::discard;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    std::deque<QString> folders;

private:
    static QString next(std::deque<QString>& answers)
    {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    CUserDialogs* previous = nullptr;
};
