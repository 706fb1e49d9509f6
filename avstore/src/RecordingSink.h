// Where a recording goes: a file or a memo field. It receives the 44-byte header with data
// length 0 when made, the recorded bytes while the recording runs and the header with the
// final length at the end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace avstore {

class RecordingSink {
public:
    virtual ~RecordingSink() = default;
    // Worker thread: adds recorded bytes; false when they cannot be kept.
    virtual bool append(const std::uint8_t *bytes, std::size_t count) = 0;
    // Exporting thread, after the worker has ended: completes the record with the final data
    // length. Returns 0 or the status of the failure.
    virtual std::uint32_t finish(std::uint32_t dataBytes) = 0;
    // Exporting thread: the recording never started; removes what can be removed.
    virtual void discard() = 0;
    // True when finishing calls the table engine, which may be gone when the library unloads.
    virtual bool usesEngine() const = 0;
};

}  // namespace avstore
