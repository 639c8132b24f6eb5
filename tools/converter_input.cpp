#include "tools/converter_input.h"

#include "text/list_input.h"

#include <istream>

namespace huelinx {

bool LineSource::next(std::string& line) {
    if (!chunkLeft_) {
        if (!std::getline(in_, chunk_)) return false;
        start_ = 0;
    }
    const std::size_t cr = chunk_.find('\r', start_);
    if (cr == std::string::npos) {
        if (start_ == 0)
            line.swap(chunk_);
        else
            line.assign(chunk_, start_);
        chunkLeft_ = false;
        return true;
    }
    line.assign(chunk_, start_, cr - start_);
    start_ = cr + 1;
    chunkLeft_ = start_ < chunk_.size();
    return true;
}

void splitFields(std::string_view line, std::string& scratch, std::vector<std::string>& fields) {
    scratch.assign(line);
    scratch += '\n'; // the reader then gives the empty field after a last comma
    ListReader reader(scratch);
    std::size_t count = 0;
    while (!reader.atEnd()) {
        auto field = reader.field();
        if (count == fields.size()) fields.emplace_back();
        fields[count++] = std::move(*field);
    }
    fields.resize(count);
}

bool flushBeforeWaiting(const LineSource& source, std::ostream& out, std::ostream& err) {
    if (!source.mayWait()) return true;
    out.flush();
    err.flush();
    return static_cast<bool>(out);
}

} // namespace huelinx
