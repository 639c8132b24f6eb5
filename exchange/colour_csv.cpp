#include "exchange/colour_csv.h"

#include "colour/colour_naming.h"
#include "text/number_format.h"
#include "text/safe_text.h"

#include <algorithm>

namespace huelinx {

void appendCsvField(std::string& line, std::string_view text) {
    const auto special = [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; };
    const bool formula = needsSpreadsheetMark(text);
    if (!formula && std::none_of(text.begin(), text.end(), special)) {
        line += text;
        return;
    }
    line += formula ? "\"'" : "\"";
    for (char c : text) {
        line += c;
        if (c == '"') line += '"';
    }
    line += '"';
}

std::string colourCsv(const ColourModel& colour) {
    std::string line;
    line.reserve(160);
    for (const std::string& text : colour.box) {
        appendCsvField(line, text);
        line += ',';
    }
    appendCsvField(line, colourMessage(colour));
    return line;
}

std::string colourMessage(const ColourModel& colour) {
    std::string messages;
    const auto add = [&messages](const std::string& message) {
        if (!messages.empty()) messages += "; ";
        messages += message;
    };
    if (colour.outOfRangeShown) add("Out of RGB Range");
    for (const std::string& message : colour.messages)
        add(message);
    if (colour.outsideData) add("Outside the Munsell data");
    return messages;
}

namespace {

// The nearest chip's columns.
void appendChip(std::string& line, const ColourModel& colour, ChipSearch& chips) {
    const std::optional<NearestChip> chip = nearestChipOf(colour, chips);
    if (!chip) {
        line += ",,,,,,";
        return;
    }
    if (!chip->withinLimit) {
        line += ",no chip within 5,,,,,";
        return;
    }
    line += ",";
    appendCsvField(line, chip->notation);
    line += ",";
    // A user's chip set may hold any bytes: its labels reach the terminal on one line.
    appendCsvField(line, oneLineText(chip->label));
    for (double n :
         {chip->de00, double{chip->steps.dH}, double{chip->steps.dV}, double{chip->steps.dC}})
        line += "," + formatNumber(n, "##0.00");
}

} // namespace

std::string CsvExtras::header() const {
    return std::string(names ? ",name,abbreviation" : "") +
           (chips ? ",chip,chip_label,dE00,dH,dV,dC" : "") +
           (limits ? ",macadam,macadam_excess" : "");
}

std::string CsvExtras::empty() const {
    return std::string(names ? 2 : 0, ',') + std::string(chips ? 6 : 0, ',') +
           std::string(limits ? 2 : 0, ',');
}

std::string CsvExtras::of(const ColourModel& colour) const {
    std::string line;
    if (names) {
        const IsccNbsName* name = isccNbsNameOf(colour, *names);
        line += ",";
        if (name) appendCsvField(line, name->name);
        line += ",";
        if (name) appendCsvField(line, name->abbreviation);
    }
    if (chips) appendChip(line, colour, *chips);
    if (limits) {
        const std::optional<MacAdamCheck> check = macAdamOf(colour, *limits);
        if (!check) return line + ",,";
        line += check->within ? ",within," : ",beyond,";
        line += formatNumber(check->excess, "##0.0000");
    }
    return line;
}

} // namespace huelinx
