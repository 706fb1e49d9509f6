// Test doubles for the wave layer: a client that records every notification into a shared log
// and answers as told, and a message sink that keeps what it was asked to show.
#pragma once

#include "phonomir/MessageSink.h"
#include "phonomir/WaveNotify.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace phonomir::test {

struct Notification {
    std::string who;
    WaveNotifyCode code;
    bool operator==(const Notification&) const = default;
};

class RecordingClient : public WaveClient {
public:
    RecordingClient(std::string name, std::vector<Notification>& log) : name_(std::move(name)), log_(log) {}

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override {
        log_.push_back({name_, code});
        if (code == WAVE_IN_DATA) received.emplace_back(buffer->data, buffer->data + buffer->bufferLength);
        if (onNotify) return onNotify(code, buffer);
        if (code == WAVE_OUT_FILL) return fill(buffer);
        return 1;
    }

    long fill(WaveBuffer* buffer) {
        if (fillsLeft == 0) return 0;
        if (fillsLeft > 0) --fillsLeft;
        std::memset(buffer->data, fillByte, buffer->bufferLength);
        return static_cast<long>(buffer->bufferLength);
    }

    int count(WaveNotifyCode code) const {
        int n = 0;
        for (const auto& entry : log_) n += entry.who == name_ && entry.code == code;
        return n;
    }

    std::function<long(WaveNotifyCode, WaveBuffer*)> onNotify;
    int fillsLeft = -1;  // -1: always fill
    std::uint8_t fillByte = 0;
    std::vector<std::vector<std::uint8_t>> received;

private:
    std::string name_;
    std::vector<Notification>& log_;
};

class MessageRecorder : public MessageSink {
public:
    void showMessage(const std::string& text, MessageIcon icon) override {
        texts.push_back(text);
        icons.push_back(icon);
    }
    bool askOkCancel(int id, const std::string&) override {
        questions.push_back(id);
        return answerOk;
    }
    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
    std::vector<int> questions;
    bool answerOk = false;  // Cancel, as a sink that cannot ask anybody
};

// Plays interleaved 16-bit samples once, buffer by buffer, then ends the signal.
class SamplePlayer : public WaveClient {
public:
    explicit SamplePlayer(const std::vector<std::int16_t>& samples) : samples_(samples) {}
    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override {
        if (code != WAVE_OUT_FILL) return 0;
        const std::size_t count = std::min<std::size_t>(buffer->capacity / 2, samples_.size() - position_);
        std::memcpy(buffer->data, samples_.data() + position_, count * 2);
        position_ += count;
        return static_cast<long>(count * 2);
    }

private:
    const std::vector<std::int16_t>& samples_;
    std::size_t position_ = 0;
};

inline std::vector<Notification> only(const std::vector<Notification>& log, const std::string& who) {
    std::vector<Notification> result;
    for (const auto& entry : log)
        if (entry.who == who) result.push_back(entry);
    return result;
}

}  // namespace phonomir::test
