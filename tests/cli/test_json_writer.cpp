// Protects the JSON writer of the --json summaries: a table written straight
// to a file in pieces is the same text as the table written whole, and every
// value reads back to the single-precision value it was written from.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/json_writer.h"

namespace tarvel::cli {
namespace {

TEST(JsonWriter, TableWrittenInPiecesIsTheWholeTextAndReadsBack) {
    // Large enough for several pieces, with values of every size and sign,
    // zeros among them.
    auto table = std::make_unique<Table<float, 9, 190, 4>>();
    std::uint32_t seed = 99;
    std::vector<float> written;
    for (int s = 0; s <= 9; ++s) {
        for (int b = 0; b <= 190; ++b) {
            for (int c = 0; c <= 4; ++c) {
                seed = seed * 1664525u + 1013904223u;
                float x = 0.0f;
                if (seed % 5 != 0) {
                    x = static_cast<float>(static_cast<std::int32_t>(seed)) * 1e-6f;
                    if (seed % 7 == 0) x *= 1e-9f;
                }
                (*table)(s, b, c) = x;
                written.push_back(x);
            }
        }
    }
    struct Pieces final : TextSink {
        std::vector<std::string> got;
        void put(std::string_view bytes) override { got.emplace_back(bytes); }
    } sink;
    JsonWriter streamed(&sink);
    JsonWriter whole;
    for (JsonWriter* j : {&streamed, &whole}) {
        j->beginObject().key("dataFile").value("C:\\\"job\"").key("BM").table(*table);
        j->key("NMASS").value(8).endObject().endLine();
    }
    streamed.flush();
    const std::string expected = whole.take();
    EXPECT_GE(sink.got.size(), 3u);
    std::string joined;
    for (const std::string& piece : sink.got) {
        EXPECT_LE(piece.size(), 32768u);
        joined += piece;
    }
    EXPECT_TRUE(joined == expected);
    EXPECT_EQ(expected.substr(0, 30), "{\"dataFile\":\"C:\\\\\\\"job\\\"\",\"BM\"");
    EXPECT_EQ(expected.substr(expected.size() - 11), "\"NMASS\":8}\n");

    // The numbers, in storage order, read back exactly.
    std::size_t at = expected.find("\"BM\":") + 5;
    std::size_t index = 0;
    const char* p = expected.data() + at;
    const char* end = expected.data() + expected.find(",\"NMASS\"");
    while (p < end) {
        if (*p == '[' || *p == ']' || *p == ',') {
            ++p;
            continue;
        }
        float x = 1.0f;
        const auto read = std::from_chars(p, end, x);
        ASSERT_EQ(read.ec, std::errc()) << std::string(p, 20);
        ASSERT_LT(index, written.size());
        ASSERT_EQ(x, written[index]) << index;
        ++index;
        p = read.ptr;
    }
    EXPECT_EQ(index, written.size());
}

}  // namespace
}  // namespace tarvel::cli
