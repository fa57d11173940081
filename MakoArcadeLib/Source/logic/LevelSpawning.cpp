// Level: filling the play field (background, bricks, further actors, artefact, walls and
// shields, paddles) and serving the balls. Everything made goes to the controller, which
// owns it from then on.
#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/ClosestName.h"
#include "core/DataLists.h"
#include "core/DataRange.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "core/StopSignal.h"
#include "core/TableOrder.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
#include "core/WorkMeter.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "field/Paddle.h"
#include "field/Shield.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelContainer.h"
#include "logic/LevelPlace.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "scene/ActorGroup.h"
#include "scene/IdenticalParticleEmitter.h"
#include "screens/Artefact.h"
#include "sound/Sound.h"

#include <algorithm>
#include <boost/format.hpp>
#include <cmath>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

using LuaPlus::LuaObject;

namespace {

// The play field's origin on the screen: bricks and extra actors are placed relative to
// it (the shipped field's top-left, whatever walls a level builds).
constexpr int kFieldX = FieldBounds{}.left;
constexpr int kFieldY = FieldBounds{}.top;

// Element i (1-based) of a pair such as {x, y}; 0 when the pair or the element is missing.
double PairValue(const LuaObject& pair, int i)
{
    if (!pair.IsTable())
        return 0.0;
    const LuaObject value = pair[i];
    return value.IsNumber() ? value.GetNumber() : 0.0;
}

// How far from the field a brick's cell may lie, in cells: far off the field, yet every
// place of a cell fits an int in pixels.
constexpr double kFarthestCell = 4096.0;

// A cell coordinate of a brick's position or of the level's offset (pair[i], key naming
// it): a number that is not finite or lies farther than kFarthestCell is reported in the
// open place and read as 0 (kept false then).
double CellValue(const LuaObject& pair, int i, const std::string& key, bool* kept = nullptr)
{
    const double value = PairValue(pair, i);
    if (std::isfinite(value) && std::fabs(value) <= kFarthestCell)
        return value;
    if (kept)
        *kept = false;
    DataReport::Report(std::string(), "\"" + key + "[" + std::to_string(i) +
                                          "]\": " + pair[i].ToString() +
                                          " is no cell of the field; 0 is used");
    return 0.0;
}

bool Flag(const LuaObject& value, bool def)
{
    return value.IsBoolean() ? value.GetBoolean() : def;
}

// A copy of the table without the keys named.
LuaObject CopyWithout(const LuaObject& table, std::initializer_list<const char*> skipped)
{
    LuaObject copy;
    copy.AssignNewTable(GetGlobalLuaState());
    for (const LuaObject& key : GetOrderedKeys(table)) {
        bool skip = false;
        if (key.IsString())
            for (const char* name : skipped)
                skip = skip || std::string(key.GetString()) == name;
        if (!skip)
            copy.SetObject(key, table[key]);
    }
    return copy;
}

double CentreX(const Actor* actor)
{
    return actor->GetX() + actor->GetWidth() / 2;
}

double ActorCentreY(const Actor* actor)
{
    return actor->GetY() + actor->GetHeight() / 2;
}

// Why a name given where a resource of kind is wanted cannot be used: "" when it can (or
// when there is no resource manager to look it up in), else what is logged after the level
// and key (ResourceManager::WhyNotOfKind), a missing name with noun before it.
std::string WhyNotOfKind(const std::string& name, int kind, const std::string& noun = "")
{
    ResourceManager* manager = GetResourceManager();
    if (!manager)
        return std::string();
    const std::string why = manager->WhyNotOfKind(name, kind);
    return manager->FindInfo(name, true) || why.empty() ? why : noun + why;
}

// Makes the object of a start (make() makes it as the start places it) with the start's
// properties. A key the object refuses is reported in the open place and left out: each key
// is tried alone on a probe (probe() makes one of the same class), and the object is made
// anew with the others, or with none when they still fail together, so one wrong key stops
// neither the serve nor the level. The caller owns what is made until the field takes it.
template <typename T, typename Make, typename Probe>
std::unique_ptr<T> MakeWithProperties(const Make& make, const Probe& probe, const LuaObject& props)
{
    std::unique_ptr<T> made(make());
    if (!props.IsTable())
        return made;
    // What is data's is the object boundary's to say: the meter's end and the program's own
    // mistakes pass on.
    if (ObjectBoundary::Contain([&] { made->ApplyProperties(props); }))
        return made;
    const std::string subject = DescribeObject(*made);
    LuaObject kept;
    kept.AssignNewTable(GetGlobalLuaState());
    for (const LuaObject& key : GetOrderedKeys(props)) {
        LuaObject single;
        single.AssignNewTable(GetGlobalLuaState());
        single.SetObject(key, props[key]);
        std::string why;
        if (ObjectBoundary::Contain(
                [&] {
                    std::unique_ptr<T> tried(probe());
                    tried->ApplyProperties(single);
                },
                &why))
            kept.SetObject(key, props[key]);
        else
            DataReport::Report(subject,
                               "\"" + DataKeyText(key) + "\": " + why + "; the key is left out");
    }
    made.reset();
    made.reset(make());
    std::string why;
    if (!ObjectBoundary::Contain([&] { made->ApplyProperties(kept); }, &why)) {
        DataReport::Report(subject, "the properties could not be applied together (" + why +
                                        "); none is applied");
        made.reset();
        made.reset(make());
    }
    return made;
}

// A ball that stands nowhere and is never served, to try a key on.
Ball* ProbeBall()
{
    return new Ball(0.0, 0.0, 0.0, 0.0, false);
}

// The one guard around each entry the level build makes (a brick, an actor, the
// artefact): it charges the open work meter one step first, so a stop asked for or a
// meter run out ends the build at this entry, not after the list. An error of the entry's
// data (core/ObjectBoundary decides which are) is reported through DataReport at the
// entry's key path (where, in the level) and the entry is left out; the program's own
// mistakes pass on to the crash reporter. Nothing the build makes logs a data problem any
// other way. True when make() ran through.
template <typename Make>
bool GuardEntry(const std::string& level, const std::string& where, const Make& make)
{
    WorkMeter::Charge();
    // Built with no meter open, a stop still ends the build here.
    if (!WorkMeter::Current() && StopSignal::IsRequested())
        MAKO_THROW(WorkSpent, "level \"" + level + "\" was stopped by " + StopSignal::GetName());
    // The level's entries are objects made from data: the object boundary decides what is
    // data's (the meter's end and the program's own mistakes pass on).
    std::string why;
    if (ObjectBoundary::Contain(make, &why))
        return true;
    LevelPlace place(level, 0, 0, where);
    DataReport::Report(std::string(), "it cannot be made and is left out: " + why);
    return false;
}

// `unknown class "Brik"; it is left out; did you mean "Brick"?` for a class name the game
// does not have.
std::string UnknownClassText(const std::string& name)
{
    std::vector<std::string> known;
    for (const Class* c : ClassManager::GetInstance()->GetAllClasses())
        known.push_back(c->GetName());
    return "unknown class \"" + ShortenedText(name) + "\"; it is left out" +
           DidYouMean(name, known);
}

// The class a brick entry makes, found once per resource name in one build: an entry
// that names only its resource (no class, no resource list) makes the class that resource
// names, so entries sharing a resource share the look-up.
class BrickClassFinder
{
public:
    const Class* Find(const LuaObject& entry)
    {
        const LuaObject resource = entry["resource"];
        if (!resource.IsString() || !entry["class"].IsNil() || !entry["resources"].IsNil())
            return FindClassToMake(entry);
        const auto [at, fresh] = m_ByResource.try_emplace(resource.GetString(), nullptr);
        if (fresh)
            at->second = FindClassToMake(entry);
        return at->second;
    }

private:
    std::map<std::string, const Class*> m_ByResource;
};

} // namespace

