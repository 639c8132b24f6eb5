#include "text/list_input.h"

namespace huelinx {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

bool ListReader::atLineEnd() const {
    return !atEnd() && (data_[pos_] == '\r' || data_[pos_] == '\n');
}

// Consumes one line end (CR LF, LF or a lone CR) if one is next.
void ListReader::consumeLineEnd() {
    if (!atLineEnd()) return;
    if (data_[pos_++] == '\r' && !atEnd() && data_[pos_] == '\n') ++pos_;
    ++line_;
}

std::optional<std::string> ListReader::field() {
    while (!atEnd() && isBlank(data_[pos_]))
        ++pos_;
    if (atEnd()) return std::nullopt;

    bool inQuotes = data_[pos_] == '"';
    if (inQuotes) ++pos_;
    std::size_t start = pos_;
    while (!atEnd() && !atLineEnd() && data_[pos_] != (inQuotes ? '"' : ','))
        ++pos_;
    std::string item(data_.substr(start, pos_ - start));

    // After a closing quote, anything before the next comma or line end is dropped.
    if (inQuotes && !atEnd() && data_[pos_] == '"') {
        while (!atEnd() && !atLineEnd() && data_[pos_] != ',')
            ++pos_;
    }
    if (atLineEnd())
        consumeLineEnd();
    else if (!atEnd())
        ++pos_; // the comma
    return item;
}

std::optional<std::string> ListReader::line() {
    if (atEnd()) return std::nullopt;
    std::size_t start = pos_;
    while (!atEnd() && !atLineEnd())
        ++pos_;
    std::string text(data_.substr(start, pos_ - start));
    consumeLineEnd();
    return text;
}

void ListReader::skipBlankLines() {
    while (!atEnd()) {
        if (isBlank(data_[pos_]))
            ++pos_;
        else if (atLineEnd())
            consumeLineEnd();
        else
            break;
    }
}

} // namespace huelinx
