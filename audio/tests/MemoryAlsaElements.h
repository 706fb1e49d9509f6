// An in-memory ALSA element list, the card that AlsaMixer is tested on: elements with their
// capabilities and raw values, and, like the library's list, changes made "in another mixer
// program" that are seen only once the pending events are handled. A pipe stands for the
// control device: it becomes readable while changes are pending.
#pragma once

#include "phonomir/AlsaElements.h"

#include <unistd.h>

#include <map>
#include <utility>

namespace phonomir::test {

class MemoryAlsaElements : public AlsaElementList {
public:
    MemoryAlsaElements() {
        if (::pipe(pipe_) != 0) pipe_[0] = pipe_[1] = -1;
    }
    ~MemoryAlsaElements() override {
        ::close(pipe_[0]);
        ::close(pipe_[1]);
    }

    int add(AlsaElementInfo element, std::map<AlsaValue, long> values = {}) {
        elements_.push_back(std::move(element));
        const int id = static_cast<int>(elements_.size()) - 1;
        for (const auto& [what, value] : values) values_[{id, what}] = value;
        return id;
    }
    // The raw value as the card has it, whatever the library has seen.
    long value(int element, AlsaValue what) const { return values_.at({element, what}); }
    // Another program changes the card; the list sees it at the next handleEvents().
    void changeElsewhere(int element, AlsaValue what, long value) {
        pending_[{element, what}] = value;
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(pipe_[1], &byte, 1);
    }
    void makeUnreadable(int element, AlsaValue what) { unreadable_[{element, what}] = true; }

    const std::vector<AlsaElementInfo>& elements() const override { return elements_; }
    std::optional<long> read(int element, AlsaValue what) override {
        const auto value = values_.find({element, what});
        if (value == values_.end() || unreadable_.count({element, what})) return std::nullopt;
        return value->second;
    }
    bool write(int element, AlsaValue what, long value) override {
        if (!values_.count({element, what})) return false;
        values_[{element, what}] = value;
        ++writes;
        return true;
    }
    std::vector<int> eventDescriptors() const override { return {pipe_[0]}; }
    bool handleEvents() override {
        for (const auto& [key, value] : pending_) values_[key] = value;
        if (!pending_.empty()) {
            char bytes[64];
            [[maybe_unused]] const auto drained = ::read(pipe_[0], bytes, sizeof bytes);
        }
        pending_.clear();
        ++eventsHandled;
        return true;
    }

    int writes = 0;
    int eventsHandled = 0;

private:
    using Key = std::pair<int, AlsaValue>;
    std::vector<AlsaElementInfo> elements_;
    std::map<Key, long> values_, pending_;
    std::map<Key, bool> unreadable_;
    int pipe_[2] = {-1, -1};
};

// Element descriptions as a typical card has them.
inline AlsaElementInfo playbackElement(std::string name, long maximum = 31) {
    AlsaElementInfo e;
    e.name = std::move(name);
    e.playbackSwitch = e.playbackVolume = true;
    e.playbackMax = maximum;
    return e;
}

inline AlsaElementInfo inputElement(std::string name, bool captureSwitch) {
    AlsaElementInfo e = playbackElement(std::move(name));
    e.captureSwitch = captureSwitch;
    return e;
}

}  // namespace phonomir::test
