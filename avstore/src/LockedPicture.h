// A picture block locked for the length of one call, with its header decoded and checked
// against the block's real size, so that no caller's block is read or written past its end.
// Unlocks on destruction.
#pragma once

#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

class LockedPicture {
public:
    explicit LockedPicture(MMMemBlock *block);
    ~LockedPicture();
    LockedPicture(const LockedPicture &) = delete;
    LockedPicture &operator=(const LockedPicture &) = delete;

    // 0; 8006 when the handle cannot be locked or the block holds no picture (sizes that run
    // past it, more colours than the depth has); 8007 for a variant no operation takes
    // (another depth, compression, header size or a top-down picture); 8004 beyond the limits.
    std::uint32_t status() const { return status_; }
    const PictureView &view() const { return view_; }

private:
    std::uint32_t check(std::size_t blockBytes);

    MMMemBlock *block_;
    std::uint8_t *bytes_ = nullptr;
    PictureView view_;
    std::uint32_t status_ = 0;
};

}  // namespace avstore
