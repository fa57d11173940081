#include "logic/ArcadeGameLogic.h"

ArcadeGameLogic* gLogic = nullptr;

ParticleManager* ArcadeGameLogic::GetParticleManager()
{
    return gLogic ? gLogic->m_ParticleManager : nullptr;
}
