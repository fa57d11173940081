// Level: filling the play field (background, bricks, further actors, artefact, walls and
// shields, paddles) and serving the balls. Everything made goes to the controller, which
// owns it from then on.
#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/DataLists.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectDescription.h"
#include "core/StopSignal.h"
#include "core/TableOrder.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
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

#include <cmath>
#include <memory>

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
// open place and read as 0.
double CellValue(const LuaObject& pair, int i, const std::string& key)
{
    const double value = PairValue(pair, i);
    if (std::isfinite(value) && std::fabs(value) <= kFarthestCell)
        return value;
    DataReport::Report(std::string(), "\"" + key + "[" + std::to_string(i) + "]\": " +
                                          pair[i].ToString() +
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

double CentreY(const Actor* actor)
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
// neither the serve nor the level.
template <typename T, typename Make, typename Probe>
T* MakeWithProperties(const Make& make, const Probe& probe, const LuaObject& props)
{
    std::unique_ptr<T> made(make());
    if (!props.IsTable())
        return made.release();
    try {
        made->ApplyProperties(props);
        return made.release();
    } catch (const std::exception&) {
    }
    const std::string subject = DescribeObject(*made);
    LuaObject kept;
    kept.AssignNewTable(GetGlobalLuaState());
    for (const LuaObject& key : GetOrderedKeys(props)) {
        LuaObject single;
        single.AssignNewTable(GetGlobalLuaState());
        single.SetObject(key, props[key]);
        try {
            std::unique_ptr<T> tried(probe());
            tried->ApplyProperties(single);
            kept.SetObject(key, props[key]);
        } catch (const std::exception& e) {
            DataReport::Report(subject, "\"" + DataKeyText(key) + "\": " + e.what() +
                                            "; the key is left out");
        }
    }
    made.reset();
    made.reset(make());
    try {
        made->ApplyProperties(kept);
    } catch (const std::exception& e) {
        DataReport::Report(subject, std::string("the properties could not be applied together (") +
                                        e.what() + "); none is applied");
        made.reset();
        made.reset(make());
    }
    return made.release();
}

// A ball that stands nowhere and is never served, to try a key on.
Ball* ProbeBall()
{
    return new Ball(0.0, 0.0, 0.0, 0.0, false);
}

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
    Log("Level \"%s\": key \"music\": %s; the level plays without music\n", m_LevelName.c_str(),
        why.c_str());
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
        Log("Level \"%s\": key \"backgroundName\": %s; the plain background is used\n",
            m_LevelName.c_str(), why.c_str());
        container->SetBackgroundImage(plain);
        return;
    }
    container->SetBackgroundImage(name.GetString());
}

void Level::CreateBricks(std::vector<Brick*>& bricks)
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
        offsetCell[0] = CellValue(offset, 1, "offsetPosition");
        offsetCell[1] = CellValue(offset, 2, "offsetPosition");
    }
    const LuaObject width = GetGlobalValue("BrickWidth");
    const LuaObject height = GetGlobalValue("BrickHeight");
    const int cellWidth = width.IsNumber() ? width.GetInteger() : 32;
    const int cellHeight = height.IsNumber() ? height.GetInteger() : 16;

    for (const LuaObject& key : GetOrderedKeys(list)) {
        // Asked to stop, the game makes no more: it is on its way out.
        if (StopSignal::IsRequested())
            break;
        const LuaObject entry = list[key];
        const std::string entryName = m_LevelName + ".compiledBricks[" + DataKeyText(key) + "]";
        if (!entry.IsTable()) {
            LevelPlace place(m_LevelName, 0, 0, "compiledBricks[" + DataKeyText(key) + "]");
            DataReport::Report(std::string(), DescribeScriptValue(entry) +
                                                  " is not a brick entry; it is left out");
            continue;
        }
        // A brick entry names no class or one of the brick family: an entry of another
        // kind (an actor, a motion) is named and left out before anything is made.
        if (const Class* named = FindClassToMake(entry); named && !named->DerivesFrom("Brick")) {
            LevelPlace place(m_LevelName, 0, 0, "compiledBricks[" + DataKeyText(key) + "]");
            DataReport::Report(std::string(), "a table of class \"" + named->GetName() +
                                                  "\" is not a brick entry; it is left out");
            continue;
        }
        const LuaObject position = entry["position"];
        double cell[2];
        {
            LevelPlace place(m_LevelName, 0, 0, "compiledBricks[" + DataKeyText(key) + "]");
            cell[0] = CellValue(position, 1, "position");
            cell[1] = CellValue(position, 2, "position");
        }
        // A wrong value is reported with the brick's row and column; the brick is built.
        LevelPlace place(m_LevelName, int(cell[1]), int(cell[0]));
        Brick* brick = Brick::CreateFromEntry(entry, entryName);
        const double column = cell[0] + offsetCell[0];
        const double row = cell[1] + offsetCell[1];
        brick->SetPosition(int((column - 1) * cellWidth), int((row - 1) * cellHeight));
        bricks.push_back(brick);
    }
}

