#include "print_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "printed_number.h"

namespace tarvel {

namespace {

constexpr int kZoneWidth = 14;

// Characters of a UTF-8 text: every byte except the continuation bytes
// 10xxxxxx starts one.
int characterCount(std::string_view utf8) {
    // Eight bytes at a time: bit 7 of a byte of `w & ~(w << 1)` is set
    // exactly when the byte is 10xxxxxx (the shift moves each byte's bit 6
    // into its bit 7; no bit crosses into a neighbour's bit 7).
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t continuation = 0;
    std::size_t i = 0;
    for (; i + 8 <= utf8.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, utf8.data() + i, sizeof w);
        // One bit per byte at bit 0, summed into the top byte.
        const std::uint64_t marks = (w & ~(w << 1) & kHighBits) >> 7;
        continuation += static_cast<std::size_t>((marks * 0x0101010101010101u) >> 56);
    }
    for (; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++continuation;
    }
    return static_cast<int>(utf8.size() - continuation);
}

// Characters of a UTF-8 text that has no line feed; -1 when it has one.
// One pass, eight bytes at a time: a byte of w ^ "\n\n..." is zero exactly
// at a line feed, and (v - 0x01..) & ~v & 0x80.. is nonzero exactly when v has
// a zero byte.
int charactersOnOneLine(std::string_view utf8) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    constexpr std::uint64_t kLowBits = 0x0101010101010101u;
    constexpr std::uint64_t kLineFeeds = kLowBits * '\n';
    std::size_t continuation = 0;
    std::size_t i = 0;
    for (; i + 8 <= utf8.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, utf8.data() + i, sizeof w);
        const std::uint64_t v = w ^ kLineFeeds;
        if (((v - kLowBits) & ~v & kHighBits) != 0) return -1;
        const std::uint64_t marks = (w & ~(w << 1) & kHighBits) >> 7;
        continuation += static_cast<std::size_t>((marks * kLowBits) >> 56);
    }
    for (; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\n') return -1;
        if ((c & 0xC0) == 0x80) ++continuation;
    }
    return static_cast<int>(utf8.size() - continuation);
}

}  // namespace

// The room is zero-filled a little at a time, so that only pages the text
// reaches are touched; the string doubles its capacity as it grows. With a
// sink the text goes on once a piece is full and the room is used again:
// whole files in few writes let the kernel keep them in large pages.
void PrintBuffer::grow(std::size_t count) {
    constexpr std::size_t kStep = 4096;
    constexpr std::size_t kPiece = 262144;
    if (sink_ != nullptr) {
        flush();
        if (text_.size() < count) text_.resize(std::max(count, kPiece));
        return;
    }
    text_.resize(used_ + std::max(count, kStep));
}

void PrintBuffer::flush() {
    if (sink_ == nullptr || used_ == 0) return;
    sink_->put(std::string_view(text_.data(), used_));
    used_ = 0;
}

std::string PrintBuffer::releaseRoom() {
    flush();
    used_ = 0;
    return std::exchange(text_, std::string());
}

PrintBuffer& PrintBuffer::text(std::string_view utf8) {
    std::memcpy(room(utf8.size()), utf8.data(), utf8.size());
    used_ += utf8.size();
    const int characters = charactersOnOneLine(utf8);
    if (characters >= 0) {
        column_ += characters;
        return *this;
    }
    // A line break inside the item starts the count again on the new line.
    column_ = 1 + characterCount(utf8.substr(utf8.rfind('\n') + 1));
    return *this;
}

PrintBuffer& PrintBuffer::numberEndsAt(const char* end) {
    const auto now = static_cast<std::size_t>(end - text_.data());
    column_ += static_cast<int>(now - used_);
    used_ = now;
    return *this;
}

PrintBuffer& PrintBuffer::single(float x) { return numberEndsAt(writeSingle(room(kPrintedItemRoom), x)); }

PrintBuffer& PrintBuffer::dbl(double x) { return numberEndsAt(writeDouble(room(kPrintedItemRoom), x)); }

PrintBuffer& PrintBuffer::integer(long long v) {
    return numberEndsAt(writeInteger(room(kPrintedItemRoom), v));
}

PrintBuffer& PrintBuffer::fourDecimals(double x) {
    return numberEndsAt(writeFourDecimals(room(kPrintedItemRoom), x));
}

PrintBuffer& PrintBuffer::truncated(float x) {
    return numberEndsAt(writeTruncated(room(kPrintedItemRoom), x));
}

// Up to 16 blanks, nearly every tab and zone, are written as two words
// of blanks of which only the ones asked for are kept.
void PrintBuffer::blanks(std::size_t count) {
    constexpr std::size_t kWordBlanks = 16;
    if (count <= kWordBlanks) {
        constexpr std::uint64_t kBlankWord = 0x2020202020202020u;
        char* p = room(kWordBlanks);
        std::memcpy(p, &kBlankWord, sizeof kBlankWord);
        std::memcpy(p + sizeof kBlankWord, &kBlankWord, sizeof kBlankWord);
    } else {
        std::memset(room(count), ' ', count);
    }
    used_ += count;
}

PrintBuffer& PrintBuffer::tab(int column) {
    if (column < 1) column = 1;
    if (column_ > column) endLine();
    blanks(static_cast<std::size_t>(column - column_));
    column_ = column;
    return *this;
}

PrintBuffer& PrintBuffer::zone() {
    const int next = ((column_ - 1) / kZoneWidth + 1) * kZoneWidth + 1;
    blanks(static_cast<std::size_t>(next - column_));
    column_ = next;
    return *this;
}

PrintBuffer& PrintBuffer::endLine() {
    char* p = room(2);
    p[0] = '\r';
    p[1] = '\n';
    used_ += 2;
    column_ = 1;
    return *this;
}

const std::string& PrintBuffer::str() const {
    text_.resize(used_);
    return text_;
}

// The print position stays: it belongs to the line being written, which may
// continue after the text taken so far has gone to its file.
std::string PrintBuffer::take() {
    text_.resize(used_);
    used_ = 0;
    return std::exchange(text_, std::string());
}

}  // namespace tarvel
