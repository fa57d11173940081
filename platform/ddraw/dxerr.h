#pragma once
// Names of the layer's result codes, for messages.
#include "ddraw/WinTypes.h"

// The symbolic name of a result code ("DDERR_SURFACELOST", "DD_OK"); "Unknown" for a code
// the layer does not know. The text is static.
const char* DXErrorString(HRESULT result);
