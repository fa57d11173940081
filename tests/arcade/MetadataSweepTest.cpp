// Every number of every metadata file of the pack, in turn, given each extreme value (0, -1,
// ±2^31, 2^53, 1e308, NaN, ±inf, 0.5, a text): the folder is read through the game's own
// scanner and loaders from a copy of the pack, every picture of it is loaded and cut into its
// frames, and what uses the numbers runs over them (the ball images are composed, every
// animation plays, captions are fitted, paper rules are read, songs give their parts).
// Nothing may fail; a value the game does not keep as given is named in the log with its
// metadata file and key.
#include "GameApp.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "field/Ball.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/Actor.h"
#include "scene/SceneHost.h"
#include "screens/PaperRules.h"
#include "sound/DirectMusicLoader.h"
#include "sound/MusicSegment.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"
#include "widgets/ButtonCaption.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kValues[] = {"0",     "-1",  "2147483648", "-2147483648", "9007199254740992",
                               "1e308", "0/0", "1/0",        "-1/0",        "0.5",
                               "'x'"};

// Lua helpers of the sweep: the kinds of number a metadata table holds, the file's text with
// every number of one kind replaced, and whether the table still holds the value given.
// A kind is the path of keys to the number, with the names of a table of tables (the
// animations, the parts of a song) as "*" and the places in a list of more than two numbers
// as "[]": "numFrames", "captionInset[1]", "rules.top", "Animations.*[]", "parts.*[2]".
const char kSweepLua[] = R"lua(
local function KindOf(path, key, parent)
    if type(key) == "number" then
        local count = 0
        for _ in pairs(parent) do count = count + 1 end
        return count <= 2 and (path .. "[" .. key .. "]") or (path .. "[]")
    end
    if path == "" then return key end
    for _, v in pairs(parent) do
        if type(v) == "table" then return path .. ".*" end
    end
    return path .. "." .. key
end
local function Walk(v, path, visit)
    if type(v) ~= "table" then return visit(v, path) end
    for k, x in pairs(v) do Walk(x, KindOf(path, k, v), visit) end
