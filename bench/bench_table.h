// The Munsell table and the ISCC-NBS names of the source tree's data, read
// once for the core benchmarks; a file that doesn't read ends the run with
// its message.
#pragma once

#include "colour/iscc_nbs.h"
#include "colour/muntable.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace huelinx {

inline const MunTable& benchTable() {
    static const MunTable* t = [] {
        auto* loaded = new MunTable;
        const auto result =
            loadMunTableFile(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", *loaded);
        if (!result.ok) {
            std::cerr << result.message << "\n";
            std::exit(1);
        }
        return loaded;
    }();
    return *t;
}

inline const IsccNbsTable& benchNames() {
    static const IsccNbsTable* names = [] {
        auto* loaded = new IsccNbsTable;
        const auto result = loadIsccNbsFolder(HUELINX_DATA_DIR, *loaded);
        if (!result.ok) {
            std::cerr << result.message << "\n";
            std::exit(1);
        }
        return loaded;
    }();
    return *names;
}

} // namespace huelinx
