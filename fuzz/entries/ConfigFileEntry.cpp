// The user's configuration file through Config::ReadFile, then written back and read again.
#include "FuzzEntries.h"
#include "FuzzHost.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "geometry/Color.h"
#include "lua/MakoLuaState.h"

#include <vector>

namespace fuzz {

namespace {

// Reads every text key the file set the ways the game reads configuration values.
void ReadEveryKey(Config& config)
{
    std::vector<std::string> keys;
    for (LuaPlus::LuaTableIterator it(config.GetLuaState()->GetGlobal("Config_Data")); it;
         it.Next())
        if (it.GetKey().IsString())
            keys.emplace_back(it.GetKey().GetString(), it.GetKey().GetStrLen());
    for (const std::string& key : keys) {
        config.GetObject(key);
        try {
            config.Retrieve(key);
        } catch (const Exception&) {
        }
        try {
            config.GetColor(key, Color());
        } catch (const Exception&) {
        }
    }
}

// Reads the file at path into a fresh configuration and writes what it holds to out.
// Returns the status of the read; written tells whether out was written.
int ReadAndWrite(const std::string& path, const std::string& out, bool& written, bool& stable)
{
    OwnedState state;
    Config config(state.Get());
    // The game reads the user's file over the defaults it ships.
    MakoLuaState::DoResourceFile(state.Get(), "bumperlux_Defaults.cfg");
    int status = 0;
    {
        // Besides the game's own budget for the file: a memory limit for the whole input.
        ScriptLimits limits(state.Get()->GetCState(), 50000000, 256u << 20);
        status = config.ReadFile(path);
    }
    ReadEveryKey(config);
    const ValueFacts facts = InspectValue(state.Get()->GetGlobal("Config_Data"));
    stable = facts.Repeatable();
    written = false;
    // What the game took in must always write back, or every later change is lost.
    if (facts.cycle)
        Fail("the configuration took in a value that holds itself");
    try {
        config.Write(out);
        written = true;
    } catch (const Exception& e) {
        Fail("the configuration the game took in cannot be written: " + e.GetMessage());
    }
    return status;
}

} // namespace

void RunConfigFile(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    const std::string path = ScratchFolder() + "user.cfg";
    const std::string first = ScratchFolder() + "user-first.cfg";
    const std::string second = ScratchFolder() + "user-second.cfg";
    WriteScratchFile(path, data, size);
    bool written = false;
    bool stable = false;
    ReadAndWrite(path, first, written, stable);
    if (!written)
        return;
    const std::string firstText = ReadScratchFile(first);
    bool writtenAgain = false;
    bool stableAgain = false;
    if (ReadAndWrite(first, second, writtenAgain, stableAgain) != 0)
        Fail("the configuration the game wrote does not read back:\n" + firstText);
    if (!writtenAgain)
        Fail("the configuration read back from the game's own file cannot be written");
    if (stable && ReadScratchFile(second) != firstText)
        Fail("the configuration changed on its way through its file:\n" + firstText +
             "\n---- became ----\n" + ReadScratchFile(second));
}

} // namespace fuzz
