#pragma once
// The banded Cholesky recurrence shared by `LI` (single precision) and the
// mechanism check (double precision). Storage as `LI` describes it: band
// column c of row r at sk[(r−1)·MBAND + c], the diagonal at sk[r·MBAND].

#include <algorithm>
#include <cmath>

namespace tarvel::band {

// Band columns of one row that are finished together. Their sums are
// independent up to the columns of the group itself, so the group's sums run
// side by side over the columns before the group; each sum still adds its
// terms one by one in ascending order, which keeps the results those of the
// plain recurrence.
inline constexpr int kGroup = 8;

// Row i of the factor: L(i, j) for j = m0 .. MBAND−1, with r' = i − MBAND + j,
//   L(i, j) = (SK(i, j) − Σ_{k=m0}^{j−1} L(i, k)·L(r', MBAND+k−j)) / L(r', MBAND).
template <typename T>
void factorRow(const T* sk, int i, T* row, int m0, int MBAND) {
    for (int j0 = m0; j0 <= MBAND - 1; j0 += kGroup) {
        const int count = std::min(kGroup, MBAND - j0);
        T sum[kGroup] = {};
        // partner[g][k] = L(r', MBAND + k − j), stored at (r' − 1)·MBAND + MBAND + k − j.
        const T* partner[kGroup] = {};
        for (int g = 0; g < count; ++g) {
            const int j = j0 + g;
            partner[g] = sk + (i - MBAND + j) * MBAND - j;
        }
        // Terms from the finished columns m0 .. j0−1.
        if (count == kGroup) {
            for (int k = m0; k < j0; ++k) {
                const T x = row[k];
                for (int g = 0; g < kGroup; ++g) sum[g] += x * partner[g][k];
            }
        } else {
            for (int k = m0; k < j0; ++k) {
                const T x = row[k];
                for (int g = 0; g < count; ++g) sum[g] += x * partner[g][k];
            }
        }
        // Terms inside the group, then the entry itself.
        for (int g = 0; g < count; ++g) {
            const int j = j0 + g;
            T s = sum[g];
            for (int k = j0; k < j; ++k) s += row[k] * partner[g][k];
            row[j] = (row[j] - s) / partner[g][j];  // divided by L(r', MBAND)
        }
    }
}

// A row of the band usually starts with a run of exact zeros (band columns
// before the first matrix column the row is coupled to). Such an entry stays
// the same zero in the factor (0 / positive pivot), and each term it
// contributes to a sum is a zero product that leaves the sum as it was (a sum
// started at +0 never becomes −0), provided the other factor of the term is
// finite. The recurrences therefore start at the row's first non-zero entry,
// which gives every entry bit for bit the value of the full recurrence, as
// long as every row finished so far has a positive, finite pivot (then all
// its entries are finite); after a row that has not, the full recurrence runs.
template <typename T>
int firstNonZero(const T* row, int m0, int MBAND) {
    int c = m0;
    while (c < MBAND && row[c] == T{0}) ++c;
    return c;
}

// Factorises rows 1..NDOF in place. `accept(i, d, diagonal)` judges the pivot
// d = SK(i, MBAND) − Σ L(i, k)² of row i against its original diagonal; the
// first row it refuses is returned (0 when every row is accepted).
template <typename T, typename Accept>
int factor(T* sk, int NDOF, int MBAND, Accept accept) {
    bool skipZeros = true;
    for (int i = 1; i <= NDOF; ++i) {
        T* const row = sk + (i - 1) * MBAND;  // row[c] = band column c of row i
        const int m0 = std::max(1, MBAND - i + 1);
        const int first = skipZeros ? firstNonZero(row, m0, MBAND) : m0;
        factorRow(sk, i, row, first, MBAND);
        T s = 0;
        for (int k = first; k <= MBAND - 1; ++k) s += row[k] * row[k];
        const T diagonal = row[MBAND];
        const T d = diagonal - s;
        if (!accept(i, d, diagonal)) return i;
        if (!(d > T{0} && std::isfinite(d))) skipZeros = false;
        row[MBAND] = std::sqrt(d);
    }
    return 0;
}

}  // namespace tarvel::band
