// The lines huelinx-convert reads from standard input, and their fields:
// shared by the --csv colours and the --photo regions.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

// The lines of a stream, one at a time. A line ends at LF, CR LF or a lone
// CR, as in every list the program reads. The stream is read up to each LF,
// and what it gives is split at its CRs; a CR just before the LF is a CR LF.
// (So lines ended by a lone CR are answered once an LF or the end follows;
// only a file or a pipe sends them.)
class LineSource {
  public:
    explicit LineSource(std::istream& in) : in_(in) {}

    // The next line without its line end; false when the input has ended.
    bool next(std::string& line);
    // Whether reading the next line may have to wait for input.
    bool mayWait() const { return !chunkLeft_ && in_.rdbuf()->in_avail() <= 0; }

  private:
    std::istream& in_;
    std::string chunk_;      // the text up to the last LF read
    std::size_t start_ = 0;  // where the next line of it starts
    bool chunkLeft_ = false; // whether lines of it are still to give
};

// Sends what waits in `out` and `err` when reading the next line may have to
// wait for input, so a user typing lines sees each answer (or error) at once,
// while output from a file or a pipe stays in its buffers; false when the
// output can't be written.
[[nodiscard]] bool flushBeforeWaiting(const LineSource& source, std::ostream& out,
                                      std::ostream& err);

// The fields of a --csv line, read as the program reads every list: split at
// commas, a field in double quotes may hold commas. A comma at the end of the
// line leaves an empty last field. `scratch` keeps its room from line to line.
void splitFields(std::string_view line, std::string& scratch, std::vector<std::string>& fields);

} // namespace huelinx
