// The contrast of a pair as huelinx-convert --contrast gives it, written as
// the windows' contrast line, so that window tests can check they give the
// same class and numbers as the converter for the same pair.
#pragma once

#include "session/resources.h"
#include "tools/converter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace huelinx::testing {

inline std::string converterContrastLine(Resources& resources, const std::string& a,
                                         const std::string& b) {
    std::istringstream in;
    std::ostringstream out, err;
    const int status = runConverter({"--contrast", a, b}, resources, in, out, err);
    EXPECT_EQ(status, 0) << err.str();
    std::istringstream lines(out.str());
    std::string header, row;
    std::getline(lines, header);
    std::getline(lines, row);
    // class,dE00,dH,dV,dC,chip1,chip2,message
    std::vector<std::string> f;
    std::istringstream fields(row);
    for (std::string field; std::getline(fields, field, ',');)
        f.push_back(field);
    f.resize(8);
    std::string line = a + " against " + b + ": " + f[0] + ", \u0394E00 " + f[1] + " (\u0394H " +
                       f[2] + (f[2] == "1" ? " page" : " pages") + ", \u0394V " + f[3] +
                       ", \u0394C " + f[4] + ")";
    if (!f[5].empty()) line += "; " + a + " taken to the soil chip " + f[5];
    if (!f[6].empty()) line += "; " + b + " taken to the soil chip " + f[6];
    return line;
}

} // namespace huelinx::testing
