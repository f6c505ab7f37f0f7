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
        beginArray();
        for (idx[d] = 0; idx[d] <= Table<T, U...>::upper(d); ++idx[d]) {
            if (d + 1 == kRank) {
                value(element(t, idx, std::make_integer_sequence<int, kRank>{}));
            } else {
                tableLevel<T, U...>(t, idx, d + 1);
            }
        }
        endArray();
    }
    template <typename T, int... U, int... I>
    static T element(const Table<T, U...>& t, const int* idx, std::integer_sequence<int, I...>) {
        return t(idx[I]...);
    }

    void separator();
    std::string out_;
    std::vector<bool> first_;  // per open container: no element written yet
    bool afterKey_ = false;
};

}  // namespace tarvel::cli
