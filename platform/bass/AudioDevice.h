#pragma once
// The system's audio output through SDL: finding out whether there is one, and opening it
// at 44100 Hz, 16-bit stereo with a callback that renders the mix. Main thread only.
#include <string>

namespace bassx {

class AudioDevice
{
public:
    // True when SDL has a working audio driver; its name goes to driverName.
    static bool Probe(std::string& driverName);
    // Opens the output and starts the callback; false when SDL cannot open it.
    static bool Open(std::string& driverName, int& bufferFrames);
    // Stops the callback and closes the output; harmless when it is not open.
    static void Close();

private:
    static void Callback(void* user, unsigned char* stream, int length);
    static bool s_Open;
    static bool s_InitedSubsystem;
};

} // namespace bassx