int Level::CountFieldObjects(const LuaObject& table)
{
    int count = 0;
    for (const char* key : {"compiledBricks", "levelActors", "extraActors"}) {
        const LuaObject list = table.IsTable() ? table[key] : LuaObject();
        if (!list.IsTable())
            continue;
        for (LuaPlus::LuaTableIterator it(list); it; it.Next())
            ++count;
    }
    return count;
}

void Level::CheckFieldSize() const
{
    const int count = CountFieldObjects(m_Table);
    if (count > MAX_FIELD_OBJECTS)
        MAKO_THROW(Exception, "Level \"" + m_LevelName + "\": compiledBricks, levelActors and " +
                                  "extraActors hold " + std::to_string(count) +
                                  " entries, more than the " + std::to_string(MAX_FIELD_OBJECTS) +
                                  " a level may hold");
}

void Level::DropMissingMusic()
{
    const std::string why = m_Music.empty() ? std::string() : WhyNotOfKind(m_Music, RESOURCE_MUSIC);
    if (why.empty())
        return;
    LevelPlace place(m_LevelName);
    DataReport::Report(std::string(), "\"music\": " + why + "; the level plays without music");
    m_Music.clear();
}

void Level::AddBackground(LevelContainer* container)
{
    const char* const plain = "bkgGame.jpg";
    const LuaObject name = ReadKey("backgroundName", LUA_TSTRING);
    if (!name.IsString()) {
        container->SetBackgroundImage(plain);
        return;
    }
    const std::string why = WhyNotOfKind(name.GetString(), RESOURCE_IMAGE);
    if (!why.empty()) {
        LevelPlace place(m_LevelName);
        DataReport::Report(std::string(),
                           "\"backgroundName\": " + why + "; the plain background is used");
        container->SetBackgroundImage(plain);
        return;
    }
    container->SetBackgroundImage(name.GetString());
}

