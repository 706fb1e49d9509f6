// A bounded lock-free queue of small values for exactly one producer thread and one consumer
// thread. Storage is allocated once in the constructor; push and pop never allocate or block.
#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace phonomir {

template <typename T>
class SpscQueue {
public:
    explicit SpscQueue(std::size_t capacity) : slots_(capacity + 1) {}

    // Producer side; false when full.
    bool push(const T& value) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) % slots_.size();
        if (next == head_.load(std::memory_order_acquire)) return false;
        slots_[tail] = value;
        tail_.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side; false when empty.
    bool pop(T& value) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        value = slots_[head];
        head_.store((head + 1) % slots_.size(), std::memory_order_release);
        return true;
    }

private:
    std::vector<T> slots_;
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace phonomir
