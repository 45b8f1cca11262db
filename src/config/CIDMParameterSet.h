#pragma once
// The ten randomised driver-model parameters of one vehicle class. Each released vehicle gets
// its own driver model, drawn from the set of its class (vehicles/DriverModelDraw.h).

#include "config/CParameter.h"

#include <cstdint>

class CArchive;

class CIDMParameterSet
{
public:
    static constexpr std::size_t archiveSize = 10 * CParameter::archiveSize + 4;

    CIDMParameterSet();
    explicit CIDMParameterSet(int vehicleClassCode);
    CIDMParameterSet(const CIDMParameterSet&) = default;
    CIDMParameterSet& operator=(const CIDMParameterSet&) = default;
    virtual ~CIDMParameterSet() = default;

    // Copies the ten parameters and the vehicle class.
    void assign(const CIDMParameterSet& other) { *this = other; }

    void setVehicleClass(int code) { vehicleClass = code; }
    int getVehicleClass() const { return vehicleClass; }

    CParameter& getParamT() { return paramT; }
    CParameter& getParamA() { return paramA; }
    CParameter& getParamB() { return paramB; }
    CParameter& getParamS0() { return paramS0; }
    CParameter& getParamS1() { return paramS1; }
    CParameter& getParamV0() { return paramV0; }
    CParameter& getParamDelta() { return paramDelta; }
    CParameter& getParamP() { return paramP; }
    CParameter& getParamDeltaAbias() { return paramDeltaAbias; }
    CParameter& getParamDeltaAth() { return paramDeltaAth; }
    const CParameter& getParamT() const { return paramT; }
    const CParameter& getParamA() const { return paramA; }
    const CParameter& getParamB() const { return paramB; }
    const CParameter& getParamS0() const { return paramS0; }
    const CParameter& getParamS1() const { return paramS1; }
    const CParameter& getParamV0() const { return paramV0; }
    const CParameter& getParamDelta() const { return paramDelta; }
    const CParameter& getParamP() const { return paramP; }
    const CParameter& getParamDeltaAbias() const { return paramDeltaAbias; }
    const CParameter& getParamDeltaAth() const { return paramDeltaAth; }

    virtual void Serialize(CArchive& archive);
    void store(CArchive& archive) const;
    void load(CArchive& archive);

private:
    void applyIdentifiers();

    int vehicleClass = 0;
    CParameter paramT;
    CParameter paramA;
    CParameter paramB;
    CParameter paramS0;
    CParameter paramS1;
    CParameter paramV0;
    CParameter paramDelta;
    CParameter paramP;
    CParameter paramDeltaAbias;
    CParameter paramDeltaAth;
};
