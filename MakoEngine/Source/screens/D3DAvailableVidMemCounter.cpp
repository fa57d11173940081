#include "screens/D3DAvailableVidMemCounter.h"

#include "resources/ResourceMemory.h"

#include <boost/format.hpp>

void D3DAvailableVidMemCounter::Draw(Canvas& canvas)
{
    DrawNumbers(canvas, boost::str(boost::format("%1%") % VidmemImageBytes), nullptr);
}