void Level::CreateBricks(std::vector<std::unique_ptr<Brick>>& bricks,
                         std::vector<std::pair<int, int>>* cells)
{
    const LuaObject list = m_Table.IsTable() ? m_Table["compiledBricks"] : LuaObject();
    if (list.IsNil())
        return;
    if (!list.IsTable())
        MAKO_THROW(Exception, "Level \"" + m_LevelName + "\": compiledBricks is a " +
                                  list.TypeName() + ", not a table of brick entries");

    const LuaObject offset = ReadKey("offsetPosition", LUA_TTABLE);
    double offsetCell[2];
    {
        LevelPlace place(m_LevelName);
        ReadCell(offset, "offsetPosition", offsetCell[0], offsetCell[1]);
    }
    const LuaObject width = GetGlobalValue("BrickWidth");
    const LuaObject height = GetGlobalValue("BrickHeight");
    const int cellWidth = width.IsNumber() ? width.GetInteger() : 32;
    const int cellHeight = height.IsNumber() ? height.GetInteger() : 16;

    BrickClassFinder classes;
    for (const LuaObject& key : GetOrderedKeys(list)) {
        const LuaObject entry = list[key];
        const std::string where = "compiledBricks[" + DataKeyText(key) + "]";
        GuardEntry(m_LevelName, where, [&] {
            if (!entry.IsTable()) {
                LevelPlace place(m_LevelName, 0, 0, where);
                DataReport::Report(std::string(), DescribeScriptValue(entry) +
                                                      " is not a brick entry; it is left out");
                return;
            }
            // A brick entry names no class or one of the brick family: an entry of another
            // kind (an actor, a motion) is named and left out before anything is made.
            if (const Class* named = classes.Find(entry); named && !named->DerivesFrom("Brick")) {
                LevelPlace place(m_LevelName, 0, 0, where);
                DataReport::Report(std::string(), "a table of class \"" + named->GetName() +
                                                      "\" is not a brick entry; it is left out");
                return;
            }
            double cell[2];
            bool kept = true;
            {
                LevelPlace place(m_LevelName, 0, 0, where);
                kept = ReadBrickCell(entry, cell[0], cell[1]);
            }
            // A wrong value is reported with the brick's row and column; the brick is built,
            // at the cell said when its position was mended.
            LevelPlace place(m_LevelName, int(cell[1]), int(cell[0]));
            std::unique_ptr<Brick> brick(Brick::CreateFromEntry(
                kept ? entry : EntryAtCell(entry, cell[0], cell[1]), m_LevelName + "." + where));
            const double column = cell[0] + offsetCell[0];
            const double row = cell[1] + offsetCell[1];
            brick->SetPosition(int((column - 1) * cellWidth), int((row - 1) * cellHeight));
            bricks.push_back(std::move(brick));
            if (cells)
                cells->emplace_back(int(cell[1]), int(cell[0]));
        });
    }
}

