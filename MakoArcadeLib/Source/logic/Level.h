#pragma once
// The run-time form of one level table (an entry of the Lua global Levels). The game
// controller gets one from the LevelManager when a level loads and keeps it for the whole
// level: the level fills the field through the controller (LevelContainer and its add
// operations), serves the balls, moves the field every tick and judges goals and bonus
// targets. It never owns what it creates.
//
// The constructor reads every plain value once (starts, goals, ball speeds, wind,
// gravity, time attack, texts, bonus targets) and sets the ball class's speed limits for
// the level; the content keys (bricks, actors, walls, artefact, power-ups) are read from
// the kept table each time they are used. Missing keys take their defaults (the globals of
// Level.lua); a key of the wrong type is treated as missing and logged with the level's
// name and the key.
//
// Main thread only.
#include "field/FieldBounds.h"
#include "luaplus/LuaPlus.h"
#include "scene/Actor.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class ArcadeGameLogic;
class Brick;
class LevelContainer;
class Object;
class Paddle;

class Level : public Actor
{
public:
    // The wind's push per unit of its force (whose strength, 0 to 100, is also the
    // loudness of its sound), as an acceleration in pixels per second², the same for
    // objects of any size: balls, which cross the field fast, feel twice what the slow
    // goobers and power-ups feel. A wind of 30 turns a power-up's fall by about 20
    // degrees.
    static constexpr double kWindOnBalls = 2.0;
    static constexpr double kWindOnFloaters = 1.0;

    // What the field can play: a level's forces are held to these when it is read (each
    // value outside reported, naming the level and the key), and what they push with each
    // pass is held again in the work, so no wandering of the wind and no nearness to a
    // point of gravity makes a ball cross the field in a pass. The shipped levels use a
    // wind of at most 65 (variance 16, normalization 3) and pulls of at most 60 px/s² (3000
    // falling off with the distance).
    static constexpr double kMostWind = 100.0;         // |strength|: the sound's loudness is 0..100
    static constexpr double kMostWindChange = 50.0;    // variance and normalization, per pass
    static constexpr double kMostWindForce = 150.0;    // |force| after each pass's wandering
    static constexpr double kMostGravity = 100000.0;   // |strength| before any fall-off
    static constexpr double kMostGravityFalloff = 3.0; // decreaseWith as a number: 0..3
    static constexpr double kMostPull = 400.0;         // px/s² any object feels of the field
    static constexpr double kFarthestPoint = 100000.0; // |x|, |y| of a centre or direction
    static constexpr double kMostFieldRate = 64.0;     // px a pass a field slides or falls
    // A free ball start's velocity, per axis (px/s), and its variance (px): the fastest a
    // level may ask of a ball, and the field's width.
    static constexpr double kFastestStart = 2400.0;
    static constexpr double kWidestVariance = 640.0;
    // The most of any count of the field's objects a goal names, and of a score target
    // either way: sums of them and the skill's adjustments stay far inside an int.
    static constexpr int kMostCount = 10000;
    static constexpr int kMostScoreTarget = 1000000000;

    Level(const std::string& name, const LuaPlus::LuaObject& table);
    // Stops the wind sound and the brick-drop sounds.
    ~Level() override;

    LuaPlus::LuaObject GetTable() const { return m_Table; }
    const std::string& GetLevelName() const MAKO_LIFETIMEBOUND { return m_LevelName; }
    const std::string& GetFullName() const MAKO_LIFETIMEBOUND { return m_FullName; }
    const std::string& GetNoteText() const MAKO_LIFETIMEBOUND { return m_NoteText; }
    const std::string& GetFromText() const MAKO_LIFETIMEBOUND { return m_FromText; }
    const std::string& GetArtefactName() const MAKO_LIFETIMEBOUND { return m_ArtefactName; }
    const std::string& GetMusicName() const MAKO_LIFETIMEBOUND { return m_Music; }
    // The field's inner rectangle, taken when the walls are built (CreateWalls).
    bool HasFieldBounds() const { return m_HasFieldBounds; }
    const FieldBounds& GetFieldBounds() const MAKO_LIFETIMEBOUND { return m_FieldBounds; }
    int GetLootAmount() const { return m_LootAmount; }
    // The ball starts and the paddle starts, in the order the level uses them.
    const std::vector<LuaPlus::LuaObject>& GetBallStarts() const MAKO_LIFETIMEBOUND
    {
        return m_BallSpawns;
    }
    const std::vector<LuaPlus::LuaObject>& GetPaddleStarts() const MAKO_LIFETIMEBOUND
    {
        return m_PaddleStarts;
    }

    // Once per tick of play and of the ball-lost state: wind, gravity, the slide-down of
    // the field and the time attack, each only when the level has it.
    void Update(ArcadeGameLogic* logic);

