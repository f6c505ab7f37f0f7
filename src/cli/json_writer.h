#pragma once
// A small JSON writer for the --json outputs. Floats are written in their
// shortest form that reads back to the same single-precision value.

#include <string>
#include <string_view>
#include <vector>

#include "common/table.h"

namespace tarvel::cli {

class JsonWriter {
public:
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

    // A whole table as nested arrays over every index range 0..Upper
    // (slot 0 included, so indices in scripts are the engineer's numbers).
    template <typename T, int... U>
    JsonWriter& table(const Table<T, U...>& t) {
        constexpr int kRank = sizeof...(U);
        int idx[kRank] = {};
        tableLevel<T, U...>(t, idx, 0);
        return *this;
    }

    const std::string& str() const { return out_; }

private:
    template <typename T, int... U>
    void tableLevel(const Table<T, U...>& t, int* idx, int d) {
        constexpr int kRank = sizeof...(U);
        if (d + 1 == kRank) {
            // The innermost arrays hold most of the values: written directly.
            separator();
            out_ += '[';
            for (idx[d] = 0; idx[d] <= Table<T, U...>::upper(d); ++idx[d]) {
                if (idx[d] != 0) out_ += ',';
                number(element(t, idx, std::make_integer_sequence<int, kRank>{}));
            }
            out_ += ']';
            return;
        }
        beginArray();
        for (idx[d] = 0; idx[d] <= Table<T, U...>::upper(d); ++idx[d]) tableLevel<T, U...>(t, idx, d + 1);
        endArray();
    }
    template <typename T, int... U, int... I>
    static T element(const Table<T, U...>& t, const int* idx, std::integer_sequence<int, I...>) {
        return t(idx[I]...);
    }

    void separator();
    // A number without its separator.
    void number(float x);
    void number(double x);
    void number(long long v);
    void number(int v) { number(static_cast<long long>(v)); }
    std::string out_;
    std::vector<bool> first_;  // per open container: no element written yet
    bool afterKey_ = false;
};

}  // namespace tarvel::cli
