#pragma once
// The names of the measurement files a statistics detector definition makes its detector write,
// known before any detector exists: a run checks and claims them before it touches anything.

#include "config/CStatDetector.h"

#include <string>
#include <vector>

// Without folder; none for a composition detector of a single class other than all vehicles
// or all trucks, which writes no file.
std::vector<std::string> measurementFileNamesOf(const CStatDetector& definition);
