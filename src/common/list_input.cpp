#include "list_input.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>
#include <optional>

#include "basic_convert.h"

namespace tarvel {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string errorText(ListInputError::Kind kind, const std::string& item, int line) {
    const std::string where = "第 " + std::to_string(line) + " 行";
    switch (kind) {
        case ListInputError::Kind::PastEnd:
            return "读数据超过文件末尾（" + where + "）";
        case ListInputError::Kind::NotNumber:
            return where + "的数据项 '" + item + "' 不是数值";
        case ListInputError::Kind::Overflow:
            return where + "的数据项 '" + item + "' 数值溢出";
    }
    return where;
}

}  // namespace

ListInputError::ListInputError(Kind kind, std::string item, int line, bool real)
    : std::runtime_error(errorText(kind, item, line)),
      kind_(kind),
      item_(std::move(item)),
      line_(line),
      real_(real) {}

// Syntax: [sign] digits [. digits] [E|D [sign] digits], with at least one
// mantissa digit; D is the double-precision exponent letter of the old
// BASIC files and means the same as E.
//
// Nearly every number of a data file has few digits and a small exponent:
// its digits as an integer m, up to 2^53, and the power of ten p it is to be
// scaled by, |p| <= 22, are both exact doubles, so one multiplication or
// division rounds m·10^p correctly, which is the value std::from_chars gives.
// Any other number is rebuilt in the form std::from_chars takes (no sign,
// letter e), which is locale-independent.
bool parseNumber(std::string_view text, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    const std::size_t mantissaBegin = i;
    int mantissaDigits = 0;
    int fractionDigits = 0;
    std::uint64_t digits = 0;  // the mantissa's digits as an integer, while exact
    bool digitsExact = true;
    // Decimal position of the first significant digit, for telling an
    // overflow from an underflow when from_chars reports out of range.
    long leadingPosition = 0;
    bool seenSignificant = false;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++mantissaDigits;
            if (c != '0' && !seenSignificant) seenSignificant = true;
            if (seenSignificant && !seenPoint) ++leadingPosition;
            if (!seenSignificant && seenPoint) --leadingPosition;
            if (seenPoint) ++fractionDigits;
            if (digits < (std::uint64_t{1} << 53) / 10) {
                digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            } else {
                digitsExact = false;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    const std::size_t mantissaEnd = i;

    long exponent = 0;
    std::size_t exponentSign = 0;  // position of the exponent's sign or first digit
    if (i < text.size()) {
        const char letter = text[i];
        if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return false;
        ++i;
        exponentSign = i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        const std::size_t firstExponentDigit = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (i == firstExponentDigit || i != text.size()) return false;
        if (negativeExponent) exponent = -exponent;
    }

    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const long scale = exponent - fractionDigits;
    double magnitude = 0.0;
    if (digitsExact && scale >= -22 && scale <= 22) {
        const auto m = static_cast<double>(digits);
        magnitude = scale >= 0 ? m * kPowersOfTen[scale] : m / kPowersOfTen[-scale];
    } else {
        std::string plain(text.substr(mantissaBegin, mantissaEnd - mantissaBegin));
        if (exponentSign != 0) plain.append("e").append(text.substr(exponentSign));
        const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), magnitude);
        if (end != plain.data() + plain.size()) return false;
        if (error == std::errc::result_out_of_range) {
            const bool tooLarge = seenSignificant && leadingPosition + exponent > 0;
            magnitude = tooLarge ? std::numeric_limits<double>::infinity() : 0.0;
        } else if (error != std::errc()) {
            return false;
        }
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

ListReader::ListReader(std::string content) : content_(std::move(content)) { rewind(); }

void ListReader::rewind() {
    pos_ = std::string_view(content_).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    line_ = 1;
}

bool ListReader::atEnd() const {
    std::size_t p = pos_;
    while (p < content_.size() && isBlank(content_[p])) ++p;
    return p >= content_.size();
}

void ListReader::skipBlanks() {
    while (pos_ < content_.size() && isBlank(content_[pos_])) ++pos_;
}

void ListReader::consumeLineEnd() {
    if (content_[pos_] == '\r' && pos_ + 1 < content_.size() && content_[pos_ + 1] == '\n') {
        ++pos_;
    }
    ++pos_;
    ++line_;
}

void ListReader::finishItem() {
    skipBlanks();
    if (pos_ >= content_.size()) return;
    if (content_[pos_] == ',') {
        ++pos_;
    } else if (isLineEnd(content_[pos_])) {
        consumeLineEnd();
    }
    // Anything else starts the next item: numbers written with blanks between them.
}

bool ListReader::startItem(Item& item) {
    skipBlanks();
    item.line = line_;
    if (pos_ >= content_.size()) throw ListInputError(ListInputError::Kind::PastEnd, "", line_);
    if (content_[pos_] == ',') {
        ++pos_;
        item.empty = true;
    } else if (isLineEnd(content_[pos_])) {
        consumeLineEnd();
        item.empty = true;
    }
    return !item.empty;
}

std::string ListReader::readQuoted() {
    ++pos_;  // opening quote
    std::string text;
    while (pos_ < content_.size() && content_[pos_] != '"') {
        if (isLineEnd(content_[pos_])) {
            const std::size_t from = pos_;
            consumeLineEnd();
            text.append(content_, from, pos_ - from);
        } else {
            text += content_[pos_++];
        }
    }
    if (pos_ < content_.size()) ++pos_;  // closing quote; a string cut short by the end is kept
    return text;
}

ListReader::Item ListReader::nextNumberItem() {
    Item item;
    if (!startItem(item)) return item;
    if (content_[pos_] == '"') {
        // Kept with its quotes so that it is reported as the text it is.
        item.text = '"' + readQuoted() + '"';
    } else {
        const std::size_t from = pos_;
        while (pos_ < content_.size() && !isBlank(content_[pos_]) && content_[pos_] != ',' &&
               !isLineEnd(content_[pos_])) {
            ++pos_;
        }
        item.text = content_.substr(from, pos_ - from);
    }
    finishItem();
    return item;
}

ListReader::Item ListReader::nextTextItem() {
    Item item;
    if (!startItem(item)) return item;
    if (content_[pos_] == '"') {
        item.text = readQuoted();
    } else {
        const std::size_t from = pos_;
        while (pos_ < content_.size() && content_[pos_] != ',' && !isLineEnd(content_[pos_])) {
            ++pos_;
        }
        std::size_t to = pos_;
        while (to > from && isBlank(content_[to - 1])) --to;
        item.text = content_.substr(from, to - from);
    }
    finishItem();
    return item;
}

namespace {

// The value of a numeric item; an empty item reads as 0.
double numberValue(const ListReader::Item& item) {
    if (item.empty) return 0.0;
    double value = 0.0;
    if (!parseNumber(item.text, value)) {
        throw ListInputError(ListInputError::Kind::NotNumber, item.text, item.line);
    }
    if (std::isinf(value)) {
        throw ListInputError(ListInputError::Kind::Overflow, item.text, item.line, true);
    }
    return value;
}

}  // namespace

float ListReader::readSingle() {
    const Item item = nextNumberItem();
    const double value = numberValue(item);
    // Checked before the conversion, which is undefined outside the float range.
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        throw ListInputError(ListInputError::Kind::Overflow, item.text, item.line, true);
    }
    return static_cast<float>(value);
}

std::int16_t ListReader::readInteger() {
    const Item item = nextNumberItem();
    const std::optional<std::int16_t> value = toInteger(numberValue(item));
    if (!value) throw ListInputError(ListInputError::Kind::Overflow, item.text, item.line);
    return *value;
}

double ListReader::readDouble() { return numberValue(nextNumberItem()); }

std::string ListReader::readText() { return nextTextItem().text; }

}  // namespace tarvel
