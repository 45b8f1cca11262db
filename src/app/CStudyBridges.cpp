#include "app/CStudyBridges.h"

#include "config/CConfigData.h"
#include "document/StudyDocument.h"
#include "document/UserMessages.h"
#include "loadeffects/BridgesFile.h"

#include <filesystem>

namespace {
std::string listed(const std::string& heading, const std::vector<std::string>& problems)
{
    std::string text = heading;
    for (const std::string& problem : problems)
        text += "\n" + problem;
    return text;
}

RoadLayout roadOf(const StudyDocument& study)
{
    return RoadLayout{static_cast<double>(study.getRoadLength()), study.getLanesDir1(), study.getLanesDir2(),
                      study.getTimeStep()};
}

bool exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}
}

CStudyBridges::CStudyBridges() = default;

CStudyBridges::~CStudyBridges() = default;

void CStudyBridges::setSet(const BridgeSet& edited)
{
    set = edited;
    keepFile = false;
}

void CStudyBridges::clear()
{
    finishRun();
    run.reset();
    set = BridgeSet{};
    keepFile = false;
}

void CStudyBridges::load(const std::string& studyFile, UserMessages& messages)
{
    clear();
    const std::string path = BridgesFile::besideStudy(studyFile);
    if (!exists(path))
        return;
    BridgesFileResult read = BridgesFile::read(path);
    set = std::move(read.set);
    if (read.ok())
        return;
    keepFile = true;
    messages.warn(listed("The study's bridges file has problems; it will not be overwritten until the bridges are "
                         "edited:",
                         read.problems));
}

bool CStudyBridges::save(const std::string& studyFile) const
{
    const std::string path = BridgesFile::besideStudy(studyFile);
    if (keepFile || (set.empty() && !exists(path)))
        return true;
    // Through a link to the study or the configuration, a save would destroy it.
    FileClaims mustNotBe;
    mustNotBe.addInput(studyFile, "the study file");
    mustNotBe.addInput(theConfigData.getLoadedFrom(), "the configuration file");
    return BridgesFile::write(path, set, mustNotBe);
}

bool CStudyBridges::prepareRun(const StudyDocument& study, UserMessages& messages)
{
    finishRun();
    run.reset();
    prepared.clear();
    if (set.empty())
        return true;
    const std::string path =
        study.getPathName().empty() ? std::string("bridges") : BridgesFile::besideStudy(study.getPathName());
    BridgesFileResult described;
    described.set = set;
    std::vector<BridgeProblem> problems = set.check();
    for (BridgeProblem& problem : set.checkOn(roadOf(study)))
        problems.push_back(std::move(problem));
    if (problems.empty())
    {
        const std::string folder = std::filesystem::path(study.getPathName()).parent_path().string();
        problems = LoadEffectRun::prepare(set, folder, prepared);
    }
    if (problems.empty())
        return true;
    prepared.clear();
    for (std::size_t i = 0; i < set.bridges.size(); ++i)
        described.lineOfBridge.push_back(i + 2);  // as the saved file would number them
    messages.warn(
        listed("The run cannot start: the bridges have problems:", BridgesFile::describe(path, described, problems)));
    return false;
}

bool CStudyBridges::startRun(const StudyDocument& study, double startTime, UserMessages& messages)
{
    if (prepared.empty())
        return true;
    const std::string metrics = study.resolvedMetricsFolder().empty() ? "." : study.resolvedMetricsFolder();
    run = std::make_unique<LoadEffectRun>(prepared, roadOf(study), startTime, metrics);
    const std::vector<std::string> failed = run->openFiles();
    if (failed.empty())
        return true;
    run.reset();
    std::vector<std::string> problems;
    for (const std::string& file : failed)
        problems.push_back(file + ": the load-effect file cannot be created");
    messages.warn(listed("The run cannot start:", problems));
    return false;
}

void CStudyBridges::observe(const std::vector<std::vector<Vehicle*>>& lanes, double time)
{
    if (run)
        run->observe(lanes, time);
}

void CStudyBridges::finishRun()
{
    if (run)
        run->finish();
}
