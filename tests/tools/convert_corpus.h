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

// What a run printed, one record per input line (the CSV line or the error
// line), then the exit status.
struct Outcome {
    int status = 0;
    std::string out, err;
};

// The output split into groups of `groupSize` records with an FNV-1a hash
// each, so that a change is pinned to the lines that moved.
constexpr int groupSize = 50;
std::vector<std::string> records(const Outcome& outcome);
std::vector<std::uint64_t> groupHashes(const std::vector<std::string>& records);

std::uint64_t fnv1a(const std::string& text, std::uint64_t hash = 14695981039346656037ull);

} // namespace huelinx::corpus