bool Level::ReadCell(const LuaObject& pair, const std::string& key, double& column, double& row)
{
    bool kept = true;
    column = CellValue(pair, 1, key, &kept);
    row = CellValue(pair, 2, key, &kept);
    return kept;
}

LuaObject Level::EntryAtCell(const LuaObject& entry, double column, double row)
{
    LuaObject made = CopyWithout(entry, {"position"});
    LuaObject pair = made.CreateTable("position");
    pair.SetNumber(1, column);
    pair.SetNumber(2, row);
    return made;
}

bool Level::ReadBrickCell(const LuaObject& entry, double& column, double& row)
{
    return ReadCell(entry.IsTable() ? entry["position"] : LuaObject(), "position", column, row);
}

void Level::SpawnBricks(LevelContainer* container)
{
    std::vector<std::unique_ptr<Brick>> bricks;
    std::vector<std::pair<int, int>> cells;
    CreateBricks(bricks, &cells);
    m_LootAmount = 0;
    int secrets = 0;
    for (std::size_t i = 0; i < bricks.size(); ++i) {
        Brick* brick = bricks[i].get();
        brick->SetPosition(brick->GetX() + kFieldX, brick->GetY() + kFieldY);
        // The field owns the brick from here on; those not handed over yet go with the list.
        container->AddBrick(bricks[i].release());
        brick->CountLoot();
        m_LootAmount += brick->GetLootCount();
        if (!brick->HasSecret())
            continue;
        // Every secret hides a find; a level is made to hide one, where play can reach it.
        LevelPlace place(m_LevelName, cells[i].first, cells[i].second);
        if (++secrets > 1)
            DataReport::Report(std::string(), "a second secret (\"?\"): a level hides one secret");
        if (!brick->CanBreak())
            DataReport::Report(std::string(), "the secret (\"?\") is on a brick that cannot break");
    }
    m_LootAmount += int(m_LastBrickBonus.size());
    LogAtLevel(4, "Level::SpawnBricks: m_LootAmount = %d\n", m_LootAmount);
}

void Level::SpawnActorList(LevelContainer* container, const char* key, int dx, int dy,
                           const char* logName)
{
    for (std::unique_ptr<Object>& object : MakeObjects(key)) {
        Actor* actor = dynamic_cast<Actor*>(object.get());
        if (!actor)
            continue;
        actor->SetPosition(actor->GetX() + dx, actor->GetY() + dy);
        object.release();
        container->AddActor(actor);
        if (Brick* brick = dynamic_cast<Brick*>(actor)) {
            brick->CountLoot();
            m_LootAmount += brick->GetLootCount();
        }
    }
    LogAtLevel(4, "Level::%s: m_LootAmount = %d\n", logName, m_LootAmount);
}

