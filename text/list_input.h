// Reading text files item by item, as the list-input and line-input statements
// do: items are separated by commas or line ends, a line end is CR LF, LF or CR.
#pragma once

#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace huelinx {

class ListReader {
  public:
    // The reader keeps a view of the text, not a copy: the text must outlive it,
    // so a temporary string can't be read (it would be gone before the first
    // item).
    explicit ListReader(std::string_view data) : data_(data) {}
    template <class Text>
    requires std::same_as<Text, std::string>
    explicit ListReader(Text&&) = delete;

    // True when nothing is left to read.
    bool atEnd() const { return pos_ >= data_.size(); }

    // One comma-separated item. Leading blanks and tabs are skipped. An item in
    // double quotes runs to the closing quote (it may hold commas); whatever
    // follows up to the next comma or line end is skipped. A quote left open runs
    // to the end of its line: items never span lines. Any other item is the
    // text up to the next comma or line end, kept as it stands. The comma or line
    // end that ends the item is consumed, so an item that ends its line leaves the
    // reader at the start of the next line; an empty line reads as one empty item.
    // No value when nothing is left.
    std::optional<std::string> field();

    // The rest of the current line (possibly empty), its line end consumed.
    // No value when nothing is left.
    std::optional<std::string> line();

    // Skips blanks, tabs and line ends, so that empty lines between items are
    // passed over.
    void skipBlankLines();

    // Line number (from 1) of the next character to be read.
    std::size_t lineNumber() const { return line_; }

  private:
    void consumeLineEnd();
    bool atLineEnd() const;

    std::string_view data_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

} // namespace huelinx
