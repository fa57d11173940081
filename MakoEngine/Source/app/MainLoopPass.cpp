#include "app/MainLoopPass.h"

#include "perf/ScopedPerformanceTimer.h"

void MainLoopPass::RunPass()
{
    const bool measuring = BeginPass();
    ScopedPerformanceTimer all("all", measuring);
    PrepareEvents();
    {
        ScopedPerformanceTimer events("events", measuring);
        DispatchPassEvents();
    }
    const bool pausedPass = IsPausedPass();
    if (pausedPass) {
        WaitWhilePaused();
    } else {
        {
            ScopedPerformanceTimer timers("timers", measuring);
            UpdatePassTimers();
        }
        {
            ScopedPerformanceTimer ticking("ticking", measuring);
            TickPass();
        }
        PrepareDisplay();
        if (IsFrameShown()) {
            {
                ScopedPerformanceTimer drawing("drawing", measuring);
                DrawPass();
            }
            ScopedPerformanceTimer present("updating screen 1", measuring);
            PresentPass();
        }
        HoldPass();
    }
    EndPassFrame();
    {
        ScopedPerformanceTimer deletion("Deletion", measuring);
        DeletePassObjects();
    }
    if (!pausedPass)
        PacePass();
    all.Stop();
    FinishPass(pausedPass);
}
