#pragma once
// The bridges of the open study: read from STUDY.bridges beside the study file, written beside
// it when the study is saved, and followed step by step during the desktop program's runs,
// through the same load-effect code as the headless runner.

#include "loadeffects/LoadEffectRun.h"

#include <memory>
#include <string>
#include <vector>

class StudyDocument;
class UserMessages;

class CStudyBridges
{
public:
    CStudyBridges();
    ~CStudyBridges();

    const BridgeSet& getSet() const { return set; }
    // The Bridges dialog's values on OK.
    void setSet(const BridgeSet& edited);
    void clear();

    // After a study was opened from studyFile: reads its bridges file when there is one. A file
    // with problems is reported; its bridges are kept as far as they were read, and the file is
    // left alone on save until the bridges are edited, so that no line of it is lost.
    void load(const std::string& studyFile, UserMessages& messages);
    // After the study was saved as studyFile: writes the bridges beside it. Nothing is written
    // for a study without bridges unless a bridges file is already there (all deleted).
    bool save(const std::string& studyFile) const;

    // Before the run's set-up: checks the bridges against the study's road and reads their
    // influence lines. False, with the problems shown, when the run must not start.
    bool prepareRun(const StudyDocument& study, UserMessages& messages);
    // After the set-up: creates the output files. False, with the problem shown, when one cannot.
    bool startRun(const StudyDocument& study, double startTime, UserMessages& messages);
    void observe(const std::vector<std::vector<Vehicle*>>& lanes, double time);
    // The run ended or was stopped: closes the last interval and the files.
    void finishRun();

    const LoadEffectRun* getRun() const { return run.get(); }

private:
    BridgeSet set;
    bool keepFile = false;  // the file on disk had problems and the set was not edited since
    std::vector<PreparedBridge> prepared;
    std::unique_ptr<LoadEffectRun> run;
};
