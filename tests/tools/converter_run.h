// One run of huelinx-convert inside the test: its arguments and standard
// input, and what it printed and gave back.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace huelinx::testing {

struct Outcome {
    int status;
    std::string out, err;
};

using Args = std::vector<std::string>;
using Files = std::vector<std::pair<std::string, std::string>>;

// Runs the converter in an empty working directory of its own, so the table
// comes from the data folder, or in one holding `files` (name, contents).
Outcome convert(const Args& args, const std::string& input = {}, const Files& files = {});

// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string& text);

} // namespace huelinx::testing