std::vector<std::unique_ptr<Object>> Level::MakeObjects(const char* key,
                                                        const char* onlyClass) const
{
    std::vector<std::unique_ptr<Object>> objects;
    const LuaObject list = ReadKey(key, LUA_TTABLE);
    for (const LuaObject& entryKey : GetOrderedKeys(list)) {
        const LuaObject params = list.RawGet(entryKey);
        const std::string where = std::string(key) + "[" + DataKeyText(entryKey) + "]";
        // The class is found once and the object made of it.
        const Class* c = FindClassToMake(params);
        if (onlyClass) {
            // Counting leaves out what it cannot make: the field's build reports it.
            if (!c || !c->DerivesFrom(onlyClass) || !c->CanInstantiate())
                continue;
            LevelPlace place(m_LevelName, 0, 0, where);
            ObjectBoundary::Contain([&] { objects.emplace_back(c->Instantiate(params)); });
            continue;
        }
        GuardEntry(m_LevelName, where, [&] {
            LevelPlace place(m_LevelName, 0, 0, where);
            // A class name the game does not have is named (the level check adds the
            // nearest name).
            const LuaObject name = params.IsTable() ? params["class"] : LuaObject();
            if (name.IsString() && !ClassManager::GetInstance()->GetClass(name.GetString(), true)) {
                DataReport::Report(std::string(), UnknownClassText(name.GetString()));
                return;
            }
            // Only an actor stands on the field: an element of another kind is named and
            // left out before anything is made of it.
            if (!c || !c->DerivesFrom("Actor") || !c->CanInstantiate()) {
                IsDataTableOfKind(params, "Actor", std::string(), std::string());
                return;
            }
            std::unique_ptr<Object> object(c->Instantiate(params));
            // A structure stands on the field by its shape; one without cannot be placed.
            const auto* structure = dynamic_cast<const ArcadeStructure*>(object.get());
            if (structure && structure->GetShape() == STRUCTURE_SHAPE_NONE) {
                DataReport::Report(std::string(), "it has no shape (rectangle, circle or "
                                                  "polygon); it is left out");
                return;
            }
            objects.push_back(std::move(object));
        });
    }
    return objects;
}

void Level::SpawnExtraActors(LevelContainer* container)
{
    SpawnActorList(container, "extraActors", kFieldX, kFieldY, "SpawnExtraActors");
}

void Level::SpawnLevelActors(LevelContainer* container)
{
    SpawnActorList(container, "levelActors", 0, 0, "SpawnLevelActors");
}

void Level::SetupArtefact(LevelContainer* container)
{
    LuaObject artefact = ReadKey("artefact", LUA_TTABLE);
    if (!artefact.IsTable())
        artefact = GetGlobalValue("defaultArtefact");
    const LuaObject name = artefact.IsTable() ? artefact["name"] : LuaObject();
    LevelPlace place(m_LevelName);
    const auto without = [&](const std::string& why) {
        if (!why.empty())
            DataReport::Report(std::string(),
                               "\"artefact\": " + why + "; the level plays without its artefact");
        container->SetArtefact(nullptr);
    };
    if (!name.IsNil() && !name.IsString())
        return without("\"name\" is " + DescribeScriptValue(name) + ", not a picture's name");
    if (!name.IsString() || std::string(name.GetString()) == "none")
        return without(std::string());
    const std::string why = WhyNotOfKind(name.GetString(), RESOURCE_IMAGE, "the picture ");
    if (!why.empty())
        return without(why);
    const bool made = GuardEntry(m_LevelName, "artefact", [&] {
        LuaObject params = CopyWithout(artefact, {"name", "class"});
        std::unique_ptr<Artefact> artefactActor(new Artefact(name.GetString()));
        artefactActor->ApplyProperties(params);
        artefactActor->ApplyStringProperty("name", name.GetString());
        // Behind everything else on the play field, so the bricks over it hide it.
        artefactActor->SetZOrder(-1);
        container->SetArtefact(artefactActor.release());
        m_ArtefactName = name.GetString();
    });
    if (!made)
        container->SetArtefact(nullptr);
}

