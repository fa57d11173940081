// The precompiled header of the test programs (BB_PCH): the engine's common headers and
// GoogleTest.
#pragma once

#include "CommonHeaders.h"

#include <gtest/gtest.h>
