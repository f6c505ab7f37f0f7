#pragma once
// Text laid out the way the program's print statements lay it out: items
// follow each other directly, zone() moves to the next 14-column print zone
// (columns 1, 15, 29, ...; it always advances), tab(n) moves to column n
// (when the line is already past n: a new line, then column n), endLine()
// writes CR LF. Columns count characters, so a Chinese character is one
// column. The text is kept as UTF-8.
//
// Given a sink, the buffer hands its text on in pieces of up to 256 KB (a
// result file in one or two writes) and keeps only the piece being written;
// flush() hands on the rest. The room of one such buffer can be handed to
// the next (releaseRoom), so a set of files is formed in the same memory.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace tarvel {

// Where a PrintBuffer with a sink sends its text, piece by piece, in order.
class TextSink {
public:
    virtual void put(std::string_view bytes) = 0;

protected:
    ~TextSink() = default;
};

class PrintBuffer {
public:
    PrintBuffer() = default;
    explicit PrintBuffer(TextSink* sink, std::string room = {}) : text_(std::move(room)), sink_(sink) {}
    PrintBuffer(const PrintBuffer&) = delete;
    PrintBuffer& operator=(const PrintBuffer&) = delete;

    PrintBuffer& text(std::string_view utf8);  // a string item, written as it is
    PrintBuffer& single(float x);              // numeric items with their blanks
    PrintBuffer& dbl(double x);
    PrintBuffer& integer(long long v);
    PrintBuffer& fourDecimals(double x);
    PrintBuffer& truncated(float x);
    PrintBuffer& tab(int column);
    PrintBuffer& zone();
    PrintBuffer& endLine();

    int column() const { return column_; }  // 1-based print position
    const std::string& str() const;
    std::string take();  // the text so far; the print position is kept
    void flush();        // the text so far to the sink (none: nothing happens)
    std::string releaseRoom();  // with a sink: flushes, then gives up the room

private:
    // Room for `count` more characters after the text.
    char* room(std::size_t count) {
        if (text_.size() - used_ < count) grow(count);
        return text_.data() + used_;
    }
    void grow(std::size_t count);
    void blanks(std::size_t count);  // `count` blanks after the text
    // Ends the text at `end`, inside the room given; a numeric item is ASCII
    // without line breaks: one column per character.
    PrintBuffer& numberEndsAt(const char* end);

    // The text is the first used_ characters; the rest is room to write in.
    mutable std::string text_;
    mutable std::size_t used_ = 0;
    int column_ = 1;
    TextSink* sink_ = nullptr;
};

}  // namespace tarvel
