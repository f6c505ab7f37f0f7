#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarvel::cli {

void JsonWriter::separator() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separator();
    out_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    first_.pop_back();
    out_ += '}';
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separator();
    out_ += '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    first_.pop_back();
    out_ += ']';
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    value(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separator();
    out_ += '"';
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out_ += '\\';
            out_ += ch;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out_ += buf;
        } else {
            out_ += ch;
        }
    }
    out_ += '"';
    return *this;
}

namespace {
template <typename F>
void appendNumber(std::string& out, F x) {
    if (!std::isfinite(x)) {
        out += "null";  // JSON has no infinities; never produced by a sound run
        return;
    }
    if (x == 0 && !std::signbit(x)) {  // most entries of the tables
        out += '0';
        return;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    out.append(buf, res.ptr);
}
}  // namespace

void JsonWriter::number(float x) { appendNumber(out_, x); }

void JsonWriter::number(double x) { appendNumber(out_, x); }

void JsonWriter::number(long long v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, res.ptr);
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

JsonWriter& JsonWriter::value(bool b) {
    separator();
    out_ += b ? "true" : "false";
    return *this;
}

}  // namespace tarvel::cli
