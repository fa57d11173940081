#pragma once
// The developer test screen ("TestScreen"): each key runs one hand test of an engine
// feature on this screen (actors and alpha, borders, labels, buttons, particle emitters,
// resource tables, object instantiation, key repeat). Reached from the menu with Ctrl+Alt+T
// or the start-up switch "--testscreen". Return leaves for the splash screen, Escape quits.
// What a test adds stays on the screen until the program ends, except what a toggling key
// removes again.
//
// Main thread only.
#include "scene/ArcadeEventHandler.h"
#include "screens/SplashScreen.h"

class Actor;
class ParticleEmitter;
class ParticleManager;

class ArcadeTestScreen : public SplashScreen, public ArcadeEventHandler
{
public:
    ArcadeTestScreen();

    // Play-field events (types 54 to 62) go to the arcade handler first.
    bool RouteEvent(const Event& event) override;

    // The child "TestActor", made (from "Test.png", with a white border, at (10, 10))
    // when there is none.
    Actor* GetOrCreateTestActor();

    ParticleEmitter* GetEmitter() const { return m_Emitter; }
    ParticleManager* GetParticleManager() const { return m_ParticleManager; }

protected:
    // The key tests; only Return and Escape are reported as consumed.
    bool OnKeyDown(const Event& event) override;
    // Logged; not consumed.
    bool OnAnimFinish(const Event& event) override;

private:
    Actor* Child(const std::string& name) const;
    void EnsureParticleManager();
    // Makes, remembers, places (when x >= 0), adds and starts an emitter of the resource.
    void StartEmitter(const std::string& resource, int x, int y);
    void MoveTestActor(int dx, int dy);
    // The arrows move the test actor by `step` pixels, right Shift toggles its alpha; false
    // for any other key.
    bool MoveByKey(int key, int step);
    // The letter keys' tests.
    void RunKeyTest(int key);
    // e starts the bomb sparks or kills the remembered emitter, f and g start their own.
    void RunEmitterTest(int key);
    void AddAlphaActors();
    void CycleButtonFrame();
    void AddLabelledButton();
    void CycleLabel();
    void RunResourceTableTest();
    void InstantiateFromTable();
    void ToggleColorTest();
    void AddFadingActors();

    ParticleEmitter* m_Emitter = nullptr;         // a child while remembered
    ParticleManager* m_ParticleManager = nullptr; // a child once made
    bool m_ResourceChunkRun = false;
};
