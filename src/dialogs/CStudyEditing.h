#pragma once
// The view's configuration commands: each opens its dialog on copies of the study's (or the
// view's) values and hands them back only on OK.

class CRoadfluxDoc;
class CRoadfluxView;

class CStudyEditing
{
public:
    static void configureSimulation(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureTrafficModel(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureRoadFeatures(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureMetrics(CRoadfluxDoc& document, CRoadfluxView& view);
    static void editPreferences(CRoadfluxView& view);
};
