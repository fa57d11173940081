#pragma once
// The pack lacks something the game cannot go on without (not one of its fonts can be
// used): the program says so in the exception's one sentence on standard error and ends
// with status 1, without a crash report, since the program made no mistake.
#include "core/Exception.h"

MAKO_DECLARE_EXCEPTION(PackUnusable);
