#include "print_buffer.h"

#include <utility>

#include "printed_number.h"

namespace tarvel {

namespace {

constexpr int kZoneWidth = 14;

// Characters of a UTF-8 text: every byte except the continuation bytes
// 10xxxxxx starts one.
int characterCount(std::string_view utf8) {
    int count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace

PrintBuffer& PrintBuffer::text(std::string_view utf8) {
    text_ += utf8;
    // A line break inside the item starts the count again on the new line.
    const std::size_t lineFeed = utf8.rfind('\n');
    if (lineFeed == std::string_view::npos) {
        column_ += characterCount(utf8);
    } else {
        column_ = 1 + characterCount(utf8.substr(lineFeed + 1));
    }
    return *this;
}

// A numeric item is ASCII without line breaks: one column per byte.
template <typename Append, typename Value>
PrintBuffer& PrintBuffer::number(Append append, Value value) {
    const std::size_t before = text_.size();
    append(text_, value);
    column_ += static_cast<int>(text_.size() - before);
    return *this;
}

PrintBuffer& PrintBuffer::single(float x) { return number(appendSingle, x); }

PrintBuffer& PrintBuffer::dbl(double x) { return number(appendDouble, x); }

PrintBuffer& PrintBuffer::integer(long long v) { return number(appendInteger, v); }

PrintBuffer& PrintBuffer::fourDecimals(double x) { return number(appendFourDecimals, x); }

PrintBuffer& PrintBuffer::truncated(float x) { return number(appendTruncated, x); }

PrintBuffer& PrintBuffer::tab(int column) {
    if (column < 1) column = 1;
    if (column_ > column) endLine();
    text_.append(static_cast<std::size_t>(column - column_), ' ');
    column_ = column;
    return *this;
}

PrintBuffer& PrintBuffer::zone() {
    const int next = ((column_ - 1) / kZoneWidth + 1) * kZoneWidth + 1;
    text_.append(static_cast<std::size_t>(next - column_), ' ');
    column_ = next;
    return *this;
}

PrintBuffer& PrintBuffer::endLine() {
    text_ += "\r\n";
    column_ = 1;
    return *this;
}

// The print position stays: it belongs to the line being written, which may
// continue after the text taken so far has gone to its file.
std::string PrintBuffer::take() { return std::exchange(text_, std::string()); }

}  // namespace tarvel
