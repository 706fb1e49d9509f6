#include "phonomir/VirtualCardStream.h"

#include "phonomir/VirtualSoundCard.h"

namespace phonomir {

VirtualCardStream::VirtualCardStream(VirtualSoundCard& card, StreamRing& ring, const StreamRequest& request,
                                     const std::vector<float>& fir)
    : card_(card), ring_(ring), format_(request.format), direction_(request.direction), deviceId_(request.deviceId), leftFilter_(fir),
      rightFilter_(fir) {}

VirtualCardStream::~VirtualCardStream() { card_.detach(this); }

void VirtualCardStream::stop() {
    // Taking the card's lock waits for a clock step in progress to end.
    running_.store(false);
    card_.waitForClockStep();
}

}  // namespace phonomir
