#pragma once
// The detector that copies every vehicle passing it into the output traffic file, stamped with
// its passage time, its lane and its speed at the end of the step.

#include "detectors/Detector.h"

class FileHandler;

class OutputDetector : public Detector
{
public:
    // `location` in m from the start of the direction; the writer is not owned.
    OutputDetector(int location, bool directionPositive, FileHandler* writer);
    ~OutputDetector() override = default;

    void detect(Vehicle* vehicle, double time) override;

    // Writes the vehicles caught in this step, in order of capture, and forgets them.
    void flush();

private:
    FileHandler* writer;
};
