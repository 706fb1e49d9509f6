// Counts heap allocations in a test program, to prove that a hot path allocates nothing.
// Including this header replaces the program's global operator new and delete (malloc and
// free underneath), so include it in exactly one source file of a test executable.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace phonomir::testing {

// Every operator new of the program, on any thread, since it started.
inline std::atomic<long> allocationCount{0};

// Allocations made while `work` runs (other threads' allocations in that time count too).
template <typename Work>
long allocationsDuring(Work&& work) {
    const long before = allocationCount.load();
    work();
    return allocationCount.load() - before;
}

}  // namespace phonomir::testing

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // both sides use malloc and free
#endif

void* operator new(std::size_t size) {
    phonomir::testing::allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