void Level::SpawnBricks(LevelContainer* container)
{
    std::vector<Brick*> bricks;
    CreateBricks(bricks);
    m_LootAmount = 0;
    for (Brick* brick : bricks) {
        brick->SetPosition(brick->GetX() + kFieldX, brick->GetY() + kFieldY);
        container->AddBrick(brick);
        brick->CountLoot();
        m_LootAmount += brick->GetLootCount();
    }
    m_LootAmount += int(m_LastBrickBonus.size());
    LogAtLevel(4, "Level::SpawnBricks: m_LootAmount = %d\n", m_LootAmount);
}

void Level::SpawnActorList(LevelContainer* container, const char* key, int dx, int dy,
                           const char* logName)
{
    for (Object* object : MakeObjects(key)) {
        Actor* actor = dynamic_cast<Actor*>(object);
        if (!actor) {
            delete object;
            continue;
        }
        actor->SetPosition(actor->GetX() + dx, actor->GetY() + dy);
        container->AddActor(actor);
        if (Brick* brick = dynamic_cast<Brick*>(actor)) {
            brick->CountLoot();
            m_LootAmount += brick->GetLootCount();
        }
    }
    LogAtLevel(4, "Level::%s: m_LootAmount = %d\n", logName, m_LootAmount);
}

std::vector<Object*> Level::MakeObjects(const char* key, const char* onlyClass) const
{
    std::vector<Object*> objects;
    const LuaObject list = ReadKey(key, LUA_TTABLE);
    for (const LuaObject& entryKey : GetOrderedKeys(list)) {
        if (StopSignal::IsRequested())
            break;
        const LuaObject params = list.RawGet(entryKey);
        const std::string where = std::string(key) + "[" + DataKeyText(entryKey) + "]";
        if (onlyClass) {
            // Counting reports nothing: the field's build reports each entry once.
            const Class* c = FindClassToMake(params);
            if (!c || !c->DerivesFrom(onlyClass) || !c->CanInstantiate())
                continue;
        }
        try {
            // A class name the game does not have raises here, logged below; the level
            // check names it with the nearest name.
            const LuaObject name = params.IsTable() ? params["class"] : LuaObject();
            if (name.IsString() && !ClassManager::GetInstance()->GetClass(name.GetString(), true))
                MAKO_THROW(ClassNotFoundException, "The table names the class \"" +
                                                       ShortenedText(name.GetString()) +
                                                       "\", which the game does not have.");
            LevelPlace place(m_LevelName, 0, 0, where);
            // Only an actor stands on the field: an element of another kind is named and
            // left out before anything is made of it.
            std::unique_ptr<Object> object(
                MakeDataObjectOfKind(params, "Actor", std::string(), std::string()));
            if (!object)
                continue;
            // A structure stands on the field by its shape; one without cannot be placed.
            const auto* structure = dynamic_cast<const ArcadeStructure*>(object.get());
            if (structure && structure->GetShape() == STRUCTURE_SHAPE_NONE) {
                DataReport::Report(std::string(), "it has no shape (rectangle, circle or "
                                                  "polygon); it is left out");
                continue;
            }
            objects.push_back(object.release());
        } catch (const Exception& e) {
            Log("Level \"%s\": %s cannot be made and is left out: %s\n", m_LevelName.c_str(),
                where.c_str(), e.GetMessage().c_str());
        }
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
    if (!name.IsNil() && !name.IsString())
        Log("Level \"%s\": key \"artefact\": its name is a %s, not a picture's name; the level "
            "plays without its artefact\n",
            m_LevelName.c_str(), name.TypeName());
    if (!name.IsString() || std::string(name.GetString()) == "none") {
        container->SetArtefact(nullptr);
        return;
    }
    const std::string why = WhyNotOfKind(name.GetString(), RESOURCE_IMAGE, "the picture ");
    if (!why.empty()) {
        Log("Level \"%s\": key \"artefact\": %s; the level plays without its artefact\n",
            m_LevelName.c_str(), why.c_str());
        container->SetArtefact(nullptr);
        return;
    }
    LuaObject params = CopyWithout(artefact, {"name", "class"});
    std::unique_ptr<Artefact> made(new Artefact(name.GetString()));
    made->ApplyProperties(params);
    Artefact* actor = made.release();
    actor->ApplyStringProperty("name", name.GetString());
    // Behind everything else on the play field, so the bricks over it hide it.
    actor->SetZOrder(-1);
    container->SetArtefact(actor);
    m_ArtefactName = name.GetString();
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
        Wall* wall = new Wall(kWalls[i]);
        const LuaObject settings = custom.IsTable() ? custom[kWalls[i]] : LuaObject();
        if (!settings.IsNil() && !settings.IsTable())
            Log("Level \"%s\": customWalls.%s is not a table; the wall keeps its defaults\n",
                m_LevelName.c_str(), kWalls[i]);
        const bool table = settings.IsTable();
        dangerous[i] = Flag(table ? settings["dangerous"] : LuaObject(), bottom);
        wall->SetDangerous(dangerous[i]);
        wall->SetAttractPowerups(Flag(table ? settings["attractPowerups"] : LuaObject(), bottom));
        if (table && settings["variant"].IsString())
            wall->ApplyStringProperty("variant", settings["variant"].GetString());
        wall->SetZOrder(7);
        container->AddWall(wall);
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
        Paddle* paddle = MakeWithProperties<Paddle>(
            [&] {
                auto made = std::make_unique<Paddle>(vertical, facePositive);
                made->SetPosition(ClampToInt(x), ClampToInt(y));
                if (named)
                    made->ApplyStringProperty("name", ballStart["paddleName"].GetString());
                return made.release();
            },
            [&] { return new Paddle(vertical, facePositive); }, props);
        paddle->FadeIn(750);
        Sound::PlaySound("paddleAppear.ogg");
        logic->AddPaddle(paddle);
    }
}