void Level::CreateWalls(LevelContainer* container)
{
    static const char* const kWalls[4] = {"TopWall", "LeftWall", "BottomWall", "RightWall"};
    static const char* const kSides[4] = {"Top", "Left", "Bottom", "Right"};
    // The walls are laid out around the field the wall scripts give: it is this level's
    // field from now on.
    m_FieldBounds = FieldBounds::FromScripts();
    m_HasFieldBounds = true;
    const LuaObject custom = ReadKey("customWalls", LUA_TTABLE);
    bool dangerous[4] = {false, false, false, false};
    for (int i = 0; i < 4; ++i) {
        const bool bottom = i == 2;
        auto wall = std::make_unique<Wall>(kWalls[i]);
        const LuaObject settings = custom.IsTable() ? custom[kWalls[i]] : LuaObject();
        if (!settings.IsNil() && !settings.IsTable()) {
            LevelPlace place(m_LevelName, 0, 0, std::string("customWalls.") + kWalls[i]);
            DataReport::Report(std::string(), DescribeScriptValue(settings) +
                                                  " is not a table; the wall keeps its defaults");
        }
        const bool table = settings.IsTable();
        dangerous[i] = Flag(table ? settings["dangerous"] : LuaObject(), bottom);
        wall->SetDangerous(dangerous[i]);
        wall->SetAttractPowerups(Flag(table ? settings["attractPowerups"] : LuaObject(), bottom));
        if (table && settings["variant"].IsString())
            wall->ApplyStringProperty("variant", settings["variant"].GetString());
        wall->SetZOrder(7);
        container->AddWall(wall.release());
    }
    for (int i = 0; i < 4; ++i) {
        if (!dangerous[i])
            continue;
        Shield* shield = new Shield(kSides[i]);
        container->AddShield(shield);
        shield->Clear();
        // The neighbours in the cycle Top, Left, Bottom, Right: the next, then the previous.
        for (int neighbour : {(i + 1) % 4, (i + 3) % 4}) {
            if (!dangerous[neighbour])
                continue;
            if (neighbour == 0 || neighbour == 1)
                shield->SetCornerStart(true);
            else
                shield->SetCornerEnd(true);
        }
    }
}

void Level::KeepInField(Paddle& paddle, const LuaObject& position, double x, double y) const
{
    const FieldBounds field = m_HasFieldBounds ? m_FieldBounds : FieldBounds::FromScripts();
    const double w = paddle.GetWidth(), h = paddle.GetHeight();
    const double cx = x + w / 2, cy = y + h / 2;
    if (cx >= field.left && cx <= field.right && cy >= field.top && cy <= field.bottom)
        return;
    // A paddle whose middle stands outside the field could never be reached by a ball, nor
    // serve one: it starts at the nearest place inside the field that leaves room for the
    // ball it holds.
    const double room = kServeRoom;
    const auto into = [room](double at, double low, double high, double size) {
        return ClampToInt(std::clamp(at, low + room, std::max(low + room, high - room - size)));
    };
    const int left = into(x, field.left, field.right, w);
    const int top = into(y, field.top, field.bottom, h);
    DataReport::Report(std::string(),
                       boost::str(boost::format("\"position\": { %1%, %2% } puts the paddle "
                                                "outside the field; it starts at { %3%, %4% }") %
                                  PairValue(position, 1) % PairValue(position, 2) % left % top));
    paddle.SetPosition(left, top);
}

