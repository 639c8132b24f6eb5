// make-default-palette: writes the viewer's default palette, a sampling of the
// Munsell solid (every second hue page at values 3, 5 and 7, chromas 2, 4, 6
// and 8) of the colours a display can show, as "Save to Palette" writes them.
//   make-default-palette data newpalette2.csv
#include "colour/colour_model.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "palette/palette_file.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace huelinx;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-default-palette <data folder> <palette.csv>\n");
        return 2;
    }
    MunTable table;
    const Result loaded =
        loadMunTableFile((std::filesystem::path(argv[1]) / "Vadoro.dat").string(), table);
    if (!loaded.ok) {
        std::fprintf(stderr, "%s\n", loaded.message.c_str());
        return 1;
    }
    const std::string paletteFile = argv[2];
    std::filesystem::remove(paletteFile);
    // The window as it starts: illuminant C, gamma 2.2, full white.
    ColourModel colour = selectIlluminant(ColourModel::initial(), Illuminant::C, table);
    const char* families[10] = {"R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"};
    for (int value : {3, 5, 7})
        for (int family = 0; family < 10; ++family)
            for (int number : {5, 10})
                for (int chroma : {2, 4, 6, 8}) {
                    const float hue = static_cast<float>(family * 10 + number);
                    if (mun2xyz(hue == 100 ? 0 : hue, static_cast<float>(value),
                                static_cast<float>(chroma), table, colour.settings)
                            .status != MunsellToCie::Ok)
                        continue;
                    const std::string hueText = std::to_string(number) + families[family];
                    colour[Box::Hue] = hueText;
                    colour[Box::Value] = std::to_string(value);
                    colour[Box::Chroma] = std::to_string(chroma);
                    colour = enterMunsell(std::move(colour), table);
                    if (colour.rgbOutOfRange) continue;
                    PaletteRecord record = paletteRecord(readRgbBoxes(colour));
                    record.date = "12-17-2022";
                    record.time = "10:30:00";
                    record.tag =
                        notationText(hueText, std::to_string(value), std::to_string(chroma));
                    const Result saved = appendPaletteLine(paletteFile, paletteLine(record));
                    if (!saved.ok) {
                        std::fprintf(stderr, "%s\n", saved.message.c_str());
                        return 1;
                    }
                }
    return 0;
}
