// make-vadoro: writes the Munsell data file from the renotation data.
//   make-vadoro munsell-renotation-all.csv Vadoro.dat
#include "tools/vadoro_generator.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-vadoro <renotation.csv> <Vadoro.dat>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "make-vadoro: cannot open \"" << argv[1] << "\"\n";
        return 1;
    }
    std::ostringstream csv;
    csv << in.rdbuf();
    const auto table = huelinx::generateVadoro(csv.str(), argv[1]);
    if (!table.value) {
        std::cerr << "make-vadoro: " << table.message << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << *table.value;
    out.close();
    if (!out) {
        std::cerr << "make-vadoro: cannot write \"" << argv[2] << "\"\n";
        return 1;
    }
    return 0;
}
