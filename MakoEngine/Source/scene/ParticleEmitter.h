#pragma once
// An actor placed where particles come from. While emitting it runs a schedule of 32 ms
// steps: after an optional delay it emits "numParticles" particles every interval (every
// tick for an interval of 0), emitCount times (for ever when emitCount is negative).
// Each particle comes from the emitter's factory, starts centred on the emitter's screen
// rectangle, and is handed to the particle manager, whose children move and draw it.
//
// Script properties: "emitCount", "interval", "delay" (ms before the first emission),
// "numParticles" (default 1) and "particleTemplate" (a parameter table the default
// factory applies to each particle).
#include "scene/Actor.h"

class Particle;
class ParticleEmitter;
class ParticleManager;

// Makes a new particle for the emitter (the caller owns it), or null to skip one.
using ParticleFactory = Particle* (*)(ParticleEmitter* emitter, void* argument);
using EmitterDestroyCallback = void (*)(ParticleEmitter* emitter);
using ParticleDestroyCallback = void (*)(Particle* particle);

class ParticleEmitter : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    explicit ParticleEmitter(ParticleManager* manager = nullptr);
    // The same, then the named resource applied.
    ParticleEmitter(const std::string& resourceName, ParticleManager* manager);
    // Calls the emitter destroy callback when one is set.
    ~ParticleEmitter() override;

    // Advances the schedule by ms, emitting when it is due.
    virtual void Update(std::uint32_t ms);
    // Sets one entry of the particle template.
    virtual void SetParticleProperty(const std::string& name, const LuaPlus::LuaObject& value);
    // One emission: "numParticles" particles from the factory, unless emitCount ran out.
    virtual void Emit();

    // While emitting: Update(FRAME_PERIOD_MS). Neither the state nor children are ticked.
    void Tick() override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;

    // Starts emitting (the first update runs at once) / stops.
    void Start();
    void Stop();
    bool IsEmitting() const { return m_Emitting; }

    void SetManager(ParticleManager* manager) { m_Manager = manager; }
    ParticleManager* GetManager() const { return m_Manager; }
    void SetFactory(ParticleFactory factory, void* argument);
    void SetParticleDestroyCallback(ParticleDestroyCallback callback)
    {
        m_ParticleDestroyCallback = callback;
    }
    void SetEmitterDestroyCallback(EmitterDestroyCallback callback)
    {
        m_EmitterDestroyCallback = callback;
    }
    // The "numParticles" property.
    int GetNumParticles();
    std::int32_t GetEmitCount() const { return m_EmitCount; }
    std::uint32_t GetElapsed() const { return m_Elapsed; }

    // The default factory: a particle with the "particleTemplate" table applied, then
    // centred on the emitter. A table its data cannot apply (a picture the pack lacks) is
    // named once (ObjectBoundary) and answers null: that particle is left out.
    static Particle* CreateParticle(ParticleEmitter* emitter, void* argument);

    static void RegisterProperties(Class& emitterClass);

    std::uint32_t m_Elapsed = 0;
    std::int32_t m_EmitCount = -1;
    std::uint32_t m_Interval = 0;

protected:
    // A new particle of the emitter's factory (null when the factory gives none).
    Particle* MakeParticle();
    // The particle centred on the emitter's screen rectangle.
    void CentreOnEmitter(Particle* particle);
    // Starts the particle (Update(0)) and hands it to the manager.
    void Release(Particle* particle);
    // Counts down emitCount; false when it had run out.
    bool TakeEmission();

    ParticleManager* m_Manager = nullptr;
    bool m_Emitting = false;
    std::uint32_t m_Countdown = 0;
    std::uint32_t m_Delay = 0;
    ParticleFactory m_Factory = &ParticleEmitter::CreateParticle;
    void* m_FactoryArgument = nullptr;
    ParticleDestroyCallback m_ParticleDestroyCallback = nullptr;
    EmitterDestroyCallback m_EmitterDestroyCallback = nullptr;
};
