// Converts a Munsell notation ("5R 4/14") to X, Y, Z under illuminant C.
#include <cstdio>
#include <huelinx/colour/hue.h>
#include <huelinx/colour/mun2xyz.h>
#include <huelinx/colour/typed_colour.h>
#include <string>

int main(int argc, char** argv) {
    huelinx::MunTable table;
    if (!huelinx::loadMunTableFile(HUELINX_DATA "/Vadoro.dat", table).ok) return 1;
    const auto typed = huelinx::readTypedColour(argc > 1 ? argv[1] : "5R 4/14");
    if (!typed || typed->notation != huelinx::Notation::Munsell) return 2;
    const auto& [hue, value, chroma] = typed->texts;
    const double h = huelinx::wrappedHue(huelinx::converth(hue).hue);
    const auto xyz = huelinx::mun2xyz(h, std::stod(value), std::stod(chroma), table, {});
    if (xyz.status != huelinx::MunsellToCie::Ok) return 3;
    std::printf("X %.2f Y %.2f Z %.2f\n", xyz.X, xyz.Y, xyz.Z);
}
