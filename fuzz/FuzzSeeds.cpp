#include "FuzzSeeds.h"

#include "FuzzHost.h"
#include "ImageMetadataPictures.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "debugger/DebugHello.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

// The files of folder whose names end in suffix, by name; each a seed of its own name.
std::vector<Seed> FilesIn(const std::string& folder, const std::string& suffix,
                          const std::string& prefix = "")
{
    std::vector<Seed> seeds;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            seeds.push_back({prefix + name, ReadScratchFile(entry.path().string())});
    }
    std::sort(seeds.begin(), seeds.end(),
              [](const Seed& a, const Seed& b) { return a.name < b.name; });
    return seeds;
}

void Append(std::vector<Seed>& to, const std::vector<Seed>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// The shipped configuration files, and one the game's writer made from the defaults with a
// value of every kind set.
std::vector<Seed> ConfigSeeds()
{
    std::vector<Seed> seeds = FilesIn(SourceFolder() + "/game", ".cfg");
    PrepareFuzzHost();
    OwnedState state;
    Config config(state.Get());
    config.ReadFile(SourceFolder() + "/game/bumperlux_Defaults.cfg");
    MakoLuaState::LoadString(state.Get(),
                             "Config.player_name = 'Zo\\195\\171 \"the\" \\\\wall\\\\\\n'\n"
                             "Config['key with blanks'] = 0.125\n"
                             "Config.colour = { 255, 128, 0, 64 }\n"
                             "Config.window = { x = -3, y = 1e300, flags = { true, false } }\n");
    const std::string path = ScratchFolder() + "seed-written.cfg";
    config.Write(path);
    seeds.push_back({"written.cfg", ReadScratchFile(path)});
    return seeds;
}

// Each metadata file of the pack's image folders with its entries renamed, in name order,
// onto the image metadata target's pictures; and tables of every kind the loader reads.
std::vector<Seed> MetadataSeeds(const std::string& packFolder)
{
    PrepareFuzzHost();
    std::vector<Seed> seeds;
    std::vector<Seed> shipped;
    std::error_code error;
    if (!packFolder.empty())
        for (const auto& entry : fs::recursive_directory_iterator(packFolder + "/Images", error))
            if (entry.path().filename() == "metadata.cfg")
                shipped.push_back({entry.path().parent_path().filename().string() + ".cfg",
                                   ReadScratchFile(entry.path().string())});
    std::sort(shipped.begin(), shipped.end(),
              [](const Seed& a, const Seed& b) { return a.name < b.name; });
    const auto& pictures = MetadataPictures();
    for (const Seed& file : shipped) {
        OwnedState state;
        MakoLuaState::LoadString(state.Get(),
                                 "Collected = {} function Metadata(t) Collected = t end");
        try {
            MakoLuaState::LoadString(state.Get(), file.bytes);
        } catch (const Exception&) {
            continue;
        }
        std::vector<std::pair<std::string, LuaPlus::LuaObject>> entries;
        for (LuaPlus::LuaTableIterator it(state.Get()->GetGlobal("Collected")); it; it.Next())
            if (it.GetKey().IsString())
                entries.emplace_back(it.GetKey().GetString(), it.GetValue());
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        LuaPlus::LuaObject renamed;
        renamed.AssignNewTable(state.Get());
        for (size_t i = 0; i < entries.size() && i < pictures.size(); ++i)
            renamed.SetObject(pictures[i].name, entries[i].second);
        std::string text = "Metadata ";
        SerializeToString(text, renamed, SERIALIZE_SORTED, state.Get());
        seeds.push_back({"pack-" + file.name, text});
    }
    seeds.push_back({"kinds.cfg",
                     "Metadata {\n"
                     "    [\"Ball.bmp\"] = { colorKey = true },\n"
                     "    [\"Dot.bmp\"] = { noAlpha = true, width = 1, height = 1 },\n"
                     "    [\"Sheet.bmp\"] = { numFrames = 9, width = 32, height = 30, "
                     "gap_y = 3 },\n"
                     "    [\"Strip.bmp\"] = { numFrames = 4, width = 32, height = 32, "
                     "combinedAlpha = true },\n"
                     "    [\"Tall.bmp\"] = { numFrames = 20, width = 8, height = 10 },\n"
                     "    [\"Wide.bmp\"] = { numFrames = 40, width = 16, height = 16 },\n"
                     "}\n"});
    return seeds;
}

// Packs folder with the game's own packer (cmake/AssetPack.cmake); "" when it fails.
std::string Pack(const std::string& folder, const std::string& package)
{
    const std::string command = std::string("\"") + BB_FUZZ_CMAKE + "\" -DASSETS_DIR=\"" + folder +
                                "\" -DPACKAGE_FILE=\"" + package + "\" -P \"" + SourceFolder() +
                                "/cmake/AssetPack.cmake\" >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return std::string();
    return ReadScratchFile(package);
}

void CopyInto(const std::vector<Seed>& files, const std::string& folder)
{
    fs::create_directories(folder);
    for (const Seed& file : files)
        WriteScratchFile(folder + "/" + file.name,
                         reinterpret_cast<const uint8_t*>(file.bytes.data()), file.bytes.size());
}

// Small packages as the game packs its assets: the level files, the metadata pictures with
// a metadata file, and the pack's paddle pictures with theirs.
std::vector<Seed> PackageSeeds(const std::string& packFolder)
{
    PrepareFuzzHost();
    std::vector<Seed> seeds;
    const std::string root = ScratchFolder() + "seed-packages/";
    std::error_code error;
    fs::remove_all(root, error);

    CopyInto(FilesIn(SourceFolder() + "/game/Levels", ".lua"), root + "levels/Levels");
    WriteMetadataPictures(root + "pictures/Images");
    CopyInto({MetadataSeeds("").back()}, root + "pictures/Images");
    fs::rename(root + "pictures/Images/kinds.cfg", root + "pictures/Images/metadata.cfg", error);
    std::vector<std::string> folders = {"levels", "pictures"};
    if (!packFolder.empty() && fs::is_directory(packFolder + "/Images/Paddles")) {
        fs::create_directories(root + "paddle/Images");
        fs::copy(packFolder + "/Images/Paddles", root + "paddle/Images/Paddles",
                 fs::copy_options::recursive, error);
        folders.push_back("paddle");
    }
    for (const std::string& folder : folders) {
        const std::string bytes = Pack(root + folder, root + folder + ".fun");
        if (!bytes.empty())
            seeds.push_back({folder + ".fun", bytes});
    }
    fs::remove_all(root, error);
    return seeds;
}

std::string Frame(const std::string& payload)
{
    const uint32_t n = static_cast<uint32_t>(payload.size());
    std::string frame;
    for (int shift = 0; shift < 32; shift += 8)
        frame += static_cast<char>((n >> shift) & 0xff);
    return frame + payload;
}

// A client's hello, then framed commands of every kind the debugger knows.
std::vector<Seed> FrameSeeds()
{
    const std::string hello = DebugHello::Encode(DebugHello::MAGIC, 5000, "fuzz client");
    const std::vector<std::vector<std::string>> sessions = {
        {"DebugOn()", "DebugSetBreakpoint('', 'test.lua', 6, true)", "DebugStepInto()",
         "DebugReadLocalVariables()", "DebugGo()", "DebugOff()"},
        {"DebugAddWatch('', 0, 't.sub.y')", "DebugReadWatchVariables()",
         "DebugAddWatchExpandIdent('', 0, 't.sub')", "DebugRemoveWatchExpandIdent('', 0, 't.sub')",
         "DebugRemoveWatch('', 0)"},
        {"DebugDoBuffer('', 't = { sub = { y = 1 } }')", "DebugSetVariable('', 't.sub.y', 'v')",
         "DebugAddLocalExpandIdent('', 't.sub')", "DebugRemoveLocalExpandIdent('', 't')",
         "DebugOutput('', 'say \"x\"')"},
        {"DebugStepOver()", "DebugStepOut()", "DebugBreak()", "DebugGo()", ""},
    };
    std::vector<Seed> seeds;
    for (size_t i = 0; i < sessions.size(); ++i) {
        std::string bytes = hello;
        for (const std::string& command : sessions[i])
            bytes += Frame(command);
        seeds.push_back({"session-" + std::to_string(i), bytes});
    }
    // A command in UTF-16 (the byte-order mark first), as some clients send them.
    std::string wide = "\xff\xfe";
    for (char c : std::string("DebugOutput('', 'w')"))
        wide += std::string(1, c) + '\0';
    seeds.push_back({"utf16", hello + Frame(wide)});
    return seeds;
}

// The play target's seeds: a level of every kind of piece, alone and with each of the faults
// level authors and pack authors were seen to make (PlayEntry.cpp gives the sections).
std::vector<Seed> PlaySeeds()
{
    const std::string level = R"lua(--- level
Levels.FuzzPlay = {
    fullName = "Play", noteText = "A note.", fromText = "The Workshop", music = "Harbour.mid",
    compiledBricks = { { resource = "RedBrick", position = { 10, 3 } },
                       { resource = "RedBrick", position = { 12, 3 } } },
    levelActors = { { class = "Goober", resource = "NormalGoober", position = { 320, 200 } },
                    { class = "Goober", resource = "DestructiveGoober", position = { 82, 85 } } },
    paddleStarts = { { position = { 288, 416 }, ballStart = { } } },
    ballStarts = { { position = { 300, 300 }, velocity = { 0, 150 } } },
    artefact = { name = "artifactScarab.jpg", position = { 272, 52 }, score = 100 },
}
local L = Levels.FuzzPlay
)lua";
    // Bricks holding coins across the ball's way: a coin spins as soon as one breaks.
    const std::string coins = level + "for row = 8, 20 do for col = 0, 19 do "
                                      "L.compiledBricks[#L.compiledBricks + 1] = { resource = "
                                      "'RedBrick', position = { col, row }, powerups = { "
                                      "'BlingCoin' } } end end\n";
    std::string frames = "local list = {} for i = 1, 20000 do list[i] = i % 8 end\n"
                         "local spins = {} for i = 1, 100 do spins['spin' .. i] = list end\n"
                         "Metadata { ['Bling.Coin.png'] = { numFrames = 8, width = 32, "
                         "height = 32, Animations = spins } }\n";
    return {
        {"level.txt", level},
        {"paddle-frames-1px.txt",
         level + "--- Images/Paddles\nMetadata { ['Paddle_Pulsate.png'] = { numFrames = 8, "
                 "width = 1, height = 24, Animations = { Pulsate = { 0, 1, 2, 3, 4, 5, 6, 7 "
                 "} } } }\n"},
        {"animation-cycle.txt",
         coins + "--- Images/Powerups\nMetadata { ['Bling.Coin.png'] = { numFrames = 8, "
                 "width = 32, height = 32, Animations = { spin1 = { 'spin2' }, spin2 = { "
                 "'spin1' }, spin3 = { 'spin3' } } } }\n"},
        {"function-comments.txt", level + "-- function\n-- this file has no function\n"},
        {"refused-chain.txt", level + "local r = {} local n = r for i = 1, 300 do local m = "
                                      "{ sound = 5 } n[1] = m n = m end L.extraActors = r\n"},
        {"shared-frame-lists.txt", coins + "--- Images/Powerups\n" + frames},
        {"behaviour-lists.txt",
         level + "local names = {} for i = 1, 1000 do names[i] = 'Ball' .. i end\n"
                 "local brick = { resource = 'RedBrick', takeDamageOnCollision = names }\n"
                 "for i = 1, 20 do L.compiledBricks[i] = { resource = 'RedBrick', position = "
                 "{ i, 5 }, takeDamageOnCollision = names } end\n"},
        {"actors-that-throw.txt",
         level + "L.levelActors[3] = { class = 'Ball', substance = 'Plutonium', position = { "
                 "100, 100 } }\nL.levelActors[4] = { class = 'Ball', corona = 'Foo', position "
                 "= { 140, 100 } }\nL.compiledBricks[3] = { resource = 'RedBrick', position = "
                 "{ 4, 4 }, showExplosivePower = 9 }\nL.compiledBricks[4] = { resource = "
                 "'RedBrick', position = { 6, 4 }, brickSize = 'Huge' }\nL.customWalls = { "
                 "TopWall = 5 }\nL.artefact = { name = 5 }\n"},
        {"serve-nowhere.txt", level + "L.paddleStarts = { { position = { 288, 416 } } }\n"
                                      "L.ballStarts = { { paddleName = 'Nope' } }\n"},
        {"asserted-values.txt",
         level + "L.compiledBricks[3] = { resource = 'RedBrick', position = { 4, 4 }, "
                 "showExplosivePower = -3, explosivePower = -1, explosivePowerOnly = -1 }\n"
                 "L.levelActors[3] = { class = 'Ball', substance = 'Nothing', position = { 100, "
                 "100 } }\n"},
        // Pictures whose metadata lacks what the game asks of them, or holds too much.
        {"paddle-animation-renamed.txt",
         level + "--- Images/Paddles\nMetadata { ['Paddle_Pulsate.png'] = { numFrames = 8, "
                 "width = 64, height = 24, Animations = { Throb = { 0, 1, 2, 3 } } } }\n"},
        {"paddle-frames-huge.txt",
         level + "--- Images/Paddles\nMetadata { ['Paddle_Pulsate.png'] = { numFrames = 1e308, "
                 "width = 64, height = 24, Animations = { Pulsate = { 0, 1, 2 } } } }\n"},
        {"coin-without-animations.txt",
         coins + "--- Images/Powerups\nMetadata { ['Bling.Coin.png'] = { numFrames = 8, "
                 "width = 32, height = 32 } }\n"},
        {"wall-one-frame.txt",
         level + "--- Images/Walls\nMetadata { ['BottomWallDangerous.Vert.png'] = { numFrames "
                 "= 1, width = 608, height = 20, Animations = { loop = { 0 } } } }\n"},
        {"map-star-without-animations.txt",
         level + "--- Images/Map\nMetadata { ['objMapStarSmall.png'] = { height = 14, "
                 "numFrames = 1, width = 28 } }\n"},
        // Levels the level check and the game once judged apart.
        {"many-power-up-names.txt",
         level + "local kinds = { 'BlingCoin', 'BlingDiamond', 'BlingEmerald', 'BlingRuby' }\n"
                 "for i = 1, 1000 do local names = {} for k = 1, 20 do names[k] = kinds[1 + k % "
                 "4] end L.levelActors[i] = { class = 'Brick', resource = 'RedBrick', position "
                 "= { 16 + i % 18 * 32, 40 + math.floor(i / 18) * 4 }, powerups = names } end\n"},
        {"cells-off-the-field.txt",
         level + "L.compiledBricks[3] = { resource = 'RedBrick', position = { 1e308, 2 } }\n"
                 "L.compiledBricks[4] = { resource = 'RedBrick', position = { 0/0, 3 } }\n"},
        {"paddle-size-out-of-range.txt",
         level + "L.paddleStarts = { { position = { 288, 416 }, paddleSize = 9, ballStart = "
                 "{ } } }\n"},
        // What the game says of a level may echo its text; work past a level's meter is the
        // game's designed answer.
        {"assertion-text-in-level.txt",
         level + "L.fullName = 'Assertion failed: (x)'\nL['Assertion failed: (y)'] = 1\n"},
        {"level-past-its-meter.txt",
         level + "local t = { resource = 'RedBrick', position = { 2, 1 } }\n"
                 "for i = 1, 10000 do t[i] = i end\n"
                 "for i = 1, 400 do L.compiledBricks[i] = t end\n"},
        {"paddle-out-of-reach.txt", level + "L.paddleStarts = { { position = { 99999, 99999 } "
                                            "} }\nL.ballStarts = nil\n"},
    };
}

