#include "config/CIDMParameterSet.h"

#include "config/CArchive.h"

CIDMParameterSet::CIDMParameterSet()
{
    applyIdentifiers();
}

CIDMParameterSet::CIDMParameterSet(int vehicleClassCode) : vehicleClass(vehicleClassCode)
{
    applyIdentifiers();
}

void CIDMParameterSet::applyIdentifiers()
{
    paramT.setId(300);
    paramA.setId(301);
    paramB.setId(302);
    paramS0.setId(303);
    paramS1.setId(304);
    paramV0.setId(305);
    paramDelta.setId(306);
    paramP.setId(307);
    paramDeltaAbias.setId(308);
    paramDeltaAth.setId(309);
}

void CIDMParameterSet::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void CIDMParameterSet::store(CArchive& archive) const
{
    for (const CParameter* parameter : {&paramT, &paramA, &paramB, &paramS0, &paramS1, &paramV0, &paramDelta, &paramP,
                                        &paramDeltaAbias, &paramDeltaAth})
        parameter->store(archive);
    archive.writeInt32(vehicleClass);
}

void CIDMParameterSet::load(CArchive& archive)
{
    // Into a copy first, so that a set is either loaded whole or left as it was.
    CIDMParameterSet loaded;
    for (CParameter* parameter :
         {&loaded.paramT, &loaded.paramA, &loaded.paramB, &loaded.paramS0, &loaded.paramS1, &loaded.paramV0,
          &loaded.paramDelta, &loaded.paramP, &loaded.paramDeltaAbias, &loaded.paramDeltaAth})
        parameter->load(archive);
    loaded.vehicleClass = archive.readInt32();
    *this = loaded;
}
