#include "table_fixture.h"

#include "text/list_input.h"
#include "text/number_read.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace huelinx::testing {

std::string dataFile(const std::string& name) {
    std::ifstream in(std::string(HUELINX_DATA_DIR) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("missing data file " + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const MunTable& renotationTable() {
    static const MunTable* table = [] {
        auto* t = new MunTable;
        const auto result = loadMunTable(dataFile("Vadoro.dat"), "Vadoro.dat", *t);
        if (!result.ok) throw std::runtime_error(result.message);
        return t;
    }();
    return *table;
}

const SpectralTables& spectralTables() {
    static const SpectralTables tables = [] {
        Loaded<SpectralTables> load = loadSpectralTables({HUELINX_DATA_DIR});
        if (!load.value) throw std::runtime_error(load.message);
        return std::move(*load.value);
    }();
    return tables;
}

const MacAdamSolids& programSolids() {
    static const MacAdamSolids solids = macAdamSolids(spectralTables());
    return solids;
}

const IsccNbsTable& isccNbsNames() {
    static const IsccNbsTable* table = [] {
        auto* t = new IsccNbsTable;
        const Result result = loadIsccNbsFolder(HUELINX_DATA_DIR, *t);
        if (!result.ok) throw std::runtime_error(result.message);
        return t;
    }();
    return *table;
}

const std::vector<RenotationPoint>& renotationPoints() {
    static const std::vector<RenotationPoint> points = [] {
        std::vector<RenotationPoint> rows;
        const std::string csv = dataFile("munsell-renotation-all.csv");
        ListReader reader(csv);
        reader.line();
        while (!reader.atEnd()) {
            const std::string line = *reader.line();
            ListReader fields(line);
            RenotationPoint p;
            p.hue = *fields.field();
            p.value = static_cast<float>(*strictNumber(*fields.field()));
            p.chroma = static_cast<float>(*strictNumber(*fields.field()));
            p.x = static_cast<int>(std::lround(*strictNumber(*fields.field()) * 10000));
            p.y = static_cast<int>(std::lround(*strictNumber(*fields.field()) * 10000));
            p.Y = *strictNumber(*fields.field());
            rows.push_back(p);
        }
        return rows;
    }();
    return points;
}

} // namespace huelinx::testing