// The pictures of the metadata target's folder (BMP) and a few of each kind the pack holds.
std::vector<Seed> PictureSeeds(const std::string& packFolder)
{
    const std::string folder = ScratchFolder() + "seed-pictures/";
    WriteMetadataPictures(folder);
    std::vector<Seed> seeds = FilesIn(folder, ".bmp");
    if (!packFolder.empty())
        for (const char* kind : {".png", ".jpg"}) {
            std::vector<Seed> pack = FilesIn(packFolder + "/Images/Screens", kind, "Screens-");
            Append(pack, FilesIn(packFolder + "/Images/Balls", kind, "Balls-"));
            if (pack.size() > 4)
                pack.resize(4);
            Append(seeds, pack);
        }
    return seeds;
}

} // namespace

std::string SourceFolder()
{
    return BB_FUZZ_SOURCE_DIR;
}

std::vector<Seed> MakeSeeds(const std::string& target, const std::string& packFolder)
{
    if (target == "config")
        return ConfigSeeds();
    if (target == "card") {
        std::vector<Seed> seeds = SavedCardSeeds();
        // Two records of a game without their score, which the game compares.
        seeds.push_back({"records-without-score.card",
                         "Player { guid = 77, Card_Version = 4, Name = \"Zed\", Options = { "
                         "[\"game.mode\"] = \"Adventure\", [\"player.skill\"] = \"gamer\" }, "
                         "Game_Records = { { gameRecordGuid = 1, gameRecordType = \"game\" }, "
                         "{ gameRecordGuid = 2, gameRecordType = \"game\" } } }\n"});
        return seeds;
    }
    if (target == "level")
        return FilesIn(SourceFolder() + "/game/Levels", ".lua");
    if (target == "metadata")
        return MetadataSeeds(packFolder);
    if (target == "serializer") {
        std::vector<Seed> seeds = ConfigSeeds();
        Append(seeds, SavedCardSeeds());
        Append(seeds, MetadataSeeds(packFolder));
        return seeds;
    }
    if (target == "package")
        return PackageSeeds(packFolder);
    if (target == "frames")
        return FrameSeeds();
    if (target == "play")
        return PlaySeeds();
    if (target == "song")
        return SongSeeds(packFolder);
    if (target == "picture")
        return PictureSeeds(packFolder);
    if (target == "font")
        return FontSeeds(packFolder);
    if (target == "sound")
        return SoundSeeds();
    return {};
}

} // namespace fuzz
