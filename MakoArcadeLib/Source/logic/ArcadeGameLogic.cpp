#include "logic/ArcadeGameLogic.h"

ArcadeGameLogic* gLogic = nullptr;
