#include "WaveRecorder.h"

#include "avstore32.h"

#include <algorithm>

namespace avstore {
namespace {

// The most data a RIFF header can declare after its own 36 bytes.
constexpr std::uint32_t kMaxDataBytes = 0xFFFFFFFFu - 36;

}  // namespace

WaveRecorder::WaveRecorder(std::unique_ptr<RecordingSink> sink, std::unique_ptr<DeviceSession> session)
    : sink_(std::move(sink)), session_(std::move(session)) {}

WaveRecorder::~WaveRecorder() {
    if (!worker_.joinable()) return;
    session_->wake().requestStop();
    worker_.join();
    if (!sink_->usesEngine()) sink_->finish(dataBytes_);
}

std::uint32_t WaveRecorder::start(std::unique_ptr<RecordingSink> sink, const WaveFormat &format,
                                  std::unique_ptr<WaveRecorder> &recorder) {
    recorder.reset();
    std::unique_ptr<DeviceSession> session;
    const phonomir::WaveFormat deviceFormat{format.channels, format.samplesPerSecond, format.bitsPerSample};
    const std::uint32_t status = DeviceSession::open(phonomir::StreamDirection::Input, deviceFormat, session);
    if (status != MM_OK) {
        sink->discard();
        return status;
    }
    std::unique_ptr<WaveRecorder> created(new WaveRecorder(std::move(sink), std::move(session)));
    created->worker_ = std::thread([raw = created.get()] { raw->run(); });
    recorder = std::move(created);
    return MM_OK;
}

std::uint32_t WaveRecorder::stop() {
    if (!worker_.joinable()) return MM_OK;
    session_->wake().requestStop();
    worker_.join();
    return sink_->finish(dataBytes_);
}

bool WaveRecorder::keep(const phonomir::WaveBuffer &buffer) {
    if (stoppedKeeping_) return false;
    const std::uint32_t length = std::min(buffer.bufferLength, buffer.capacity);
    if (length > kMaxDataBytes - dataBytes_ || !sink_->append(buffer.data, length)) {
        stoppedKeeping_ = true;
        return false;
    }
    dataBytes_ += length;
    return true;
}

void WaveRecorder::run() {
    phonomir::StreamRing &ring = session_->ring();
    WorkerWake &wake = session_->wake();
    for (int index = 0; index < ring.size(); ++index) ring.submit(index);
    bool running = session_->start();
    while (running && !wake.stopRequested() && !ring.lost()) {
        wake.waitForWork();
        int index = 0;
        while (running && ring.takeDone(index)) {
            running = keep(ring.buffer(index));
            ring.submit(index);
        }
    }
    session_->closeStream();
    int index = 0;
    while (ring.takeDone(index)) keep(ring.buffer(index));
    if (ring.takePartial(index)) keep(ring.buffer(index));  // every frame recorded up to the stop
    finished_.store(true, std::memory_order_release);
}

}  // namespace avstore
