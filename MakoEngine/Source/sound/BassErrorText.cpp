#include "sound/BassErrorText.h"

#include "bass/bass.h"

namespace {

struct BassErrorEntry
{
    int code;
    const char* name;
    const char* description;
};

const BassErrorEntry kBassErrors[] = {
    {-1, "BASS_ERROR_UNKNOWN", "Some other mystery problem!"},
    {1, "BASS_ERROR_MEM", "There is insufficent memory."},
    {2, "BASS_ERROR_FILEOPEN", "The file could not be opened."},
    {3, "BASS_ERROR_DRIVER",
     "There is no available device driver... the device may already be in use."},
    {4, "BASS_ERROR_BUFLOST",
     "Should not happen... check that a valid window handle was used with BASS_Init."},
    {5, "BASS_ERROR_HANDLE", "handle is not a valid sample handle."},
    {6, "BASS_ERROR_FORMAT", "The sample format is not supported by the device/drivers."},
    {7, "BASS_ERROR_POSITION", "The start position is beyond the end of the sample."},
    {8, "BASS_ERROR_INIT", "BASS_Init has not been successfully called."},
    {9, "BASS_ERROR_START", "The output is paused/stopped, use BASS_Start to start it."},
    {14, "BASS_ERROR_ALREADY",
     "The device has already been initialized. You must call BASS_Free before you can "
     "initialize it again."},
    {18, "BASS_ERROR_NOCHAN",
     "The sample has no free channel on which to be played... the maximum number of "
     "simultaneous playbacks has been reached, and no BASS_SAMPLE_OVER flag was specfied "
     "for the sample."},
    {20, "BASS_ERROR_ILLPARAM",
     "max and/or length is invalid. The length must be specified when loading from memory."},
    {21, "BASS_ERROR_NO3D", "Couldn't initialize 3D support for the sample."},
    {23, "BASS_ERROR_DEVICE", "The device number specified is invalid."},
    {25, "BASS_ERROR_FREQ",
     "freq is out of range... DirectSound only allows sample rates between 100 and 100000."},
    {29, "BASS_ERROR_NOHW",
     "No hardware voices are available... this only occurs if the sample was loaded or "
     "created with the BASS_SAMPLE_VAM flag, and BASS_VAM_HARDWARE is set in the sample's "
     "VAM mode, and there are no hardware voices available to play it. "},
    {37, "BASS_ERROR_NOTAVAIL",
     "Sample functions are not available when using the \"no sound\" device."},
    {41, "BASS_ERROR_FILEFORM", "The file's format is not recognised/supported."},
    {BASS_ERROR_TOOLONG, "BASS_ERROR_TOOLONG",
     "The sound is longer than a sample decoded whole may be."},
    {BASS_ERROR_STOPPED, "BASS_ERROR_STOPPED", "The decode was given up: the program is stopping."},
};

const BassErrorEntry* FindBassError(int code)
{
    for (const BassErrorEntry& entry : kBassErrors) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

const char* GetBassErrorName(int code)
{
    const BassErrorEntry* entry = FindBassError(code);
    return entry ? entry->name : "UNKNOWN_ERROR";
}

const char* GetBassErrorDescription(int code)
{
    const BassErrorEntry* entry = FindBassError(code);
    return entry ? entry->description : "UNKNOWN ERROR!";
}
