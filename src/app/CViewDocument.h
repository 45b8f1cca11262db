#pragma once
// What a road view reads of its study: the road's shape, what stands on the road, and the
// simulation its runs go through.

#include "app/CRoadScene.h"
#include "app/CSimulationLink.h"
#include "app/CStudyShape.h"

class CViewDocument
{
public:
    virtual ~CViewDocument() = default;

    virtual CStudyShape shape() const = 0;
    virtual CRoadScene scene() const = 0;
    virtual CSimulationLink& simulation() = 0;
};
