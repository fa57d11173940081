#pragma once
// The order of one main-loop pass, kept in one place for the application's main loop and
// for harnesses that step the scene pass by pass without an application:
//
//   begin (frame time, performance measuring), the pre-event steps, the event phase; then,
//   unless the pass is a paused one, the timers, ticking, the display rebuild, drawing and
//   presenting (when a frame is shown) and the frame-stepping hold; then the end-of-loop
//   steps, deferred deletion, frame pacing (not on a paused pass) and the pass's end.
//
// RunPass calls the phases below in that order; what differs between a running program
// and a test (where events come from, what is drawn onto, whether to wait) is in the
// overrides. Each phase is timed under its name while performance is measured.
class MainLoopPass
{
public:
    virtual ~MainLoopPass() = default;

    // Runs one pass.
    void RunPass();

protected:
    // First step of a pass; returns whether this pass is measured.
    virtual bool BeginPass() { return false; }
    // Steps before the event phase (pause notices, console input, the click latch).
    virtual void PrepareEvents() {}
    virtual void DispatchPassEvents() = 0;
    // True when the pass only waits (the application is paused): no timers, ticking or
    // drawing, and no frame pacing.
    virtual bool IsPausedPass() const { return false; }
    virtual void WaitWhilePaused() {}
    virtual void UpdatePassTimers() = 0;
    virtual void TickPass() = 0;
    // Before drawing: re-creates the display when that was asked for.
    virtual void PrepareDisplay() {}
    // False while there is nothing to show a frame on (the window is minimised).
    virtual bool IsFrameShown() const { return true; }
    virtual void DrawPass() = 0;
    virtual void PresentPass() {}
    // After a shown or skipped frame of an unpaused pass (frame stepping holds here).
    virtual void HoldPass() {}
    // After the frame, paused pass or not (the quit notices when the loop ends).
    virtual void EndPassFrame() {}
    virtual void DeletePassObjects() = 0;
    // Waits for the next frame time (unpaused passes only).
    virtual void PacePass() {}
    // Last step, after the pass's own timing stopped.
    virtual void FinishPass(bool pausedPass) { (void)pausedPass; }
};
