// The test hooks (DDrawTestHooks.h) and the live-object count behind them.
#include "ddraw/DDrawTestHooks.h"

#include "ddraw/ComObject.h"
#include "ddraw/Display.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/QuadRasterizer.h"
#include "ddraw/Rasterizer.h"

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
    Rasterizer::SetReferenceOnly(false);
}

void UseReferenceDrawing(bool on)
{
    Rasterizer::SetReferenceOnly(on);
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
