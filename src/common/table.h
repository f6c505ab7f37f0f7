#pragma once
// Fixed-size tables indexed the way the engineering formulas index them:
// every dimension runs 0..Upper, slot 0 exists and is normally unused, so a
// node, member or section number is used directly as the index.
// Indices are range-checked in debug and sanitizer builds.

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#if !defined(NDEBUG) && !defined(TARVEL_TABLE_CHECKS)
#define TARVEL_TABLE_CHECKS 1
#endif

namespace tarvel {

namespace detail {
[[noreturn]] inline void tableIndexFault(int index, int upper) {
    std::fprintf(stderr, "table index %d outside 0..%d\n", index, upper);
    std::abort();
}
}  // namespace detail

template <typename T, int... Upper>
class Table {
    static_assert(sizeof...(Upper) >= 1, "a table has at least one dimension");
    static constexpr std::array<int, sizeof...(Upper)> kUpper{Upper...};
    static constexpr std::size_t kSize = ((static_cast<std::size_t>(Upper) + 1) * ...);

public:
    using value_type = T;
    static constexpr int rank = static_cast<int>(sizeof...(Upper));

    Table() { data_.fill(T{}); }

    template <typename... I>
    T& operator()(I... index) {
        return data_[offset(static_cast<int>(index)...)];
    }
    template <typename... I>
    const T& operator()(I... index) const {
        return data_[offset(static_cast<int>(index)...)];
    }

    // Upper bound of dimension d (0-based dimension number).
    static constexpr int upper(int d = 0) { return kUpper[static_cast<std::size_t>(d)]; }

    void fill(const T& value) { data_.fill(value); }
    // Every entry, slot 0 included, in storage order.
    const std::array<T, kSize>& values() const { return data_; }
    void clear() { data_.fill(T{}); }

private:
    template <typename... I>
    static std::size_t offset(I... index) {
        static_assert(sizeof...(I) == sizeof...(Upper), "wrong number of table indices");
        const std::array<int, sizeof...(I)> idx{index...};
        std::size_t flat = 0;
        for (std::size_t d = 0; d < idx.size(); ++d) {
#if TARVEL_TABLE_CHECKS
            if (idx[d] < 0 || idx[d] > kUpper[d]) detail::tableIndexFault(idx[d], kUpper[d]);
#endif
            flat = flat * (static_cast<std::size_t>(kUpper[d]) + 1) + static_cast<std::size_t>(idx[d]);
        }
        return flat;
    }

    std::array<T, kSize> data_;
};

// A one-dimensional table indexed 0..upper() like Table, whose upper bound is
// set for the frame at hand, up to Capacity, instead of standing at the
// capacity: a small frame neither clears nor touches the memory a large one
// would need. The storage is kept from one sizing to the next. Indices are
// checked against the current upper bound in debug and sanitizer builds.
template <typename T, int Capacity>
class SizedTable {
public:
    static constexpr int capacity = Capacity;

    // Entries 0..upper, every one zero; upper lies within 0..Capacity.
    void resize(int upper) {
#if TARVEL_TABLE_CHECKS
        if (upper < 0 || upper > Capacity) detail::tableIndexFault(upper, Capacity);
#endif
        data_.assign(static_cast<std::size_t>(upper) + 1, T{});
    }
    int upper() const { return static_cast<int>(data_.size()) - 1; }

    T& operator()(int index) { return data_[offset(index)]; }
    const T& operator()(int index) const { return data_[offset(index)]; }

    bool operator==(const SizedTable&) const = default;

private:
    std::size_t offset(int index) const {
#if TARVEL_TABLE_CHECKS
        if (index < 0 || index > upper()) detail::tableIndexFault(index, upper());
#endif
        return static_cast<std::size_t>(index);
    }

    std::vector<T> data_;
};

// Back to the default state in place: large groups of tables are cleared
// where they stand, without a zeroed copy of the whole group on the stack.
template <typename T>
void renew(T& object) {
    std::destroy_at(&object);
    std::construct_at(&object);
}

}  // namespace tarvel
