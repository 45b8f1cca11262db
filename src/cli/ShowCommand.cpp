#include "cli/ShowCommand.h"

#include "cli/CliFailure.h"
#include "document/StudyDocument.h"
#include "document/StudyNames.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace {
std::string named(const std::vector<StudyNames::Named>& names, std::uint16_t code)
{
    if (auto name = StudyNames::findName(names, code))
        return *name;
    return "unknown code " + std::to_string(code);
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string fileLine(const std::string& stored, const std::string& resolved)
{
    if (stored.empty())
        return "(none)";
    return stored == resolved ? stored : stored + "  ->  " + resolved;
}

std::string parameterLine(const CParameter& parameter)
{
    const CDistribution& law = parameter.getDistribution();
    char text[160];
    std::snprintf(text, sizeof text, "  %-42s %-12s location %-8s scale %-8s shape %s\n",
                  named(StudyNames::parameters(), parameter.getId()).c_str(),
                  named(StudyNames::distributions(), law.getType()).c_str(), number(law.getLocation()).c_str(),
                  number(law.getScale()).c_str(), number(law.getShape()).c_str());
    return text;
}
}

ShowCommand::ShowCommand(std::ostream& outStream) : out(outStream) {}

int ShowCommand::execute(const std::string& study)
{
    StudyDocument document;
    const StudyFileResult opened = document.openFile(study);
    if (opened != StudyFileResult::ok)
        throw CliFailure(study + ": " + studyFileMessage(opened));
    out << "Study: " << study << "\n\n";
    printSettings(document);
    printFeatures(document);
    printDetectors(document);
    printParameterSets(document);
    return 0;
}

void ShowCommand::printSettings(const StudyDocument& d) const
{
    out << "Input traffic file:   " << fileLine(d.getInputFileName(), d.resolvedInputFileName()) << '\n'
        << "Output traffic file:  " << fileLine(d.getOutputFileName(), d.resolvedOutputFileName()) << '\n'
        << "Metrics folder:       "
        << (d.getMetricsFolder().empty() ? "(the study's folder)"
                                         : fileLine(d.getMetricsFolder(), d.resolvedMetricsFolder()))
        << '\n'
        << "Traffic file format:  " << named(StudyNames::fileFormats(), d.getFileFormat()) << '\n'
        << "Traffic file lanes:   direction 1: " << d.getFileLanesDir1() << ", direction 2: " << d.getFileLanesDir2()
        << '\n'
        << "Road length:          " << d.getRoadLength() << " m\n"
        << "Road lanes:           direction 1: " << d.getLanesDir1() << ", direction 2: " << d.getLanesDir2() << " ("
        << d.getNumDirections() << (d.getNumDirections() == 1 ? " direction, " : " directions, ") << d.getTotalLanes()
        << " lanes)\n"
        << "Drive on the:         " << (d.getDrivesOnRight() ? "Right" : "Left") << '\n'
        << "Time step:            " << number(d.getTimeStep() * 1000.0) << " ms\n"
        << "Output detectors:     direction 1 at " << d.getOutputDetectorLocation1() << " m, direction 2 at "
        << d.getOutputDetectorLocation2() << " m\n"
        << "Lane changes allowed: " << (d.getLaneChangesAllowed() ? "yes" : "no") << '\n'
        << "Output cars to file:  " << (d.getOutputCars() ? "yes" : "no") << "\n\n";
}

void ShowCommand::printFeatures(const StudyDocument& document) const
{
    const auto& features = document.getRoadFeatures();
    out << "Road features: " << features.size() << '\n';
    int n = 0;
    for (const auto& feature : features)
    {
        const bool isGradient = feature->getType() == CRoadFeature::gradient;
        out << "  Feature " << ++n << ": " << named(StudyNames::featureTypes(), feature->getType()) << ", "
            << StudyNames::direction(feature->isDirectionPositive()) << ", " << feature->getStart() << " m to "
            << feature->getEnd() << " m, "
            << (isGradient ? number(feature->getValue()) + " %" : number(feature->getValue() * 3.6) + " km/h") << '\n';
    }
    out << '\n';
}

void ShowCommand::printDetectors(const StudyDocument& document) const
{
    const auto& detectors = document.getStatDetectors();
    out << "Statistics detectors: " << detectors.size() << '\n';
    int n = 0;
    for (const auto& detector : detectors)
    {
        const bool isLaneChange = detector->getKind() == CStatDetector::laneChanges;
        out << "  Detector " << ++n << ": " << named(StudyNames::detectorKinds(), detector->getKind()) << ", "
            << StudyNames::direction(detector->isDirectionPositive()) << ", "
            << named(StudyNames::vehicleTypes(), detector->getVehicleTypes()) << ", every " << detector->getInterval()
            << " s, " << (isLaneChange ? "step " : "at ") << detector->getLocation() << " m\n";
    }
    out << '\n';
}

void ShowCommand::printParameterSets(const StudyDocument& document) const
{
    for (int k = 0; k < StudyDocument::vehicleClassCount; ++k)
    {
        const CIDMParameterSet& set = document.getIDMParameterSet(k);
        out << "IDM parameters of class " << k << ", "
            << named(StudyNames::vehicleClasses(), static_cast<std::uint16_t>(k)) << " (stored class "
            << set.getVehicleClass() << "):\n";
        for (const CParameter* parameter : {&set.getParamT(), &set.getParamA(), &set.getParamB(), &set.getParamS0(),
                                            &set.getParamS1(), &set.getParamV0(), &set.getParamDelta(),
                                            &set.getParamP(), &set.getParamDeltaAbias(), &set.getParamDeltaAth()})
            out << parameterLine(*parameter);
        out << (k + 1 < StudyDocument::vehicleClassCount ? "\n" : "");
    }
}
