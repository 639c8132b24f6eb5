// huelinx-convert --photo: regions of a photograph read through the colour
// rendition chart in the same frame, one CSV row a region.
#pragma once

#include "colour/colour_model.h"
#include "colour/muntable.h"
#include "exchange/colour_csv.h"
#include "photo/photo_regions.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace huelinx {

// The eight numbers of --chart (X1,Y1,...,X4,Y4: the centres of the top-left,
// top-right, bottom-right and bottom-left patches); none when it isn't eight
// finite numbers.
std::optional<photo::ChartCorners> chartCornersText(const std::string& text);
// The four numbers of --reference (X,Y,R,YREF); none when they aren't four
// finite numbers with R not below 0 and YREF above 0 and at most 100.
std::optional<photo::GreyCardAt> greyCardText(const std::string& text);

// The header line: region (the line's name), the colour's columns with `extras`, the fit's
// expected CIEDE2000 (leave-one-patch-out median and max) and the notes.
std::string photoHeader(const CsvExtras& extras);

// Reads the picture, fits the chart at the setup's corners against the
// chart's spectra in `chartCsv`, then reads regions from `in`, one a line
// "name,x,y,width,height" in pixels, and prints the header and one row a
// line, each region's X, Y, Z entered into `start` as a measurement. A bad
// line gives the name, empty fields and the reason, and the reason with the
// line's number on `err`. A picture or chart that can't be read or fitted
// prints nothing: one message on `err`. Returns the exit status as the
// converter's --csv: 0 when every region was read, 1 otherwise.
int convertPhoto(const std::string& picturePath, const photo::PhotoSetup& setup,
                 const std::string& chartCsv, const ColourModel& start, const MunTable& table,
                 const CsvExtras& extras, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace huelinx
