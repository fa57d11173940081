#include "scene/ParticleEmitter.h"

#include "core/Class.h"
#include "core/DataRange.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "perf/PerformanceCounterManager.h"
#include "perf/ScopedPerformanceTimer.h"
#include "scene/Particle.h"
#include "scene/ParticleManager.h"

#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(ParticleEmitter, "ParticleEmitter", "Actor",
                     &ParticleEmitter::RegisterProperties, nullptr);

ParticleEmitter::ParticleEmitter(ParticleManager* manager) : m_Manager(manager)
{
    PerformanceCounterManager::AddToIntCounter("ParticleEmitters Created", 1);
    LuaObject one;
    one.AssignInteger(GetGlobalLuaState(), 1);
    SetScriptField("numParticles", one);
}

ParticleEmitter::ParticleEmitter(const std::string& resourceName, ParticleManager* manager)
    : ParticleEmitter(manager)
{
    if (!resourceName.empty())
        AcquireAndApplyResource(resourceName);
}

ParticleEmitter::~ParticleEmitter()
{
    if (m_EmitterDestroyCallback)
        m_EmitterDestroyCallback(this);
}

void ParticleEmitter::SetFactory(ParticleFactory factory, void* argument)
{
    m_Factory = factory;
    m_FactoryArgument = argument;
}

int ParticleEmitter::GetNumParticles()
{
    LuaObject value;
    GetScriptField(value, "numParticles");
    if (value.IsNil())
        return 0;
    // No emission makes more than a manager holds, whatever the number says.
    bool changed = false;
    return DataRange::HoldInt(ReadNumberFromObject(value), 0, int(ParticleManager::kMostParticles),
                              0, changed);
}

void ParticleEmitter::Start()
{
    m_Emitting = true;
    Update(0);
}

void ParticleEmitter::Stop()
{
    m_Emitting = false;
}

void ParticleEmitter::Tick()
{
    if (m_Emitting)
        Update(FRAME_PERIOD_MS);
}

void ParticleEmitter::Update(std::uint32_t ms)
{
    m_Elapsed += ms;
    if (m_Interval == 0 && m_Delay == 0) {
        Emit();
        return;
    }
    if (ms < m_Countdown) {
        m_Countdown -= ms;
        return;
    }
    m_Countdown = m_Interval;
    Emit();
}

bool ParticleEmitter::TakeEmission()
{
    m_Delay = 0;
    if (m_EmitCount == 0)
        return false;
    if (m_EmitCount > 0)
        --m_EmitCount;
    return true;
}

void ParticleEmitter::Emit()
{
    if (!TakeEmission())
        return;
    // Particles the manager has no room for are not made.
    const int count = GetNumParticles();
    for (int i = 0; i < count && (!m_Manager || m_Manager->Room() > 0); ++i)
        if (Particle* particle = MakeParticle())
            Release(particle);
}

Particle* ParticleEmitter::MakeParticle()
{
    return m_Factory ? m_Factory(this, m_FactoryArgument) : nullptr;
}

void ParticleEmitter::Release(Particle* particle)
{
    std::unique_ptr<Particle> owned(particle);
    MAKO_ASSERT_MSG(m_Manager != nullptr, "A particle emitter needs a particle manager.");
    owned->Update(0);
    m_Manager->AddParticle(owned.release());
}

void ParticleEmitter::CentreOnEmitter(Particle* particle)
{
    const SDL_Rect r = GetScreenRect();
    particle->SetPosition(r.x + r.w / 2 - particle->GetWidth() / 2,
                          r.y + r.h / 2 - particle->GetHeight() / 2);
}

Particle* ParticleEmitter::CreateParticle(ParticleEmitter* emitter, void* argument)
{
    (void)argument;
    std::unique_ptr<Particle> particle(new Particle());
    particle->SetDestroyCallback(emitter->m_ParticleDestroyCallback);
    {
        ScopedPerformanceTimer timer("Particle Properties");
        LuaObject properties;
        emitter->GetScriptField(properties, "particleTemplate");
        // Each particle is made from the table: one its data cannot make (a picture the pack
        // lacks) is named once and left out, and the emitter goes on.
        if (!properties.IsNil() &&
            !ObjectBoundary::Guard(
                [emitter] { return "The particles of " + DescribeObject(*emitter); },
                "they are left out", [&] { particle->ApplyProperties(properties); }))
            return nullptr;
    }
    emitter->CentreOnEmitter(particle.get());
    return particle.release();
}