    // ---- Filling the field (in the order the controller calls them) ------------------------
    // The most bricks and objects (entries of compiledBricks, levelActors and extraActors
    // together) a level may hold: up to here a pass of play stays within its 32 ms.
    static constexpr int MAX_FIELD_OBJECTS = 1000;
    // The entries of those three lists in a level table.
    static int CountFieldObjects(const LuaPlus::LuaObject& table);
    // Raises, naming the level and its count, when it holds more than MAX_FIELD_OBJECTS;
    // nothing has been made then.
    void CheckFieldSize() const;
    // Music the resources do not have is dropped with one log line naming the level and
    // the key: the level plays without music.
    void DropMissingMusic();
    // The level's background; one the resources do not have is logged and the plain
    // background is used.
    void AddBackground(LevelContainer* container);
    // The compiled bricks, placed on the grid (cell (1, 1) is the field's origin) and
    // shifted by the field's offset (16, 36); their loot is counted.
    void SpawnBricks(LevelContainer* container);
    // Makes the bricks of compiledBricks (not yet placed on the screen) into `bricks`, and
    // when asked each one's (row, column) of the brick text into `cells`. What was made
    // stays owned by the list when the build ends early (a stop, the meter's end).
    void CreateBricks(std::vector<std::unique_ptr<Brick>>& bricks,
                      std::vector<std::pair<int, int>>* cells = nullptr);
    // The cell (column, row) a brick entry's "position" names, as the build reads it: a
    // coordinate that is not a finite number within reach of the field is reported at the
    // open place and read as 0; true when both were read as written. The one reader of a
    // brick's cell (the level check reads it here too).
    static bool ReadBrickCell(const LuaPlus::LuaObject& entry, double& column, double& row);
    // The entry as the build makes its brick when ReadBrickCell mended its cell: a copy
    // standing at that cell.
    static LuaPlus::LuaObject EntryAtCell(const LuaPlus::LuaObject& entry, double column,
                                          double row);
    // The same for a pair of cells under the key named (the level's "offsetPosition").
    static bool ReadCell(const LuaPlus::LuaObject& pair, const std::string& key, double& column,
                         double& row);
    void SpawnExtraActors(LevelContainer* container);
    void SpawnLevelActors(LevelContainer* container);
    void SetupArtefact(LevelContainer* container);
    // The four walls and a shield for every dangerous one.
    void CreateWalls(LevelContainer* container);
    // Fresh paddles at the paddle starts; a start whose paddle would stand outside the
    // field (no ball could reach it) is reported and its paddle starts inside.
    void SpawnPaddles(ArcadeGameLogic* logic);
    // Serves numBalls balls (-1: one per ball start); force serves without charging or
    // limiting by the reserve. Only balls actually served are charged; the level's first
    // serve is free.
    void SpawnBall(ArcadeGameLogic* logic, int numBalls, bool force);
    void SpawnBallAt(ArcadeGameLogic* logic, const LuaPlus::LuaObject& ballStart);

    // ---- Goals -----------------------------------------------------------------------------
    bool IsVictory(ArcadeGameLogic* logic) const;
    // On true it has written the controller's m_LostReason.
    bool IsDefeat(ArcadeGameLogic* logic) const;
    // Whether fewer balls than the level's minimum are in play; unless forced it starts the
    // controller's live-ball timer when that is not already running.
    bool NeedsLiveBall(ArcadeGameLogic* logic, bool force) const;
    void CheckLastBrickBonus(ArcadeGameLogic* logic, double x, double y);
    // The power-ups given on a serve (per ball, per level, per spawn).
    void CheckPowerups(ArcadeGameLogic* logic);
    void AwardArcadeBonus(ArcadeGameLogic* logic);
    // The progressive slide-down, when the lower rows are clear (moving field).
    void CheckProgressive(ArcadeGameLogic* logic);
    // The time attack's field climbs back after a ball was lost (moving field).
    void StartTimeAttackRewind();

    // ---- Moving field, one tick each (LevelMotion.cpp; Update calls them) ----------------
    // A wandering push on balls, goobers and power-ups (accelerations that act over the
    // frame), and the wind sound that follows it.
    void TickWind(ArcadeGameLogic* logic);
    // The level's pull on balls and power-ups, toward a point or along a direction: an
    // acceleration in pixels per second² (a ball's is scaled by its density squared).
    void TickGravity(ArcadeGameLogic* logic);
    // One tick of a running slide-down step of the brick field.
    void TickSlideDown(ArcadeGameLogic* logic);
    // One tick of the time attack's fall (or of its rewind).
    void TickTimeAttack(ArcadeGameLogic* logic);