end
function SweepKinds(metadata)
    local seen, kinds = {}, {}
    for _, entry in pairs(metadata) do
        Walk(entry, "", function(v, path)
            if type(v) == "number" and not seen[path] then
                seen[path] = true
                kinds[#kinds + 1] = path
            end
        end)
    end
    table.sort(kinds)
    return kinds
end
local function Text(v, kind, value, path)
    if type(v) == "number" then
        return path == kind and value or string.format("%.17g", v)
    elseif type(v) == "table" then
        local items = {}
        for k, x in pairs(v) do
            local key = type(k) == "number" and ("[" .. k .. "]") or ("[" .. string.format("%q", k) .. "]")
            items[#items + 1] = key .. " = " .. Text(x, kind, value, KindOf(path, k, v))
        end
        return "{ " .. table.concat(items, ", ") .. " }"
    end
    return type(v) == "string" and string.format("%q", v) or tostring(v)
end
function SweepText(metadata, kind, value)
    local items = {}
    for name, entry in pairs(metadata) do
        items[#items + 1] = "[" .. string.format("%q", name) .. "] = " .. Text(entry, kind, value, "")
    end
    return "Metadata { " .. table.concat(items, ",\n") .. " }"
end
function SweepHolds(held, kind, value, original)
    local given = assert(loadstring("return " .. value))()
    local function Count(metadata, same)
        local n = 0
        for _, entry in pairs(metadata) do
            Walk(entry, "", function(v, path)
                if path == kind and (not same or v == given or (v ~= v and given ~= given)) then
                    n = n + 1
                end
            end)
        end
        return n
    end
    return Count(held, true) == Count(original, false)
end
)lua";

// The table a metadata file's text gives, read in a bare environment.
LuaPlus::LuaObject ReadMetadata(const std::string& text)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    state->GetGlobals().SetString("SweepSource", text);
    MakoLuaState::LoadString(state, "local f = assert(loadstring(SweepSource)) "
                                    "setfenv(f, { Metadata = function(t) SweepRead = t end }) f()");
    return state->GetGlobal("SweepRead");
}

std::vector<std::string> Kinds(const LuaPlus::LuaObject& metadata)
{
    LuaPlus::LuaObject kinds = GetGlobalLuaState()->GetGlobal("SweepKinds").Call(metadata);
    std::vector<std::string> result;
    for (int i = 1; kinds[i].IsString(); ++i)
        result.push_back(kinds[i].GetString());
    return result;
}

class MetadataSweepTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        bbtest::OpenGameResources();
        MakoLuaState::LoadString(GetGlobalLuaState(), kSweepLua);
    }

    // Reads the folder (a copy of one pack folder) through a resource manager of its own,
    // loads and cuts every picture, and runs what uses the numbers over them. Failures name
    // the run. True when every number of the kind is still the value given afterwards.
    static bool Exercise(const std::string& folder, const std::string& run, const std::string& kind,
                         const char* value, const LuaPlus::LuaObject& original)
    {
        ResourceManager manager(GetGlobalLuaState());
        manager.AddLoader(new SDLImageLoader());
        manager.AddLoader(new DirectMusicLoader());
        manager.AddScanner(new WindowsDirectoryResourceScanner(folder + "/"));
        manager.ScanAll();
        // The files the metadata describes; the ball images are composed from the others.
        std::vector<std::string> names;
        for (LuaPlus::LuaTableIterator it(original); it; it.Next())
            names.push_back(it.GetKey().ToString());
        for (const std::string& name : names) {
            if (EndsWith(name, ".png"))
                ExercisePicture(name, run);
            else if (EndsWith(name, ".mid"))
                ExerciseSong(name, run);
        }
        if (fs::exists(folder + "/Ball.None.16.png")) {
            // The ball images the game composes at its start, from these pictures.
            Ball::FreeBallImages();
            Ball::CreateBallImages();
            Ball::FreeBallImages();
        }
        LuaPlus::LuaObject held;
        held.AssignNewTable(GetGlobalLuaState());
        for (const std::string& name : names)
            if (ResourceInfo* info = manager.FindInfo(name, true))
                held.SetObject(name.c_str(), info->GetMetadata());
        return GetGlobalLuaState()
            ->GetGlobal("SweepHolds")
            .Call(held, kind.c_str(), value, original)
            .GetBoolean();
    }

    static void ExercisePicture(const std::string& name, const std::string& run)
    {
        Image image(name);
        const int frames = image.GetNumFrames();
        ASSERT_GE(frames, 1) << run << ": " << name;
        for (int frame : {0, frames - 1}) {
            const SDL_Rect rect = image.GetFrameRect(frame);
            EXPECT_TRUE(rect.x >= 0 && rect.y >= 0 && rect.w >= 1 && rect.h >= 1 &&
                        rect.x + rect.w <= image.GetSize().x && rect.y < image.GetSize().y)
                << run << ": " << name << " frame " << frame;
            delete image.ExtractFrame(frame);
        }
        Actor actor;
        actor.SetImageFromResource(name);
        const std::pair<int, int> insets = CaptionInsets(actor);
        EXPECT_TRUE(insets.first >= 0 && insets.second >= 0) << run << ": " << name;
        PaperRules::Rules rules;
        if (PaperRules::Read(&image, rules)) {
            EXPECT_TRUE(rules.pitch >= 1 && rules.top >= 0) << run << ": " << name;
        }
        const LuaPlus::LuaObject metadata = image.GetMetadata();
        if (!metadata.IsTable() || !metadata["Animations"].IsTable())
            return;
        const LuaPlus::LuaObject animations = metadata["Animations"];
        for (LuaPlus::LuaTableIterator it(animations); it; it.Next()) {
            actor.LoopAnimation(it.GetKey().ToString());
            for (int pass = 0; pass < 30; ++pass)
                actor.Tick();
        }
        actor.SetAnimation(nullptr);
        SceneHost::DeleteScheduledActors();
    }

    static void ExerciseSong(const std::string& name, const std::string& run)
    {
        MusicSegment* song = MusicSegment::GetSegment(name);
        if (!song)
            return;
        for (const char* part : {"GetReady", "Letter", "Play1", "LevelComplete", "Main"}) {
            int first = 0, count = 0;
            song->GetPartRange(part, first, count);
            EXPECT_TRUE(song->HasPart(part) ? first >= 1 && count >= 1 : count == 0)
                << run << ": " << name << " " << part;
        }
    }

    bbtest::TempHome home;
};

} // namespace

