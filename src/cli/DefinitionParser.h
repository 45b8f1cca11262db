#pragma once
// Reads the road features and statistics detectors given on the command line, one per option
// value, as comma-separated fields:
//   feature:  TYPE,DIRECTION,START,END,VALUE           e.g. speed-limit,1,0,1000,80
//   detector: KIND,DIRECTION,VEHICLES,INTERVAL,LOCATION e.g. headway,2,trucks,60,1500
// Names may be written as the dialogs show them ("Flow & Density") or shortened
// (flow-density); directions as 1 or 2, positive or negative. Speed limits are in km/h,
// gradients in %, starts, ends and locations in m and intervals in s.

#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"

#include <memory>
#include <string>

class DefinitionParser
{
public:
    // Both throw CliFailure naming the option, the text and what was expected.
    static std::unique_ptr<CRoadFeature> parseFeature(const std::string& text);
    static std::unique_ptr<CStatDetector> parseDetector(const std::string& text);

    static const char* featureSyntax();
    static const char* detectorSyntax();
};
