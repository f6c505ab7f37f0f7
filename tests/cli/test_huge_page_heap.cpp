// tarvel-cli's allocator, linked into this test program in its place: blocks of
// every size and alignment, growing strings and vectors (whose last block goes
// back to the page), and far more than the page holds, so that the C
// library's allocator takes over; no two live blocks may share a byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct alignas(64) Line {
    unsigned char bytes[64];
};

struct alignas(4096) Page {
    unsigned char bytes[4096];
};

TEST(HugePageHeap, BlocksKeepTheirBytesAndAlignmentBeyondThePage) {
    std::mt19937 random(7);
    std::map<std::uintptr_t, std::pair<std::size_t, unsigned char>> live;  // start → size, fill
    std::vector<std::unique_ptr<char[]>> owned;
    std::vector<std::size_t> sizes;

    auto checkDisjoint = [&] {
        std::uintptr_t end = 0;
        for (const auto& [start, block] : live) {
            ASSERT_GE(start, end) << "two live blocks overlap";
            end = start + block.first;
        }
    };

    std::size_t total = 0;
    for (int i = 0; total < (std::size_t{8} << 20); ++i) {
        const std::size_t size = i % 50 == 0 ? 70000 + random() % 200000 : 1 + random() % 3000;
        auto block = std::make_unique<char[]>(size);
        const auto fill = static_cast<unsigned char>(i);
        std::memset(block.get(), fill, size);
        live[reinterpret_cast<std::uintptr_t>(block.get())] = {size, fill};
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % __STDCPP_DEFAULT_NEW_ALIGNMENT__, 0u);
        total += size;
        // Every third block is freed again at once: the last block handed out.
        if (i % 3 == 0) {
            live.erase(reinterpret_cast<std::uintptr_t>(block.get()));
            block.reset();
            continue;
        }
        owned.push_back(std::move(block));
    }
    checkDisjoint();
    for (const auto& [start, block] : live) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(start);
        for (std::size_t k = 0; k < block.first; k += 97) ASSERT_EQ(bytes[k], block.second);
    }

    // Over-aligned blocks, from the page and after it.
    std::vector<std::unique_ptr<Line>> lines;
    std::vector<std::unique_ptr<Page>> pages;
    for (int i = 0; i < 300; ++i) {
        lines.push_back(std::make_unique<Line>());
        pages.push_back(std::make_unique<Page>());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(lines.back().get()) % 64, 0u);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pages.back().get()) % 4096, 0u);
    }
}

TEST(HugePageHeap, BlocksFreedLastInFirstOutAreTakenAgainIntact) {
    std::allocator<unsigned char> allocator;
    std::vector<std::pair<unsigned char*, std::size_t>> stack;
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        if (stack.empty() || random() % 3 != 0) {
            const std::size_t size = 1 + random() % 5000;
            unsigned char* block = allocator.allocate(size);
            std::memset(block, static_cast<unsigned char>(stack.size()), size);
            stack.emplace_back(block, size);
        } else {
            const auto [block, size] = stack.back();
            stack.pop_back();
            for (std::size_t k = 0; k < size; ++k) {
                ASSERT_EQ(block[k], static_cast<unsigned char>(stack.size())) << "block overwritten";
            }
            allocator.deallocate(block, size);
        }
    }
    for (const auto& [block, size] : stack) allocator.deallocate(block, size);
}

TEST(HugePageHeap, GrowingContainersKeepTheirContents) {
    std::string text;
    std::vector<double> values;
    for (int i = 0; i < 200000; ++i) {
        text += static_cast<char>('A' + i % 26);
        values.push_back(i * 0.5);
    }
    for (int i = 0; i < 200000; i += 1013) {
        ASSERT_EQ(text[static_cast<std::size_t>(i)], static_cast<char>('A' + i % 26));
        ASSERT_EQ(values[static_cast<std::size_t>(i)], i * 0.5);
    }
    std::vector<std::string> many(5000, std::string(100, 'x'));
    for (const std::string& s : many) ASSERT_EQ(s, std::string(100, 'x'));
}

}  // namespace
