#pragma once
// Process-wide set-up of the ODE library. Every World holds one reference while it
// lives: the first reference initialises ODE (with the collision data of the calling
// thread) and installs handlers that turn ODE's errors and failed argument checks into
// Exceptions instead of ending the program; releasing the last reference runs ODE's
// global clean-up. Main thread only.
class OdeRuntime
{
public:
    static void Acquire();
    static void Release();
    // Number of live references (the number of live Worlds).
    static int GetReferenceCount();
    // Installs the error, debug and message handlers; Acquire does this too. Safe to call
    // at any time, also before ODE is initialised.
    static void InstallHandlers();
};
