// A ScopeView that records what the acquisition asked it to draw, for the tests.
#pragma once

#include "phonomir/ScopeView.h"

#include <cstdint>
#include <string>
#include <vector>

namespace phonomir::testing {

struct RecordedRun {
    long long absoluteFirstFrame;  // frame number counted from the start of the acquisition
    int firstSweepIndex;
    int pointCount;
    double triggerFraction;
    std::vector<std::int16_t> samples;
};

class RecordingScopeView : public ScopeView {
public:
    long long blockStartFrame = 0;  // set by the test before each block
    const std::int16_t* blockData = nullptr;
    std::vector<RecordedRun> runs;
    int xyFigures = 0;
    int clears = 0;
    std::vector<std::pair<int, int>> gainChanges;
    std::vector<int> levelChanges;
    int singleTriggerNotices = 0;
    std::string lines[2];

    void clearTraces() override { ++clears; }
    void drawTimeRun(const TimeTraceRun& run) override {
        const long long offset = (run.frames - blockData) / run.channels;
        runs.push_back({blockStartFrame + offset, run.firstSweepIndex, run.pointCount, run.triggerFraction,
                        std::vector<std::int16_t>(run.frames, run.frames + run.pointCount * run.channels)});
    }
    void drawXyFigure(const XyFigure&) override { ++xyFigures; }
    void setMarker(bool, int) override {}
    void writeTextLine(int line, const std::string& text) override { lines[line] = text; }
    void gainExponentChanged(int channel, int exponent) override { gainChanges.push_back({channel, exponent}); }
    void triggerLevelChanged(int level) override { levelChanges.push_back(level); }
    void singleTriggered() override { ++singleTriggerNotices; }
};

}  // namespace phonomir::testing
