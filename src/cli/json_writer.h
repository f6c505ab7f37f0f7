#pragma once
// A small JSON writer for the --json outputs. Floats are written in their
// shortest form that reads back to the same single-precision value.

#include <string>
#include <string_view>
#include <vector>

#include "common/print_buffer.h"
#include "common/table.h"

namespace tarvel::cli {

class JsonWriter {
public:
    JsonWriter() = default;
    // The text goes on to `sink` in pieces of about 32 KB as it is written;
    // flush() hands on the rest.
    explicit JsonWriter(TextSink* sink) : sink_(sink) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(float x);
    JsonWriter& value(double x);
    JsonWriter& value(long long v);
    JsonWriter& value(int v) { return value(static_cast<long long>(v)); }
    JsonWriter& value(bool b);
    JsonWriter& endLine();  // a line feed after the outermost value

    // A whole table as nested arrays over every index range 0..Upper
    // (slot 0 included, so indices in scripts are the engineer's numbers).
    template <typename T, int... U>
    JsonWriter& table(const Table<T, U...>& t) {
        static constexpr int kUpper[] = {U...};
        // The nested arrays visit the entries in storage order.
        const T* next = t.values().data();
        tableLevel(next, kUpper, static_cast<int>(sizeof...(U)));
        return *this;
    }

    // `count` values from `values` on as one array.
    JsonWriter& array(const float* values, int count);
    JsonWriter& array(const double* values, int count);

    // The text written; the writer is left empty.
    std::string take();
    void flush();  // the text so far to the sink (none: nothing happens)

private:
    template <typename T>
    void tableLevel(const T*& next, const int* upper, int rank) {
        const int count = upper[0] + 1;
        if (rank == 1) {
            array(next, count);
            next += count;
            return;
        }
        if (rank == 2) {  // the innermost rows in one pass
            rows(next, count, upper[1] + 1);
            next += static_cast<std::size_t>(count) * static_cast<std::size_t>(upper[1] + 1);
            return;
        }
        beginArray();
        for (int i = 0; i < count; ++i) tableLevel(next, upper + 1, rank - 1);
        endArray();
    }
    // Room for `count` more characters at the end of the text.
    char* room(std::size_t count) {
        if (out_.size() - used_ < count) grow(count);
        return out_.data() + used_;
    }
    void grow(std::size_t count);
    void put(char c);
    void put(std::string_view text);
    template <typename T>
    void number(T x);
    template <typename T>
    void numbers(const T* values, int count);
    // `rows` arrays of `count` values each, as one array.
    template <typename T>
    void rows(const T* values, int rows, int count);

    void separator();
    std::string out_;      // the text in its first used_ characters
    std::size_t used_ = 0;
    std::vector<char> first_;  // per open container: no element written yet
    bool afterKey_ = false;
    TextSink* sink_ = nullptr;
};

}  // namespace tarvel::cli
