// A fixed corpus of converter runs that pins huelinx-convert's output byte for
// byte: every kind of colour, every illuminant, PWD on and off, three gammas,
// three white balances, and the texts users get wrong (empty fields, words,
// hues without a family, chromas above 40, values above 10, black, huge
// numbers). The corpus comes from a seeded generator of its own, so it is the
// same on every machine and needs no file of inputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace huelinx::corpus {

// One run of the converter: its arguments and, with --csv, its input lines.
struct Run {
    std::vector<std::string> args;
    std::vector<std::string> lines;
};

// Every run of the corpus, in a fixed order.
std::vector<Run> runs();

// What a run printed and its exit status.
struct Outcome {
    int status = 0;
    std::string out, err;
};

// An FNV-1a hash of everything a run printed and its exit status.
std::uint64_t hashOf(const Outcome& outcome);

} // namespace huelinx::corpus