TEST_F(MetadataSweepTest, EveryNumberOfEveryMetadataFileIsHeldToItsRange)
{
    const std::string pack = bbtest::AssetPackFolder();
    BB_REQUIRE_FILE(pack + "/Images", "the asset pack's images");
    const auto start = std::chrono::steady_clock::now();
    int runs = 0, files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(pack)) {
        if (entry.path().filename() != "metadata.cfg")
            continue;
        ++files;
        // The folder is copied once; each run writes its own metadata file over the copy.
        const fs::path relative = fs::relative(entry.path().parent_path(), pack);
        const std::string folder = home.Path() + "/pack/" + relative.string();
        fs::create_directories(folder);
        for (const auto& file : fs::directory_iterator(entry.path().parent_path()))
            if (file.is_regular_file())
                fs::copy_file(file.path(), folder + "/" + file.path().filename().string(),
                              fs::copy_options::overwrite_existing);
        const LuaPlus::LuaObject metadata = ReadMetadata(bbtest::ReadFile(entry.path().string()));
        ASSERT_TRUE(metadata.IsTable()) << entry.path();
        const std::vector<std::string> kinds = Kinds(metadata);
        EXPECT_FALSE(kinds.empty()) << entry.path() << " holds no number";
        for (const std::string& kind : kinds)
            for (const char* value : kValues) {
                const std::string run = relative.string() + "/metadata.cfg " + kind + " = " + value;
                SCOPED_TRACE(run);
                ++runs;
                const std::string text = GetGlobalLuaState()
                                             ->GetGlobal("SweepText")
                                             .Call(metadata, kind.c_str(), value)
                                             .ToString();
                bbtest::WriteFile(folder + "/metadata.cfg", text);
                bbtest::LogCapture log;
                bool kept = false;
                try {
                    kept = Exercise(folder, run, kind, value, metadata);
                } catch (const std::exception& e) {
                    ADD_FAILURE() << run << ": " << e.what();
                    continue;
                }
                // A value that was not kept as given is named with its file and key.
                const std::string key = kind.substr(0, kind.find_first_of(".["));
                const std::string logged = log.Text();
                bool named = false;
                std::istringstream lines(logged);
                for (std::string line; !named && std::getline(lines, line);)
                    named = line.find("Warning") != std::string::npos &&
                            line.find(relative.string() + "/metadata.cfg") != std::string::npos &&
                            line.find(key) != std::string::npos;
                EXPECT_TRUE(kept || named) << run << "\n" << logged.substr(0, 2000);
            }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "metadata sweep: " << files << " files, " << runs << " runs, " << seconds << " s"
              << std::endl;
    EXPECT_GE(files, 10);
}

// The damage a player met: the ball pictures' metadata holding numbers no picture can use.
// The game starts, a level is played with its balls served, and the metadata file and the key
// are named; nothing ends play.
TEST_F(MetadataSweepTest, PlayGoesOnOverBallPicturesWhoseNumbersCannotBeUsed)
{
    const std::string pack = bbtest::AssetPackFolder();
    BB_REQUIRE_FILE(pack + "/Images/Balls/metadata.cfg", "the ball pictures' metadata");
    const std::string original = pack + "/Images/Balls/";
    bbtest::TempHome home;
    const std::string copy = home.Path() + "/Balls/";
    fs::create_directories(copy);
    for (const auto& file : fs::directory_iterator(original))
        fs::copy_file(file.path(), copy + file.path().filename().string(),
                      fs::copy_options::overwrite_existing);
    const LuaPlus::LuaObject metadata = ReadMetadata(bbtest::ReadFile(original + "metadata.cfg"));
    const std::pair<const char*, const char*> damages[] = {
        {"numFrames", "0"}, {"numFrames", "'x'"}, {"numFrames", "1e9"}, {"width", "-1"},
        {"width", "0/0"},   {"height", "2^31"},   {"gap_y", "-50"}};
    for (const auto& [key, value] : damages) {
        const std::string run = std::string(key) + " = " + value;
        SCOPED_TRACE(run);
        std::string text =
            GetGlobalLuaState()->GetGlobal("SweepText").Call(metadata, key, value).ToString();
        // A key the file does not hold yet is given to every picture.
        if (text.find(std::string("[\"") + key + "\"]") == std::string::npos)
            for (std::size_t at = text.find("= { "); at != std::string::npos;
                 at = text.find("= { ", at + 1))
                text.insert(at + 4, std::string(key) + " = " + value + ", ");
        bbtest::WriteFile(copy + "metadata.cfg", text);
        bbtest::LogCapture log;
        {
            // The copy's pictures replace the pack's for this start.
            bbtest::ResourceScope scope;
            scope.Add(new WindowsDirectoryResourceScanner(copy));
            bbtest::TestResources().ScanAll();
            Ball::FreeBallImages();
            bbtest::GameApp app;
            EXPECT_NO_THROW({
                app.StartGame();
                app.ClickLeft();
                app.Pass(60);
            }) << run;
        }
        EXPECT_NE(std::string::npos, log.Text().find("Balls/metadata.cfg\" gives \"Corona."))
            << log.Text().substr(0, 3000);
        EXPECT_NE(std::string::npos, log.Text().find(std::string("\" ") + key + " = "))
            << log.Text().substr(0, 3000);
        Ball::FreeBallImages();
    }
}
