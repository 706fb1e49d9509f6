#include "MemoryBlock.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace avstore {
namespace {

static_assert(sizeof(std::uintptr_t) >= 8, "a handle carries a 32-bit slot and a 32-bit generation");

struct Slot {
    void *bytes = nullptr;        // null while the slot is free
    std::size_t size = 0;         // bytes of the block
    int locks = 0;                // MMMemLock calls not yet matched by MMMemUnlock
    std::uint32_t generation = 1;  // moves on when the block is freed
};

class BlockRegistry {
public:
    // Never destroyed: blocks may still be freed while the library unloads.
    static BlockRegistry &instance() {
        static BlockRegistry *registry = new BlockRegistry;
        return *registry;
    }

    MMMemBlock *add(void *bytes, std::size_t size) {
        std::lock_guard lock(mutex_);
        std::uint32_t index = 0;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            if (slots_.size() >= UINT32_MAX - 1) return nullptr;
            slots_.emplace_back();
            index = static_cast<std::uint32_t>(slots_.size() - 1);
        }
        Slot &slot = slots_[index];
        slot.bytes = bytes;
        slot.size = size;
        slot.locks = 0;
        const std::uintptr_t handle = std::uintptr_t{slot.generation} << 32 | (index + 1);
        return reinterpret_cast<MMMemBlock *>(handle);
    }

    // Runs use on the live slot of handle; returns fallback for any other handle.
    template <class Use, class Result>
    Result with(MMMemBlock *handle, Result fallback, Use &&use) {
        std::lock_guard lock(mutex_);
        Slot *slot = find(handle);
        return slot ? use(*slot) : fallback;
    }

    void remove(MMMemBlock *handle) {
        void *bytes = nullptr;
        {
            std::lock_guard lock(mutex_);
            Slot *slot = find(handle);
            if (!slot) return;
            bytes = slot->bytes;
            *slot = Slot{nullptr, 0, 0, slot->generation == UINT32_MAX ? 1 : slot->generation + 1};
            free_.push_back(static_cast<std::uint32_t>(slot - slots_.data()));
        }
        std::free(bytes);
    }

private:
    Slot *find(MMMemBlock *handle) {
        const auto value = reinterpret_cast<std::uintptr_t>(handle);
        const std::uint64_t index = (value & 0xFFFFFFFFu) - 1;  // slot 0 is handle number 1
        if ((value & 0xFFFFFFFFu) == 0 || index >= slots_.size()) return nullptr;
        Slot &slot = slots_[index];
        return slot.bytes && slot.generation == value >> 32 ? &slot : nullptr;
    }

    std::mutex mutex_;
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;  // slots to reuse
};

}  // namespace

MMMemBlock *allocateBlock(std::size_t bytes) {
    if (bytes == SIZE_MAX) return nullptr;
    void *memory = std::calloc(1, bytes ? bytes : 1);
    if (!memory) return nullptr;
    MMMemBlock *handle = nullptr;
    try {
        handle = BlockRegistry::instance().add(memory, bytes);
    } catch (const std::bad_alloc &) {
    }
    if (!handle) std::free(memory);
    return handle;
}

void *lockBlock(MMMemBlock *block) {
    return BlockRegistry::instance().with(block, static_cast<void *>(nullptr), [](Slot &slot) {
        ++slot.locks;
        return slot.bytes;
    });
}

int unlockBlock(MMMemBlock *block) {
    return BlockRegistry::instance().with(block, 0, [](Slot &slot) {
        if (slot.locks > 0) --slot.locks;
        return slot.locks;
    });
}

std::size_t blockSize(MMMemBlock *block) {
    return BlockRegistry::instance().with(block, std::size_t{0}, [](Slot &slot) { return slot.size; });
}

void freeBlock(MMMemBlock *block) { BlockRegistry::instance().remove(block); }

bool resizeBlock(MMMemBlock *block, std::size_t bytes) {
    return BlockRegistry::instance().with(block, false, [bytes](Slot &slot) {
        if (slot.locks > 0 || bytes == SIZE_MAX) return false;
        void *moved = std::realloc(slot.bytes, bytes ? bytes : 1);
        if (!moved) return false;
        if (bytes > slot.size) std::memset(static_cast<std::uint8_t *>(moved) + slot.size, 0, bytes - slot.size);
        slot.bytes = moved;
        slot.size = bytes;
        return true;
    });
}

}  // namespace avstore