void Level::SpawnPaddles(ArcadeGameLogic* logic)
{
    m_SpawnPowerupsGiven = false;
    for (const LuaObject& start : m_PaddleStarts) {
        const LuaObject position = start["position"];
        const bool vertical = Flag(start["vertical"], false);
        const bool facePositive = Flag(start["facePositive"], false);
        double x = PairValue(position, 1), y = PairValue(position, 2);
        if (vertical) {
            x -= 27;
            y += 27;
        }
        const LuaObject ballStart = start["ballStart"];
        const bool named = ballStart.IsTable() && ballStart["paddleName"].IsString();
        // The position is placed here (with a side paddle's shift), and a paddle that
        // serves is named by its ball start, so neither is applied again from the start.
        const LuaObject props =
            named
                ? CopyWithout(start, {"ballStart", "facePositive", "vertical", "position", "name"})
                : CopyWithout(start, {"ballStart", "facePositive", "vertical", "position"});
        LevelPlace place(m_LevelName, 0, 0, "paddle start");
        std::unique_ptr<Paddle> paddle = MakeWithProperties<Paddle>(
            [&] {
                auto made = std::make_unique<Paddle>(vertical, facePositive);
                made->SetPosition(ClampToInt(x), ClampToInt(y));
                if (named)
                    made->ApplyStringProperty("name", ballStart["paddleName"].GetString());
                return made.release();
            },
            [&] { return new Paddle(vertical, facePositive); }, props);
        KeepInField(*paddle, position, x, y);
        paddle->FadeIn(750);
        Sound::PlaySound("paddleAppear.ogg");
        logic->AddPaddle(paddle.release());
    }
}

void Level::SpawnBall(ArcadeGameLogic* logic, int numBalls, bool force)
{
    const int starts = int(m_BallSpawns.size());
    // A serve asks for one ball per start at most.
    if (numBalls < 0 || numBalls > starts)
        numBalls = starts;
    // The level's first serve is free; later ones are limited by the reserve.
    const bool charged = !force && m_FirstServeDone;
    if (charged) {
        if (logic->m_BallsLeft <= 0)
            return;
        if (expensiveSpawns && logic->m_BallsLeft < numBalls)
            numBalls = logic->m_BallsLeft;
    }
    if (numBalls <= 0)
        return;

    int served = 0;
    if (numBalls == starts) {
        for (const LuaObject& start : m_BallSpawns)
            if (ServeAt(logic, start))
                ++served;
    } else {
        for (int n = 0; n < numBalls; ++n) {
            const LuaObject* best = nullptr;
            double bestDistance = -1.0;
            for (const LuaObject& start : m_BallSpawns) {
                double x = 0, y = 0;
                if (!GetStartPoint(logic, start, x, y))
                    continue;
                double distance = 1000000.0;
                const auto closer = [&](const Actor* actor) {
                    const double dx = CentreX(actor) - x, dy = ActorCentreY(actor) - y;
                    distance = std::min(distance, std::sqrt(dx * dx + dy * dy));
                };
                for (Actor* actor : logic->GetBalls().GetMembers()) {
                    const Ball* ball = dynamic_cast<const Ball*>(actor);
                    if (ball && ball->IsActive() && !ball->IsDead())
                        closer(ball);
                }
                for (Actor* actor : logic->GetBallSpawnAnimations().GetMembers())
                    if (!actor->IsDead())
                        closer(actor);
                if (distance > bestDistance) {
                    bestDistance = distance;
                    best = &start;
                }
            }
            if (best && ServeAt(logic, *best))
                ++served;
        }
    }

    // Only balls that were served cost a ball.
    if (charged && served > 0)
        logic->SetBallsLeft(logic->m_BallsLeft - (expensiveSpawns ? served : 1));

    CheckPowerups(logic);
    m_FirstServeDone = true;
    m_SpawnPowerupsGiven = true;
}

bool Level::GetStartPoint(ArcadeGameLogic* logic, const LuaObject& ballStart, double& x, double& y)
{
    if (ballStart["paddleName"].IsString()) {
        const Actor* actor = ServingPaddle(logic, ballStart);
        if (!actor)
            return false;
        x = CentreX(actor);
        y = ActorCentreY(actor);
        return true;
    }
    x = PairValue(ballStart["position"], 1);
    y = PairValue(ballStart["position"], 2);
    return true;
}

