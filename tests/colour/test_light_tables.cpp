#include "colour/light_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

// The chromaticity of a perfect white under an illuminant and observer.
std::pair<double, double> whiteOf(const photo::Spectrum& light, const ObserverFunctions& o) {
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < photo::spectralCount; ++i) {
        x += light[i] * o.x[i];
        y += light[i] * o.y[i];
        z += light[i] * o.z[i];
    }
    return {x / (x + y + z), y / (x + y + z)};
}

TEST(SpectralTables, TheDataFilesGiveTheCieWhitePoints) {
    const Loaded<SpectralTables> load = loadSpectralTables({HUELINX_DATA_DIR});
    ASSERT_TRUE(load.value) << load.message;
    const SpectralTables& t = *load.value;
    EXPECT_EQ(t.illuminants.size(), 17u);
    EXPECT_EQ(t.illuminantNames().front(), "A");
    EXPECT_EQ(t.observer(7), nullptr);
    // x, y of the white with each observer, as the CIE tabulates them.
    const struct {
        const char* light;
        int degrees;
        double x, y;
    } whites[] = {{"C", 2, 0.3101, 0.3162},
                  {"D65", 2, 0.3127, 0.3290},
                  {"A", 10, 0.4512, 0.4059},
                  {"D65", 10, 0.3138, 0.3310},
                  {"F11", 2, 0.3805, 0.3769}};
    for (const auto& w : whites) {
        ASSERT_NE(t.illuminant(w.light), nullptr) << w.light;
        const auto [x, y] = whiteOf(*t.illuminant(w.light), *t.observer(w.degrees));
        EXPECT_NEAR(x, w.x, 0.00006) << w.light << " " << w.degrees;
        EXPECT_NEAR(y, w.y, 0.00006) << w.light << " " << w.degrees;
    }
    EXPECT_EQ(t.illuminant("E"), nullptr);
}

TEST(SpectralTables, AMissingOrWrongFileIsNamed) {
    const fs::path folder = fs::current_path() / "spectral-tables-faults";
    fs::remove_all(folder);
    fs::create_directories(folder / "photo");
    fs::copy_file(std::string(HUELINX_DATA_DIR) + "/photo/illuminants.csv",
                  folder / "photo/illuminants.csv");
    Loaded<SpectralTables> load = loadSpectralTables({folder.string()});
    EXPECT_FALSE(load.value);
    EXPECT_EQ(load.message, "\"photo/cmf-1931-2deg.csv\" was not found in the data folders.");

    // An observer file whose columns are another table's.
    fs::copy_file(folder / "photo/illuminants.csv", folder / "photo/cmf-1931-2deg.csv");
    load = loadSpectralTables({folder.string()});
    EXPECT_FALSE(load.value);
    EXPECT_NE(load.message.find("cmf-1931-2deg.csv: the columns should be x_bar, y_bar, z_bar."),
              std::string::npos)
        << load.message;
    fs::remove_all(folder);
}

} // namespace
} // namespace huelinx
