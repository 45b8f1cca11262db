#include "dialogs/CStudyEditing.h"

#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"

void CStudyEditing::configureSimulation(CRoadfluxDoc&, CRoadfluxView&) {}
void CStudyEditing::configureTrafficModel(CRoadfluxDoc&, CRoadfluxView&) {}
void CStudyEditing::configureRoadFeatures(CRoadfluxDoc&, CRoadfluxView&) {}
void CStudyEditing::configureMetrics(CRoadfluxDoc&, CRoadfluxView&) {}
void CStudyEditing::editPreferences(CRoadfluxView&) {}
