#pragma once
// The names under which the program shows the codes a study stores: traffic-file formats,
// distributions, driver-model parameters, road-feature types, detector kinds, vehicle types,
// vehicle classes and directions. The dialogs offer the codes by these names.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class StudyNames
{
public:
    struct Named
    {
        std::uint16_t code;
        const char* name;
    };

    static const std::vector<Named>& fileFormats();     // "TALVOR" 101, "VORK" 100, "DoRIV" 102
    static const std::vector<Named>& distributions();   // in the traffic model dialog's order
    static const std::vector<Named>& parameters();      // 300 to 309 with the dialog's labels
    static const std::vector<Named>& featureTypes();    // "Speed Limit" 400, "Gradient" 401
    static const std::vector<Named>& detectorKinds();   // 510 to 513
    static const std::vector<Named>& vehicleTypes();    // 500 to 506
    static const std::vector<Named>& vehicleClasses();  // "Car" 0 to "Low-loader" 4
    static const char* direction(bool positive);        // "Positive x" or "Negative x"

    // The name of a code; nothing for a code outside the list.
    static std::optional<std::string> findName(const std::vector<Named>& list, std::uint16_t code);
    // The name of a code, or the first name of the list for a code outside it (as the
    // dialogs show it).
    static std::string nameOf(const std::vector<Named>& list, std::uint16_t code);
    // The code of a name, compared without case; nothing for a name outside the list.
    static std::optional<std::uint16_t> codeOf(const std::vector<Named>& list, const std::string& name);
};
