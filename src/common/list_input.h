#pragma once
// List-directed reading of the program's text files.
// Items are separated by commas or line ends (CR LF, LF or CR); a number also
// ends at a blank; blanks around items are skipped. A comma or line end where
// an item should start gives an empty item, which reads as 0 into a number
// (a blank line, or a comma directly before a line end). After an item the
// blanks and one separator are consumed. Reading past the end of the file is
// an error, and so is text that is not a number where a number is read, or a
// value outside the 16-bit Integer range.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvel {

class ListInputError : public std::runtime_error {
public:
    enum class Kind { PastEnd, NotNumber, Overflow };
    ListInputError(Kind kind, std::string item, int line, bool real = false);
    Kind kind() const { return kind_; }
    // An Overflow of a real value (beyond the single-precision range), not of an Integer.
    bool real() const { return real_; }
    const std::string& item() const { return item_; }  // offending text (empty at end of file)
    int line() const { return line_; }                 // 1-based line of the item
private:
    Kind kind_;
    std::string item_;
    int line_;
    bool real_;
};

// Parses a complete numeric item ("12", "-.5", "1E-05", "1.5D2", "+3.");
// false for anything else. An empty text is not parsed here (it is the empty item).
bool parseNumber(std::string_view text, double& value);

class ListReader {
public:
    ListReader() = default;
    explicit ListReader(std::string content);

    void rewind();               // back to the start of the content
    bool atEnd() const;          // nothing left to read
    int line() const { return line_; }
    std::size_t position() const { return pos_; }        // byte offset of the next character

    // Where the reading stands, to come back to it with seek().
    struct Mark {
        std::size_t pos = 0;
        int line = 1;
    };
    Mark mark() const { return {pos_, line_}; }
    void seek(Mark m) {
        pos_ = m.pos;
        line_ = m.line;
    }
    const std::string& content() const { return content_; }

    struct Item {
        std::string text;        // trimmed text of the item
        bool empty = false;      // a bare separator or blank line
        int line = 0;
    };
    // A numeric item: ends at a blank, comma or line end.
    Item nextNumberItem();
    // A text item: a quoted string runs to the closing quote; otherwise the
    // item runs to the next comma or line end, trailing blanks trimmed.
    Item nextTextItem();

    float readSingle();          // empty item -> 0
    std::int16_t readInteger();  // real values round half to even
    double readDouble();
    std::string readText();

private:
    void skipBlanks();
    void consumeLineEnd();       // CR LF, LF or CR; counts the line
    bool startItem(Item& item);  // false when the item is empty
    std::string readQuoted();    // from the opening quote past the closing one
    void finishItem();           // blanks, then one separator

    std::string content_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace tarvel
