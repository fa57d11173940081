// The wrong-kind sweep over names and pictures. Every key of level data that names a
// resource (the level's song, background and artefact; an actor's picture and sound; the
// sounds of goobers, structures, bricks and power-ups; the resources an object is made of) is
// given a name of every other kind the pack has: a picture, a sound, a song, a script, a
// table resource, a font, a level's name and the table `Levels` itself. And every picture a
// ball, a brick or a button zooms or cuts is given frames of 1 to 8 pixels, one frame of
// them. Each run builds a level, serves, plays it with the autoplay and makes its letters:
// nothing may raise, and every key that was given a name of the wrong kind is named in the
// log with the level and the key, as is every metadata file whose frames were mended.
#include "GameApp.h"
#include "LevelSweep.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "field/Ball.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/Actor.h"
#include "sound/MusicSegment.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"
#include "support/engine/LogCapture.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A name of one kind, as level text: the kind's word and the Lua expression.
struct Name
{
    std::string kind;
    std::string lua;
};

// A key of level data that names a resource of one kind (kinds: the kinds it takes, "|"
// between them). entry: the level text that sets it, %V% standing for the name and %N% for
// the entry's number; where and key: what the report of the key names ("levelActors[%N%]"
// or, for a brick, its cell, and "destructionSound").
struct NameSite
{
    std::string kinds;
    std::string where;
    std::string key;
    std::string entry;
};

const std::string kNameBaseLevel = gametest::SweepBaseLevel("WrongKind");

const std::string kActor = "L.levelActors[%N%] = { position = { %N% * 40, 120 }, ";
const std::string kBrick = "L.compiledBricks[%N%] = { resource = 'RedBrick', position = { %N%, "
                           "6 }, ";

// Every key of level data that names a resource.
const std::vector<NameSite> kSites = {
    {"song", "", "music", "L.music = %V%"},
    {"picture", "", "backgroundName", "L.backgroundName = %V%"},
    {"picture", "", "artefact", "L.artefact.name = %V%"},
    {"picture", "levelActors[%N%]", "image", kActor + "class = 'Actor', image = %V% }"},
    {"sound", "levelActors[%N%]", "sound", kActor + "class = 'Actor', sound = %V% }"},
    {"picture", "levelActors[%N%]", "image",
     kActor + "class = 'Goober', resource = 'NormalGoober', image = %V% }"},
    {"sound", "levelActors[%N%]", "destructionSound",
     kActor + "class = 'Goober', resource = 'NormalGoober', destructionSound = %V% }"},
    {"sound", "levelActors[%N%]", "scoreSound",
     kActor + "class = 'Goober', resource = 'NormalGoober', scoreSound = %V% }"},
    {"sound", "levelActors[%N%]", "lifetimeSound",
     kActor + "class = 'Goober', resource = 'NormalGoober', lifetimeSound = %V% }"},
    {"sound", "levelActors[%N%]", "lifetimeSound2",
     kActor + "class = 'Goober', resource = 'NormalGoober', lifetimeSound2 = %V% }"},
    {"sound", "levelActors[%N%]", "collisionSound",
     kActor + "class = 'ArcadeStructure', rectangle = { 8, 8 }, collisionSound = %V% }"},
    {"sound", "levelActors[%N%]", "powerupCreationSound",
     kActor + "class = 'BlingRuby', rectangle = { 8, 8 }, powerupCreationSound = %V% }"},
    {"sound", "compiledBricks[%N%]|column %N%)", "collisionSound",
     kBrick + "collisionSound = %V% }"},
    {"picture", "compiledBricks[%N%]|column %N%)", "image", kBrick + "image = %V% }"},
    {"table resource", "compiledBricks[%N%]|column %N%)", "trailEmitter",
     kBrick + "trailEmitter = %V% }"},
    {"table resource", "levelActors[%N%]", "trailEmitter",
     kActor + "class = 'ArcadeStructure', rectangle = { 8, 8 }, trailEmitter = %V% }"},
    {"table resource|picture", "levelActors[%N%]", "resource",
     kActor + "class = 'Goober', resource = %V% }"},
    {"table resource|picture", "levelActors[%N%]", "resources",
     kActor + "class = 'Goober', resources = { 'NormalGoober', %V% } }"},
};

