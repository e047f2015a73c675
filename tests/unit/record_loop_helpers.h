#pragma once
// Fakes for the recording loop: a clock that moves only when slept on or told
// to, a screen whose grabs take the time a test gives them, and a file that
// records what it is given.

#include "record/core/record_loop.h"

#include <functional>
#include <map>
#include <vector>

namespace vistrel::test {

class FakeClock : public RecordClock {
public:
    int64_t now = 5000; // any start
    std::vector<int64_t> sleeps;
    std::function<void()> afterSleep; // a test stops the loop from here

    int64_t NowMs() override { return now; }
    void Sleep(int64_t ms, std::stop_token) override
    {
        sleeps.push_back(ms);
        now += ms;
        if (afterSleep)
            afterSleep();
    }
};

class FakeSource : public FrameSource {
public:
    explicit FakeSource(FakeClock& clock) : m_clock(clock) {}

    std::map<int, int64_t> grabCostMs; // by grab number
    bool changed = true;
    std::optional<RecordPoint> cursor;
    int failAtGrab = -1;
    std::vector<int64_t> grabbedAt; // elapsed since start of the clock's value at construction
    std::vector<RecordRegion> areas;
    int looks = 0;

    std::optional<RecordPoint> CursorPosition() override { return cursor; }
    bool MayHaveChanged(const RecordRegion&) override
    {
        ++looks;
        return changed;
    }
    bool Grab(const RecordRegion& area, Bitmap& frame, std::string& error) override
    {
        const int number = int(grabbedAt.size());
        if (number == failAtGrab) {
            error = "grab failed";
            return false;
        }
        grabbedAt.push_back(m_clock.now);
        areas.push_back(area);
        frame.pixels.assign(frame.pixels.size(), uint32_t(number));
        if (auto cost = grabCostMs.find(number); cost != grabCostMs.end())
            m_clock.now += cost->second;
        return true;
    }

private:
    FakeClock& m_clock;
};

class FakeSink : public FrameSink {
public:
    std::vector<int64_t> positions;
    std::vector<uint32_t> firstPixels;
    int failAtWrite = -1;

    bool Write(const Bitmap& frame, int64_t position, std::string& error) override
    {
        if (int(positions.size()) == failAtWrite) {
            error = "disk full";
            return false;
        }
        positions.push_back(position);
        firstPixels.push_back(frame.pixels.empty() ? 0 : frame.pixels[0]);
        return true;
    }
};

} // namespace vistrel::test
