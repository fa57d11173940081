// The test hooks (DDrawTestHooks.h) and the live-object count behind them.
#include "ddraw/DDrawTestHooks.h"

#include "ddraw/ComObject.h"
#include "ddraw/Display.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/QuadRasterizer.h"

namespace ddrawx {

void CountLiveObject(int delta)
{
    Display::Get().LiveObjects() += delta;
}

void FailNext(const char* operation, HRESULT result, int times)
{
    FaultInjector::Get().Arm(operation, result, times);
}

void LoseSurfaces()
{
    Display::Get().LoseSurfaces();
}

void HoldExclusiveMode(int polls)
{
    Display::Get().HoldByOtherProgram(polls);
}

void ResetHooks()
{
    FaultInjector::Get().Clear();
    Display::Get().HoldByOtherProgram(0);
    QuadRasterizer::SetEnabled(true);
}

void UseQuadFastPath(bool on)
{
    QuadRasterizer::SetEnabled(on);
}

long QuadFastPathDraws()
{
    return QuadRasterizer::DrawnCount();
}

int LiveObjectCount()
{
    return Display::Get().LiveObjects();
}

} // namespace ddrawx
