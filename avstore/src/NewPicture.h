// A picture block being made: allocated for its header, sized for both orientations and
// zero-filled, locked while this lives and freed on destruction unless released to a caller.
#pragma once

#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

class NewPicture {
public:
    NewPicture() = default;
    ~NewPicture();
    NewPicture(const NewPicture &) = delete;
    NewPicture &operator=(const NewPicture &) = delete;

    // Allocates the block for a picture of header's width, height, depth and colours, and
    // writes the block's form of the header (40 bytes, bottom-up, uncompressed, the rows'
    // size). 0; 8004 beyond the limits or for more colours than the depth has; 8007 for
    // another depth; 8003 when memory runs out.
    std::uint32_t create(const PictureHeader &header);
    const PictureView &view() const { return view_; }
    // Hands the block over, unlocked (null before a successful create).
    MMMemBlock *release();

private:
    MMMemBlock *block_ = nullptr;
    PictureView view_;
};

}  // namespace avstore
