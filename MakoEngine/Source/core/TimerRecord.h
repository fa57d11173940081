#pragma once
// One timer of the TimerManager: its signal schedule and its target. Entries are plain
// values held in the manager's table; a zeroed entry is a dead one.
#include <cstdint>

class EventReceiver;

// Flag bits of TimerRecord::m_Flags.
enum TimerFlags : uint32_t {
    TIMER_IN_USE = 1,               // set by TimerManager::CreateTimer
    TIMER_LIMITED_TO_FRAMERATE = 2, // counts down 32 ms per main-loop pass
    TIMER_REAL_TIME = 4,            // measured against the frame time; wins over bit 2
    TIMER_PAUSED_GAME = 8,          // pause reason: the game is paused
    TIMER_PAUSED_PLAY = 16,         // pause reason: the paused play state
    TIMER_PAUSE_REASONS = TIMER_PAUSED_GAME | TIMER_PAUSED_PLAY,
};

struct TimerRecord
{
    uint32_t m_Interval = 0;           // ms between signals
    int32_t m_RemainingSignals = 0;    // signals still to give; -1 endless; 0 dead
    uint32_t m_Flags = 0;              // TimerFlags
    EventReceiver* m_Target = nullptr; // receives MAKO_TIMER; not owned
    uint32_t m_Countdown = 0;          // frame-rate timers: ms left to the next signal
    uint32_t m_StartTime = 0;          // real-time timers: frame time the count began at
    uint32_t m_ConsumedTime = 0;       // real-time timers: ms paid out in signals since then
};
