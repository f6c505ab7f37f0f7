// The C++ allocations of one tarvel-cli command, taken from a single 2 MB page.
//
// A run of the largest frame allocates under 1 MB in all, but it did so over
// some sixty fresh 4 KB pages besides the analysis state's eighty, and on a
// virtual machine each fresh page costs the kernel ten microseconds and more:
// a fifth of the run. Here the blocks come one after another from one
// transparent huge page, which the kernel maps and clears with a single fault.
// A block goes back to the page only when it is the last one handed out (a
// short-lived string or vector is often freed before anything else is taken,
// and its size is known); any other
// freed block stays where it is, as the command ends soon after. Once the page
// is used up, or where the kernel gives no huge pages to those who ask for
// them, the C library's allocator serves as before. The page is taken at the
// first block of 64 KB or more (the analysis state, a drawing's tables): a
// command that needs little memory, such as the help text, does not pay for
// clearing 2 MB.
//
// tarvel-cli runs one thread, but the page is shared with atomic steps all the
// same. Not built into the sanitizer builds, whose allocator checks every block.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kFirstLargeBlock = std::size_t{64} << 10;

// Whether the kernel gives huge pages to a mapping that asks for them:
// "always [madvise] never" names the mode in force in brackets.
bool hugePagesOnRequest() {
    const int fd = ::open("/sys/kernel/mm/transparent_hugepage/enabled", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char text[64] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    return n > 0 && (std::strstr(text, "[always]") != nullptr || std::strstr(text, "[madvise]") != nullptr);
}

class HugePageHeap {
public:
    void* take(std::size_t size, std::size_t alignment) {
        if (size >= kFirstLargeBlock && state_.load(std::memory_order_acquire) == State::Unset) open();
        if (state_.load(std::memory_order_acquire) == State::Open) {
            std::uintptr_t top = top_.load(std::memory_order_relaxed);
            for (;;) {
                const std::uintptr_t block = (top + alignment - 1) & ~(alignment - 1);
                if (block + size < block || block + size > end_) break;
                if (top_.compare_exchange_weak(top, block + size, std::memory_order_relaxed)) {
                    return reinterpret_cast<void*>(block);
                }
            }
        }
        const std::size_t rounded = (size + alignment - 1) & ~(alignment - 1);
        void* block = alignment <= alignof(std::max_align_t) ? std::malloc(size)
                                                             : std::aligned_alloc(alignment, rounded);
        if (block == nullptr) throw std::bad_alloc();
        return block;
    }

    // `size` is 0 where the caller did not say it.
    void give(void* pointer, std::size_t size) noexcept {
        const auto block = reinterpret_cast<std::uintptr_t>(pointer);
        if (block >= begin_ && block < end_) {
            std::uintptr_t last = block + size;
            if (size != 0) top_.compare_exchange_strong(last, block, std::memory_order_relaxed);
            return;
        }
        std::free(pointer);
    }

private:
    enum class State { Unset, Open, Closed };

    void open() {
        State expected = State::Unset;
        if (!state_.compare_exchange_strong(expected, State::Closed, std::memory_order_acq_rel)) return;
        if (!hugePagesOnRequest()) return;
        // Twice the size, to find a whole huge page inside; the rest is never touched.
        void* room = ::mmap(nullptr, 2 * kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (room == MAP_FAILED) return;
        const std::uintptr_t page = (reinterpret_cast<std::uintptr_t>(room) + kHugePage - 1) & ~(kHugePage - 1);
        if (::madvise(reinterpret_cast<void*>(page), kHugePage, MADV_HUGEPAGE) != 0) {
            ::munmap(room, 2 * kHugePage);
            return;
        }
        begin_ = page;
        end_ = page + kHugePage;
        top_.store(page, std::memory_order_relaxed);
        state_.store(State::Open, std::memory_order_release);
    }

    std::atomic<State> state_{State::Unset};
    std::uintptr_t begin_ = 0;
    std::uintptr_t end_ = 0;
    std::atomic<std::uintptr_t> top_{0};
};

// Constant-initialised: ready before any static constructor allocates.
constinit HugePageHeap heap;

constexpr std::size_t kNewAlignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

std::size_t alignmentOf(std::align_val_t alignment) {
    const auto a = static_cast<std::size_t>(alignment);
    return a > kNewAlignment ? a : kNewAlignment;
}

}  // namespace

void* operator new(std::size_t size) { return heap.take(size != 0 ? size : 1, kNewAlignment); }
void* operator new[](std::size_t size) { return heap.take(size != 0 ? size : 1, kNewAlignment); }
void* operator new(std::size_t size, std::align_val_t a) { return heap.take(size != 0 ? size : 1, alignmentOf(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return heap.take(size != 0 ? size : 1, alignmentOf(a)); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept { heap.give(p, 0); }
void operator delete[](void* p) noexcept { heap.give(p, 0); }
void operator delete(void* p, std::size_t size) noexcept { heap.give(p, size != 0 ? size : 1); }
void operator delete[](void* p, std::size_t size) noexcept { heap.give(p, size != 0 ? size : 1); }
void operator delete(void* p, std::align_val_t) noexcept { heap.give(p, 0); }
void operator delete[](void* p, std::align_val_t) noexcept { heap.give(p, 0); }
void operator delete(void* p, std::size_t size, std::align_val_t) noexcept { heap.give(p, size != 0 ? size : 1); }
void operator delete[](void* p, std::size_t size, std::align_val_t) noexcept { heap.give(p, size != 0 ? size : 1); }
void operator delete(void* p, const std::nothrow_t&) noexcept { heap.give(p, 0); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { heap.give(p, 0); }