    // Read-outs of the moving field's state, for tests and the debugger.
    double GetPendingSlide() const { return m_PendingSlide; }
    double GetTimeAttackRate() const { return m_TimeAttackRate; }
    int GetTimeAttackRewind() const { return m_TimeAttackRewind; }
    bool IsTimeAttackEnded() const { return m_TimeAttackEnded; }
    double GetWindForceX() const { return m_WindForceX; }
    double GetWindForceY() const { return m_WindForceY; }
    std::uint32_t GetWindChannel() const { return m_WindChannel; }
    double GetWindSoundLevel() const { return m_WindLevel; }

    // ---- Bonus targets (each with the skill's adjustment in force now) ---------------------
    std::int64_t GetTimeBonusAt();
    int GetScoreBonusAt();
    int GetBallUsedTarget();
    int GetLootCaughtTarget();
    void ComputeScoreTarget();

    // The goal values; the level-end check sets some to -1 once the level is won.
    int victoryGoobers = 0, victoryBricks = 0, victoryPowerups = 0, victoryPaddles = 0,
        victoryBalls = 0, defeatPaddles = 0, defeatBalls = 0, minLiveBalls = 0,
        liveBallDelay = 6000;
    bool expensiveSpawns = false;

private:
    // The level's value under key when it has the Lua type wanted (LUA_TNUMBER ...); nil
    // when absent. A value of another type is reported (DataReport), naming the level, the
    // key, the type wanted and the value seen, and counts as absent. Every key read must be
    // one of LevelKeys with that type.
    LuaPlus::LuaObject ReadKey(const char* key, int luaType) const;
    // The key as an integer (truncated) / number, else def. The number as written is held
    // to low..high (DataRange: reported, naming the level and the key) before it becomes
    // an int, so no value of a level overflows what reads it.
    int ReadInt(const char* key, int def, int low = INT_MIN, int high = INT_MAX) const;
    // A whole number of the game's defaults held to -most..most (a value outside reported).
    static int GlobalInt(const char* name, int def, int most);
    // The skill's adjustment in force now (the global `name`, held to -most..most), kept in
    // `kept`; what was kept when the global is no number.
    static int AdjustmentInForce(const char* name, int& kept, int most);
    double ReadNumber(const char* key, double def, double low, double high) const;

public:
    // A number of a table of the level held to low..high, else def when the key is absent
    // (DataRange::Read: a value out of range or not a number is reported as
    // "<where>.<key>", and the nearest end, or def for a NaN, is used).
    static double ReadHeld(const LuaPlus::LuaObject& table, const std::string& where,
                           const char* key, double def, double low, double high);

private:
    // The objects of a list of object tables (extraActors / levelActors), in key order, only
    // of the class onlyClass and its subclasses when one is given; an entry that cannot be
    // made is logged, naming the level and the entry, and left out. The list owns them.
    std::vector<std::unique_ptr<Object>> MakeObjects(const char* key,
                                                     const char* onlyClass = nullptr) const;
    // The paddle a start that names one serves on: the named paddle, else (reported once
    // per name) the first paddle in play; null only when no paddle is in play at all.
    Paddle* ServingPaddle(ArcadeGameLogic* logic, const LuaPlus::LuaObject& ballStart);
    // Serves one ball at the start; true when a ball was made.
    bool ServeAt(ArcadeGameLogic* logic, const LuaPlus::LuaObject& ballStart);
    // The point a start serves from (its position, or the centre of its paddle); false
    // when its paddle is not on the field.
    bool GetStartPoint(ArcadeGameLogic* logic, const LuaPlus::LuaObject& ballStart, double& x,
                       double& y);
    // The power-up kinds a list of power-up entries names (each entry's powerupClass), in
    // key order. An entry that is not a table, or whose powerupClass is not a power-up
    // kind, is reported with its key path (where: the list's) and left out: nothing is
    // made of it.
    std::vector<std::string> ReadPowerupList(const LuaPlus::LuaObject& list,
                                             const std::string& where) const;
    // The serve lists, the last-brick bonus and the arcade bonus (the game's own lists for
    // a level without one), read once as the level is built.
    void ReadPowerupLists();
    // Makes a power-up of each kind and has the controller collect it at once.
    void CollectPowerups(ArcadeGameLogic* logic, const std::vector<std::string>& kinds);
    void ReadStarts();
    void ReadGoals();
    void ReadBallSpeeds();
    void ReadTexts();
    void ReadBonusTargets();
    // Reads the wind, gravity, slide-down and time-attack set-up (LevelMotion.cpp); starts
    // the wind sound for a wind that blows.
    void SetUpMotion();
    void SetUpWind(const LuaPlus::LuaObject& wind);
    void SetUpGravity(const LuaPlus::LuaObject& gravity);
    void SetUpSlide(const LuaPlus::LuaObject& progressive);
    // Reports what of a free ball start lies outside what the field can play (velocity,
    // variance); ServeAt holds the values to it when it serves.
    void CheckFreeStart(const LuaPlus::LuaObject& start, const std::string& where) const;
    void SetUpTimeAttack(const LuaPlus::LuaObject& timeAttack);
    void StopWindSound();
    // Moves a brick down by dy: at once above the top of the world, else gradually.
    static void MoveBrick(Brick* brick, double dy);
    // The time attack's move this tick in whole pixels (negative while it rewinds), the
    // fraction carried to the next tick.
    int TimeAttackPixels();
    // Bricks below the threshold: destroyed when the level says so; the balls and paddles
    // go when the level is lost by it.
    void EndTimeAttackPastThreshold(ArcadeGameLogic* logic);
    // Spawns the objects of a list of object tables (extraActors / levelActors).
    void SpawnActorList(LevelContainer* container, const char* key, int dx, int dy,
                        const char* logName);