std::string Replaced(std::string text, const std::string& mark, const std::string& with)
{
    for (std::size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + with.size()))
        text.replace(at, mark.size(), with);
    return text;
}

// Whether the words of text split at "|" hold word.
bool OneOf(const std::string& text, const std::string& word)
{
    std::istringstream words(text);
    for (std::string one; std::getline(words, one, '|');)
        if (one == word)
            return true;
    return false;
}

// Whether a line of the log names the level, the place (one of those given, "|" between
// them) and the key.
bool Named(const std::string& log, const std::string& where, const std::string& key)
{
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("\"WrongKind\"") == std::string::npos || line.find(key) == std::string::npos)
            continue;
        std::istringstream places(where);
        for (std::string place; std::getline(places, place, '|');)
            if (line.find(place) != std::string::npos)
                return true;
    }
    return false;
}

class WrongKindNameSweep : public gametest::LevelSweepFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
    }

    // One name of each kind the pack has (a registered name ending as given), and the two
    // that name no resource: a level's name and `Levels`.
    static std::vector<Name> Names()
    {
        ResourceManager& resources = bbtest::TestResources();
        std::vector<Name> names;
        const std::pair<const char*, const char*> kinds[] = {{"picture", "Ball.None.16.png"},
                                                             {"sound", "Beep01.ogg"},
                                                             {"song", "Harbour.mid"},
                                                             {"script", "Ball.lua"},
                                                             {"table resource", "RedBrick"}};
        for (const auto& [kind, name] : kinds) {
            EXPECT_NE(nullptr, resources.FindInfo(name, true)) << name;
            names.push_back({kind, Quoted(name)});
        }
        const std::vector<std::string> fonts = resources.FindNamesEndingWith(".ttf");
        EXPECT_FALSE(fonts.empty());
        if (!fonts.empty())
            names.push_back({"font", Quoted(fonts.front())});
        names.push_back({"level name", "'Welcome'"});
        names.push_back({"Levels", "Levels"});
        return names;
    }

    static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

    LevelManager manager;
};

} // namespace

// Each name of each kind, in every key that names a resource of another kind: one level a
// name, each key in an entry of its own.
TEST_F(WrongKindNameSweep, EveryKeyNamingAResourceTakesOnlyItsOwnKind)
{
    const std::vector<Name> names = Names();
    gametest::SweepTally tally{"names"};
    tally.sites = int(kSites.size());
    tally.values = int(names.size());
    int pairs = 0;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    for (const Name& name : names) {
        const std::string run = "every key = " + name.kind + " " + name.lua;
        SCOPED_TRACE(run);
        const auto from = std::chrono::steady_clock::now();
        std::string text = kNameBaseLevel;
        std::vector<std::pair<std::string, std::string>> expected;
        int entry = 2;
        for (const NameSite& site : kSites) {
            if (OneOf(site.kinds, name.kind))
                continue;
            ++pairs;
            const std::string number = std::to_string(entry++);
            text += Replaced(Replaced(site.entry, "%N%", number), "%V%", name.lua) + "\n";
            expected.emplace_back(site.where.empty() ? "Level \"WrongKind\": "
                                                     : Replaced(site.where, "%N%", number),
                                  site.where.empty() ? "\"" + site.key + "\"" : site.key);
        }
        MakoLuaState::LoadString(state, "rawset(Levels, 'WrongKind', nil)");
        bbtest::LogCapture log;
        std::string error;
        LevelManager::RunLevelText(state, text, "@Levels/WrongKind.lua", error);
        EXPECT_EQ("", error);
        try {
            PlayLevel("WrongKind", 300);
        } catch (const std::exception& e) {
            ADD_FAILURE() << run << ": " << e.what();
        }
        const std::string logged = log.Text();
        for (const auto& [where, key] : expected)
            EXPECT_TRUE(Named(logged, where, key))
                << run << ": " << where << " " << key << " is not named\n"
                << logged.substr(0, 3000);
        // A name of the wrong kind is left out: the brick that holds it is still built.
        EXPECT_EQ(std::string::npos, logged.find("placeholder brick")) << run << "\n"
                                                                       << logged.substr(0, 3000);
        tally.Ran(run, from);
        EndGame();
        passes.Step();
    }
    std::cout << "wrong-kind sweep: " << pairs << " key and kind pairs" << std::endl;
    tally.Print("wrong-kind sweep");
}