Paddle* Level::ServingPaddle(ArcadeGameLogic* logic, const LuaObject& ballStart)
{
    const std::string name = ballStart["paddleName"].GetString();
    if (Paddle* named = dynamic_cast<Paddle*>(logic->FindActor(name)))
        return named;
    // A name no paddle of the field has is a slip of the level: the ball is served on the
    // first paddle in play, so the level never plays without a ball. Said once a level.
    Paddle* first = nullptr;
    for (Paddle* paddle : logic->GetPaddles())
        if (paddle && !paddle->IsDead()) {
            first = paddle;
            break;
        }
    if (first && m_UnknownPaddleNames.insert(name).second) {
        LevelPlace place(m_LevelName, 0, 0, "ballStarts");
        const std::string paddle = first->GetName().empty()
                                       ? std::string("the first paddle in play")
                                       : "the paddle \"" + ShortenedText(first->GetName()) + "\"";
        DataReport::Report(std::string(), "\"paddleName\": no paddle \"" + ShortenedText(name) +
                                              "\" is on the field; the ball is served on " +
                                              paddle);
    }
    return first;
}

void Level::SpawnBallAt(ArcadeGameLogic* logic, const LuaObject& ballStart)
{
    ServeAt(logic, ballStart);
}

bool Level::ServeAt(ArcadeGameLogic* logic, const LuaObject& ballStart)
{
    if (!ballStart.IsTable())
        return false;
    const LuaObject paddleName = ballStart["paddleName"];
    const LuaObject ballProps = ballStart["ballProps"];
    // The ball's properties come from the level: a wrong one is reported, not raised.
    LevelPlace place(m_LevelName, 0, 0, "ballProps");
    if (!paddleName.IsString()) {
        const LuaObject position = ballStart["position"];
        const LuaObject velocity = ballStart["velocity"];
        double x = PairValue(position, 1), y = PairValue(position, 2);
        const LuaObject variance = ballStart["variance"];
        // Held to what the field can play, as the level's reading reported them
        // (Level::CheckFreeStart); the ball itself is made inside the field.
        const auto held = [](const LuaObject& pair, int i, double most) {
            bool changed = false;
            return DataRange::Hold(PairValue(pair, i), -most, most, 0.0, changed);
        };
        if (variance.IsTable()) {
            const double vx = std::fabs(held(variance, 1, kWidestVariance));
            const double vy = std::fabs(held(variance, 2, kWidestVariance));
            x += 2 * RandomDouble(vx) - vx;
            y += 2 * RandomDouble(vy) - vy;
        }
        const double velocityX = held(velocity, 1, kFastestStart);
        const double velocityY = held(velocity, 2, kFastestStart);
        // The start gives the ball's top-left corner; the ball is placed by its centre.
        const double radius = BallRadii[2];
        std::unique_ptr<Ball> ball = MakeWithProperties<Ball>(
            [&] { return new Ball(x + radius, y + radius, velocityX, velocityY, true); }, ProbeBall,
            ballProps);
        logic->SpawnBallAnimation(ball.release());
        return true;
    }

    Paddle* paddle = ServingPaddle(logic, ballStart);
    if (!paddle)
        return false;
    // A ball made on a paddle is held there, out of play until the paddle lets it go.
    std::unique_ptr<Ball> ball =
        MakeWithProperties<Ball>([&] { return new Ball(paddle); }, ProbeBall, ballProps);
    Sound::PlaySound("ballAppear.ogg");
    if (ParticleManager* particles = ArcadeGameLogic::GetParticleManager()) {
        ParticleEmitter* emitter = new IdenticalParticleEmitter("BallSpawnEmitter", particles);
        emitter->SetPosition(ball->GetX() + ball->GetWidth() / 2 - emitter->GetWidth() / 2,
                             ball->GetY() + ball->GetHeight() / 2 - emitter->GetHeight() / 2);
        logic->AddEmitter(emitter);
        emitter->Start();
    }
    logic->AddBall(ball.release());
    return true;
}