    std::string m_LevelName;
    LuaPlus::LuaObject m_Table;
    std::string m_FullName, m_NoteText, m_FromText, m_Music;
    std::string m_ArtefactName = "EMPTY";
    FieldBounds m_FieldBounds;
    bool m_HasFieldBounds = false;

    // The room a paddle moved into the field keeps from its edges: a ball held on it stays
    // inside.
    static constexpr double kServeRoom = 48.0;
    // Moves a paddle whose middle (its corner at x, y as the start gives it) stands outside
    // the field to the nearest place inside it, reported with the start's position.
    void KeepInField(Paddle& paddle, const LuaPlus::LuaObject& position, double x, double y) const;
    std::vector<LuaPlus::LuaObject> m_BallSpawns;
    std::vector<LuaPlus::LuaObject> m_PaddleStarts;
    // The power-up kinds of the serve lists and the bonuses (ReadPowerupLists).
    std::vector<std::string> m_PerBallPowerups, m_PerLevelPowerups, m_PerSpawnPowerups;
    std::vector<std::string> m_LastBrickBonus, m_ArcadeBonus;
    // Paddle names of ball starts that named no paddle in play, each reported once.
    std::set<std::string> m_UnknownPaddleNames;
    bool m_FirstServeDone = false;
    bool m_SpawnPowerupsGiven = false;
    bool m_LastBrickBonusGiven = false;
    int m_LootAmount = 0;
    int m_LootValue = 0, m_BrickScore = 0;
    float m_TimeBonusAt = 3.0f;
    int m_ScoreBonusAt = 0;
    int m_ScoreBonusAtFineTune = 0, m_PlusBonus = 4000, m_BallUsedTarget = 1,
        m_LootCaughtTarget = 100;
    float m_TimeBonusAtAdjustment = 0.0f;
    int m_ScoreBonusAtAdjustment = 0, m_BallUsedTargetAdjustment = 0,
        m_LootCaughtTargetAdjustment = 0;

    // Moving field (wind, gravity, slide-down, time attack): the set-up reads them; the
    // per-tick work lives with the moving field.
    double m_WindStrength = 0.0, m_GravityStrength = 0.0;
    double m_PendingSlide = 0.0;
    LuaPlus::LuaObject m_Progressive; // the "progressive" table, nil when there is none
    bool m_Slides = false;            // the level has a progressive slide-down
    // The slide-down's lines, step, rate (px a pass) and end, read once with the level.
    double m_SlideThreshold = 47.0, m_SlideStop = 48.0, m_SlideStep = 0.0, m_SlideRate = 0.0,
           m_SlideEndHeight = 480.0;
    bool m_SlideAllBricks = false;
    double m_TimeAttackRate = 0.0, m_TimeAttackAccel = 0.0;
    double m_SlideCarry = 0.0;
    // Time attack: maxFallRate < 0 means no cap.
    double m_TimeAttackCarry = 0.0, m_TimeAttackThreshold = 47.0, m_TimeAttackStop = 48.0,
           m_TimeAttackMaxRate = -1.0;
    bool m_TimeAttackEnded = false, m_TimeAttackEndDestroy = false, m_TimeAttackEndLose = false;
    int m_TimeAttackRewind = 0;
    // Wind: direction is a unit vector; the channel is 0 while no wind sound plays.
    double m_WindDirX = 1.0, m_WindDirY = 0.0, m_WindForceX = 0.0, m_WindForceY = 0.0;
    double m_WindVariance = 0.0, m_WindNormalization = 0.0;
    std::uint32_t m_WindChannel = 0;
    double m_WindBaseFrequency = 0.0, m_WindLevel = 0.0;
    // Gravity: a point pull (center) or a directional one (direction, not normalised).
    double m_GravityX = 0.0, m_GravityY = 0.0, m_GravityExponent = 0.0;
    bool m_GravityDirectional = false;
};