// The same names where the game itself looks a picture, a sound or a song up by name, past
// any check of a level: each name of another kind is no such picture (sound, song), raised as
// a missing name is or named in the log, and nothing else happens.
TEST_F(WrongKindNameSweep, EveryLookupByNameTakesOnlyItsOwnKind)
{
    // The songs are looked up whatever case ran before: the music plays.
    if (!Sound::IsMusicActive())
        Sound::InitDirectMusic(true);
    int lookups = 0;
    for (const Name& name : Names()) {
        if (name.lua.front() != '"' && name.lua.front() != '\'')
            continue; // not a name
        const std::string text = name.lua.substr(1, name.lua.size() - 2);
        SCOPED_TRACE(name.kind + " " + text);
        bbtest::LogCapture log;
        if (name.kind != "picture") {
            lookups += 2;
            EXPECT_THROW(Image image(text), ResourceNotFoundException);
            Actor actor;
            EXPECT_THROW(actor.SetImageFromResource(text), ResourceNotFoundException);
        }
        if (name.kind != "sound" && Sound::IsActive()) {
            ++lookups;
            EXPECT_EQ(0u, Sound::PlaySound(text, false));
            EXPECT_NE(std::string::npos, log.Text().find("\"" + text + "\"")) << log.Text();
        }
        if (name.kind != "song" && Sound::IsMusicActive()) {
            ++lookups;
            try {
                EXPECT_EQ(nullptr, MusicSegment::GetSegment(text));
            } catch (const ResourceNotFoundException&) {
                // Only a name of no resource at all may raise, as a missing name does.
                EXPECT_EQ(nullptr, bbtest::TestResources().FindInfo(text, true));
            }
        }
    }
    std::cout << "wrong-kind sweep, lookups by name: " << lookups << std::endl;
    EXPECT_GE(lookups, 12);
}