void Level::SpawnBall(ArcadeGameLogic* logic, int numBalls, bool force)
{
    const int starts = int(m_BallSpawns.size());
    if (numBalls < 0)
        numBalls = starts;
    MAKO_ASSERT(numBalls <= starts);
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
                    const double dx = CentreX(actor) - x, dy = CentreY(actor) - y;
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

bool Level::GetStartPoint(ArcadeGameLogic* logic, const LuaObject& ballStart, double& x,
                          double& y) const
{
    const LuaObject paddleName = ballStart["paddleName"];
    if (paddleName.IsString()) {
        const Actor* actor = logic->FindActor(paddleName.GetString());
        if (!actor)
            return false;
        x = CentreX(actor);
        y = CentreY(actor);
        return true;
    }
    x = PairValue(ballStart["position"], 1);
    y = PairValue(ballStart["position"], 2);
    return true;
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
        if (variance.IsTable()) {
            const double vx = PairValue(variance, 1), vy = PairValue(variance, 2);
            x += 2 * RandomDouble(vx) - vx;
            y += 2 * RandomDouble(vy) - vy;
        }
        // The start gives the ball's top-left corner; the ball is placed by its centre.
        const double radius = BallRadii[2];
        Ball* ball = MakeWithProperties<Ball>(
            [&] {
                return new Ball(x + radius, y + radius, PairValue(velocity, 1),
                                PairValue(velocity, 2), true);
            },
            ProbeBall, ballProps);
        logic->SpawnBallAnimation(ball);
        return true;
    }

    Paddle* paddle = dynamic_cast<Paddle*>(logic->FindActor(paddleName.GetString()));
    if (!paddle) {
        Log("Level \"%s\": no paddle \"%s\" to serve a ball on\n", m_LevelName.c_str(),
            paddleName.GetString());
        return false;
    }
    // A ball made on a paddle is held there, out of play until the paddle lets it go.
    Ball* ball = MakeWithProperties<Ball>([&] { return new Ball(paddle); }, ProbeBall, ballProps);
    Sound::PlaySound("ballAppear.ogg");
    if (ParticleManager* particles = ArcadeGameLogic::GetParticleManager()) {
        ParticleEmitter* emitter = new IdenticalParticleEmitter("BallSpawnEmitter", particles);
        emitter->SetPosition(ball->GetX() + ball->GetWidth() / 2 - emitter->GetWidth() / 2,
                             ball->GetY() + ball->GetHeight() / 2 - emitter->GetHeight() / 2);
        logic->AddEmitter(emitter);
        emitter->Start();
    }
    logic->AddBall(ball);
    return true;
}
