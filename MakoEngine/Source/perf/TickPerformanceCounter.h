#pragma once
// Something that measures per frame: told when a measuring period starts and stops, and
// at the start and end of every frame in between.
class TickPerformanceCounter
{
public:
    virtual ~TickPerformanceCounter() = default;
    // A measuring period begins: forget earlier counters.
    virtual void StartMeasuring() = 0;
    // The period ends: write the logs.
    virtual void StopMeasuring() = 0;
    // A frame begins.
    virtual void Tick() = 0;
    // A frame ends: record its values and reset the counters for the next.
    virtual void EndTick() = 0;
};