namespace {

// The folders of the pictures the balls (coronas), the bricks (textures, outlines, icons),
// the paddles (strips zoomed to the paddle's width) and the buttons of the letters zoom or
// cut.
const char* const kPictureFolders[] = {"Images/Balls", "Images/Bricks", "Images/Paddles",
                                       "Images/Powerups", "Images/UI"};

// The metadata file's text with every picture given frames of size x size, one of them.
std::string TinyFrames(const std::string& metadata, int size)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    state->GetGlobals().SetString("SweepSource", metadata.c_str());
    const std::string lua = R"lua(
local f = assert(loadstring(SweepSource))
local read
setfenv(f, { Metadata = function(t) read = t end })
f()
local function Text(v)
    if type(v) == "string" then return string.format("%q", v) end
    if type(v) ~= "table" then return tostring(v) end
    local fields = {}
    for k, x in pairs(v) do
        fields[#fields + 1] = "[" .. (type(k) == "string" and string.format("%q", k) or k) ..
                              "] = " .. Text(x)
    end
    return "{ " .. table.concat(fields, ", ") .. " }"
end
local items = {}
for name, entry in pairs(read) do
    local fields = {}
    for k, v in pairs(entry) do
        if k ~= "width" and k ~= "height" and k ~= "numFrames" then
            fields[#fields + 1] = "[" .. string.format("%q", k) .. "] = " .. Text(v)
        end
    end
    fields[#fields + 1] = "width = SIZE, height = SIZE, numFrames = 1"
    items[#items + 1] = string.format("[%q] = { %s }", name, table.concat(fields, ", "))
end
SweepResult = "Metadata { " .. table.concat(items, ",\n") .. " }"
)lua";
    MakoLuaState::LoadString(state, lua);
    return Replaced(state->GetGlobal("SweepResult").GetString(), "SIZE", std::to_string(size));
}

} // namespace

// Frames of 1 to 8 pixels, one frame, for every picture of the folders above at once: the
// game starts the current player's level (Welcome), serves, plays it and makes its letters;
// the balls' coronas that cannot be zoomed to the balls' sizes are mended and named with
// their metadata file.
TEST(WrongKindNamePictureSweep, PicturesWithFramesTooSmallToZoomEndNoLevel)
{
    bbtest::OpenGameResources();
    const std::string pack = bbtest::AssetPackFolder();
    BB_REQUIRE_FILE(pack + "/Images/Balls/metadata.cfg", "the ball pictures' metadata");
    bbtest::TempHome home;
    std::vector<std::pair<std::string, std::string>> folders; // copy, original metadata
    for (const char* folder : kPictureFolders) {
        const std::string original = pack + "/" + folder + "/";
        const std::string copy = home.Path() + "/" + folder + "/";
        if (!fs::exists(original + "metadata.cfg"))
            continue;
        fs::create_directories(copy);
        for (const auto& file : fs::directory_iterator(original))
            fs::copy_file(file.path(), copy + file.path().filename().string(),
                          fs::copy_options::overwrite_existing);
        folders.emplace_back(copy, bbtest::ReadFile(original + "metadata.cfg"));
    }
    EXPECT_EQ(std::size(kPictureFolders), folders.size());
    gametest::SweepTally tally{"pictures"};
    tally.sites = int(folders.size());
    tally.values = 8;
    for (int size = 1; size <= 8; ++size) {
        const std::string run =
            "frames of " + std::to_string(size) + " x " + std::to_string(size) + ", one frame";
        SCOPED_TRACE(run);
        const auto from = std::chrono::steady_clock::now();
        bbtest::LogCapture log;
        // The copies stand in for the pack's pictures for this run only.
        bbtest::ResourceScope scope;
        for (const auto& [copy, metadata] : folders) {
            bbtest::WriteFile(copy + "metadata.cfg", TinyFrames(metadata, size));
            scope.Add(new WindowsDirectoryResourceScanner(copy));
        }
        bbtest::TestResources().ScanAll();
        Ball::FreeBallImages();
        try {
            bbtest::GameApp app;
            app.StartGame();
            app.ClickLeft();
            app.Pass(150);
            if (Level* level = gLogic ? gLogic->GetLevel() : nullptr) {
                delete new StartLevelDialog("tester", level->GetNoteText(), level->GetFromText(),
                                            level->GetFullName());
                delete new EndLevelBonusDialog(level->GetFullName(), 0);
            }
        } catch (const std::exception& e) {
            ADD_FAILURE() << run << ": " << e.what();
        }
        // Frames of fewer than 8 pixels round to nothing at the smallest ball's size (8 of
        // the corona's 64): mended, and named with the metadata file.
        if (size < 8) {
            EXPECT_NE(std::string::npos,
                      log.Text().find("Images/Balls/metadata.cfg\" gives \"Corona."))
                << run << "\n"
                << log.Text().substr(0, 3000);
        }
        // A paddle's strip of frames so narrow that zoomed to the paddle's width it would be
        // wider than a surface may be: widened when it is read, and named with its file.
        EXPECT_NE(std::string::npos,
                  log.Text().find("Images/Paddles/metadata.cfg\" gives \"Paddle_Pulsate.png\" "
                                  "width = " +
                                  std::to_string(size)))
            << run;
        EXPECT_EQ(std::string::npos, log.Text().find("zoomSurface failed")) << run;
        tally.Ran(run, from);
    }
    Ball::FreeBallImages();
    tally.Print("wrong-kind sweep");
}
