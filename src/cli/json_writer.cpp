#include "cli/json_writer.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "common/shortest_number.h"

namespace tarvel::cli {

void JsonWriter::separator() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) put(',');
        first_.back() = 0;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separator();
    put('{');
    first_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    first_.pop_back();
    put('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separator();
    put('[');
    first_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    first_.pop_back();
    put(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    value(name);
    put(':');
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separator();
    put('"');
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            put('\\');
            put(ch);
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            put(buf);
        } else {
            put(ch);
        }
    }
    put('"');
    return *this;
}

namespace {

// Room one number needs, its separator included.
constexpr std::size_t kNumberRoom = kShortestRoom + 2;

template <typename F>
char* writeNumber(char* p, F x) {
    if (x == F{0} && !std::signbit(x)) {  // most entries of the tables
        *p++ = '0';
        return p;
    }
    if (!std::isfinite(x)) {  // JSON has no infinities; never produced by a sound run
        std::memcpy(p, "null", 4);
        return p + 4;
    }
    return writeShortest(p, x);
}

char* writeNumber(char* p, long long v) { return std::to_chars(p, p + 24, v).ptr; }

}  // namespace

// The room is zero-filled a little at a time, so that only pages the text
// reaches are touched; the string doubles its capacity as it grows. With a
// sink the text goes on once the room is used up and the room is used again.
void JsonWriter::grow(std::size_t count) {
    constexpr std::size_t kStep = 16384;
    constexpr std::size_t kPiece = 32768;
    if (sink_ != nullptr) {
        flush();
        if (out_.size() < count) out_.resize(std::max(count, kPiece));
        return;
    }
    out_.resize(used_ + std::max(count, kStep));
}

void JsonWriter::flush() {
    if (sink_ == nullptr || used_ == 0) return;
    sink_->put(std::string_view(out_.data(), used_));
    used_ = 0;
}

void JsonWriter::put(char c) {
    *room(1) = c;
    ++used_;
}

void JsonWriter::put(std::string_view text) {
    std::memcpy(room(text.size()), text.data(), text.size());
    used_ += text.size();
}

template <typename T>
void JsonWriter::number(T x) {
    used_ = static_cast<std::size_t>(writeNumber(room(kNumberRoom), x) - out_.data());
}

namespace {

// `count` values as one array, into room for 2 + count · kNumberRoom characters.
template <typename T>
char* writeArray(char* p, const T* values, int count) {
    *p++ = '[';
    if (count > 0) p = writeNumber(p, values[0]);
    using Bits = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
    for (int i = 1; i < count; ++i) {
        if (std::bit_cast<Bits>(values[i]) == 0) {  // +0, most entries: no test of its form
            p[0] = ',';
            p[1] = '0';
            p += 2;
            continue;
        }
        *p++ = ',';
        p = writeNumber(p, values[i]);
    }
    *p++ = ']';
    return p;
}

}  // namespace

template <typename T>
void JsonWriter::numbers(const T* values, int count) {
    // Room for the whole array at once: no check per value.
    char* p = room(2 + static_cast<std::size_t>(count) * kNumberRoom);
    used_ = static_cast<std::size_t>(writeArray(p, values, count) - out_.data());
}

template <typename T>
void JsonWriter::rows(const T* values, int rows, int count) {
    separator();
    const auto rowRoom = 3 + static_cast<std::size_t>(count) * kNumberRoom;
    char* p = room(2 + static_cast<std::size_t>(rows) * rowRoom);
    *p++ = '[';
    for (int r = 0; r < rows; ++r) {
        if (r > 0) *p++ = ',';
        p = writeArray(p, values + static_cast<std::size_t>(r) * static_cast<std::size_t>(count), count);
    }
    *p++ = ']';
    used_ = static_cast<std::size_t>(p - out_.data());
}

template void JsonWriter::rows(const float*, int, int);
template void JsonWriter::rows(const double*, int, int);

JsonWriter& JsonWriter::array(const float* values, int count) {
    separator();
    numbers(values, count);
    return *this;
}

JsonWriter& JsonWriter::array(const double* values, int count) {
    separator();
    numbers(values, count);
    return *this;
}

std::string JsonWriter::take() {
    out_.resize(used_);
    used_ = 0;
    first_.clear();
    afterKey_ = false;
    return std::exchange(out_, std::string());
}

JsonWriter& JsonWriter::value(float x) {
    separator();
    number(x);
    return *this;
}

JsonWriter& JsonWriter::value(double x) {
    separator();
    number(x);
    return *this;
}

JsonWriter& JsonWriter::value(long long v) {
    separator();
    number(v);
    return *this;
}

JsonWriter& JsonWriter::endLine() {
    put('\n');
    return *this;
}

JsonWriter& JsonWriter::value(bool b) {
    separator();
    put(b ? "true" : "false");
    return *this;
}

}  // namespace tarvel::cli
