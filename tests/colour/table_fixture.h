// The committed Munsell table and renotation data, loaded once for all tests.
#pragma once

#include "colour/iscc_nbs.h"
#include "colour/light_tables.h"
#include "colour/macadam_limits.h"
#include "colour/muntable.h"

#include <string>
#include <vector>

namespace huelinx::testing {

// data/Vadoro.dat, loaded with the program's own loader.
const MunTable& renotationTable();

// The ISCC-NBS names of the data folder, loaded with the program's own loader.
const IsccNbsTable& isccNbsNames();

// The illuminants and observers of the data folder, and the object-colour
// solids of the program's three illuminants built from them.
const SpectralTables& spectralTables();
const MacAdamSolids& programSolids();

// Text of a file in the data folder.
std::string dataFile(const std::string& name);

struct RenotationPoint {
    std::string hue;
    float value, chroma;
    int x, y; // times 10000
    double Y; // as printed: two or four decimals
};
// Rows of data/munsell-renotation-all.csv.
const std::vector<RenotationPoint>& renotationPoints();

} // namespace huelinx::testing
