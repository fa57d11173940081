#pragma once
// The game controller: runs one game on the game screen, from loading a level through
// serve and play to completion or the loss of every ball. The game screen makes one from
// the Lua table GameOptions each time it becomes current (or the game restarts), starts
// it and deletes it when it is left. While it lives it is the running controller, gLogic,
// through which play-field objects hand over what they make and report what happened.
//
// It owns the level being played, every play-field actor (each in the group of its kind;
// the actors themselves are children of the play layer), the physics world, the particle
// managers, the heads-up labels and every timer it or its states start: all of them end
// with the controller. The game runs as a machine of nineteen named states
// (logic/states/); states change only by name through SetState, and an enter may change
// the state again at once.
//
// Main thread only.
#include "logic/ArcadeKeyboardTranslator.h"
#include "logic/EarlyPress.h"
#include "logic/LevelContainer.h"
#include "logic/StallRule.h"
#include "luaplus/LuaPlus.h"
#include "scene/ActorGroup.h"
#include "scene/ActorLink.h"
#include "screens/Logic.h"

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class Actor;
class Ball;
class Brick;
class ComboMeter;
class Explosion;
class FlyingText;
class HitMeter;
class Label;
class LaserBeam;
class Marquee;
class Level;
class Paddle;
class ParticleEmitter;
class ParticleManager;
class Player;
class Powerup;
class PowerMeter;
class Screen;
class Shield;
class Spark;
class Wall;
class World;

class ArcadeGameLogic : public Logic, public LevelContainer
{
    MAKO_DECLARE_CLASS();

public:
    // The controller of one game on `screen`. Play-field objects become children of
    // `playLayer` (the game screen's root of the field); `options` is the GameOptions
    // table, applied to the controller as properties when the game starts. Builds the
    // nineteen states, the world and the heads-up display, then becomes gLogic: a
    // construction that throws leaves gLogic as it was. No state is current until StartGame.
    ArcadeGameLogic(Screen* screen, Actor* playLayer, const LuaPlus::LuaObject& options);
    // Kills every timer the controller or its states started, deletes the level, the
    // groups' members go with the play layer (the screen kills it); clears gLogic.
    ~ArcadeGameLogic() override;

    // Enters the state "Start", which loads the level the options name.
    void StartGame();
    // Nothing while the game is paused; otherwise the current state's tick, the particle
    // managers, and the score label when the score changed.
    void Tick() override;
    // Timer signals of timers the controller owns are noted (a finished timer is
    // forgotten), then the event goes to the current state and the object's handlers.
    bool OnEvent(const Event& event) override;

    // "player", "gameType", "ballsLeft", "episodeNumber", "levelNumber", "levelName".
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    static void RegisterProperties(Class& c);

    // The running controller's front particle manager, on which play-field objects build
    // their emitters; null while no controller runs.
    static ParticleManager* GetParticleManager();

    // Whether the controller is in the named state; false while it has no state yet.
    bool IsInState(const std::string& name) const
    {
        return GetCurrentState() && GetStateName() == name;
    }

    // ---- Timers ----------------------------------------------------------------------------
    // A frame-rate timer whose MAKO_TIMER comes to the controller (and so to its current
    // state): interval in ms, count signals or -1 for endless. The controller owns it: it
    // dies with the controller unless killed or finished before.
    std::uint32_t StartTimer(std::uint32_t intervalMs, std::int32_t count);
    // Kills a timer the controller owns and sets the id to 0; 0 is ignored.
    void KillTimer(std::uint32_t& timerId);
    // Forgets a timer that has given its last signal (the id is set to 0).
    void ForgetTimer(std::uint32_t& timerId);

    // ---- Level end, serve and lock ---------------------------------------------------------
    // Something that may end the level happened at (x, y) (a brick's centre, or (0, 0)).
    // Does nothing unless the state is "Playing"; otherwise uncovers the artefact, asks
    // the level's goals and switches to "LevelCompleted" or "AllBallsLost" when play ends.
    virtual void CheckForLevelEnd(double x, double y);
    // A brick swallowed the ball: it leaves the field until released; bricks whose group
    // holds enough balls start releasing them; a timer serves replacements afterwards.
    virtual void LockBall(Ball* ball, Brick* brick);
    // A brick lets a held ball go: it joins the field again.
    virtual void UnlockBall(Ball* ball);
    // Before each serve: falling hazards go, the paddles are made anew, and the spawn
    // delay (850 ms) and the second (1850 ms) timer start; their ids go to the two fields.
    void PrepareServe(std::uint32_t& spawnDelayTimer, std::uint32_t& secondTimer);

    // ---- Taking over what the field makes (LevelContainer and the field's services) --------
    void AddBrick(Brick* brick) override;
    void AddActor(Actor* actor) override;
    void AddShield(Shield* shield) override;
    void AddWall(Wall* wall) override;
    void SetBackgroundImage(const std::string& imageName) override;
    void SetArtefact(Actor* artefact) override;
    // Files the actor under its integer "groupID" (0 to MAX_GROUP_ID), growing the id
    // groups as needed; nothing for a missing or non-integer id; an id out of that range is
    // reported and the actor joins no group.
    virtual void ApplyGroupID(Actor* actor);
    virtual void AddBall(Ball* ball);
    // The ball (owned) appears after its spawn circle ("BallSpawnAnimation1") has run; the
    // circle holds it until then and deletes it when it goes first.
    virtual void SpawnBallAnimation(Ball* ball);
    // Makes the controller a receiver of the actor's events (a spawn circle's, a caption's
    // end). An actor that outlives the controller on the play layer stops reporting to it
    // when the controller goes, also the events it has already queued.
    void HearFrom(Actor* actor);
    virtual void AddPaddle(Paddle* paddle);
    virtual void AddPowerup(Powerup* powerup);
    virtual void AddGoober(Actor* goober);
    virtual void AddDropTarget(Actor* target);
    virtual void AddFlyingText(FlyingText* text);
    virtual void AddExplosion(Explosion* explosion);
    virtual void AddSpark(Spark* spark);
    virtual void AddLaserBeam(LaserBeam* beam);
    // A started (or about to be started) emitter; it stays until it has finished.
    virtual void AddEmitter(ParticleEmitter* emitter);
    // The actor of that name below the play layer (whole tree); null when there is none.
    virtual Actor* FindActor(const std::string& name) const;

    // ---- Play (ArcadeGameLogicPlay.cpp) -----------------------------------------------------
    // Adds to the level's score; the score label follows at the next tick.
    virtual void AddScore(int points);
    // Applies a power-up that the paddle (or, with null, the level) collected: "pop2.ogg",
    // the loot count, then the effect of its kind (PowerupEffect) on balls, paddles,
    // shields, score, counters or meters, with its sound, value text and (caught by a
    // paddle) message. A dead power-up is ignored.
    virtual void CollectPowerup(Powerup* powerup, Paddle* paddle);
    // Every active ball splits in three (the new balls leave 30 degrees to either side);
    // every ball flashes.
    void SplitBalls();
    // A ball struck the paddle: below the top paddle power, one hit more on the hit meter;
    // every m_HitCounterLimit-th counted hit raises the paddle power.
    virtual void CountPaddleHit();
    // One paddle power level up (to kMaxPaddlePower) for every paddle that gains power,
    // announced on the marquee with "COMBO.ogg", a busier music part and a faster tempo;
    // the top level fills and holds the hit meter. fromHits: a run of hits earned it.
    void PaddlePowerUp(bool fromHits);
    // One level down (not below 0), with its message, sound, tempo and music part.
    void PaddlePowerDown();
    // The music tempo from the paddle power and the ball speed level (2 % a step each).
    void AdjustTempo();
    static float TempoFor(int power, int speed);
    // A ball struck a brick or a wall: the frames-since-last-hit count starts again.
    virtual void ResetHitCounter();
    // Shows the tutorial prompt text "prompt.<id>.<kind>" on the marquee unless the player
    // has completed it; kind "check" marks it completed in the player's options. False
    // only when it was completed before.
    virtual bool ShowPrompt(const std::string& id, const std::string& kind);
    // A message on the marquee for that many milliseconds (below 1: until replaced).
    virtual void ShowMessage(const std::string& text, int milliseconds);
    // The combo meter's reaction to the paddle catching something of that class at (x, y).
    virtual void OnPaddleCombo(const std::string& className, double x, double y);
    // The combo meter's reaction to a brick struck by an active ball (count 0) or
    // destroyed (count 1) at (x, y).
    virtual void OnBrickCombo(Brick* brick, int count, double x, double y);

    // ---- Heads-up display ------------------------------------------------------------------
    // "Loot: 12,500".
    void ShowScore(int score);
    // The count of balls left; a negative count leaves the label as it was.
    void ShowBallsLeft(int balls);
    // Minutes and seconds, "03:15".
    void ShowTime(int seconds);
    // The play clock: seconds more played, and, while a limit runs (m_TimeLeft not 0),
    // seconds less of it.
    void AdvanceClock(int seconds);
    // Shows or hides the heads-up display as one: the loot, the balls left with their ball,
    // the clock and the hit meter, each label with its text layer. Showing it brings every
    // part back whole, whatever hid it and whatever changed meanwhile; the Show* calls change
    // what a part says, never whether it shows.
    void SetHudShown(bool shown);
    bool IsHudShown() const { return m_HudShown; }

    // ---- Music -----------------------------------------------------------------------------
    // Plays that part of the level's music (looped unless told otherwise).
    void PlayLevelMusic(const std::string& part, bool loop = true);
    // The music part now playing ("" when none).
    std::string CurrentMusicPart() const;

    // ---- Leaving and progress --------------------------------------------------------------
    // Switches to the screen the script property useScreenOnExit names, else to the map
    // ("Adventure") or the lab ("Lab"); other game types stay.
    void LeaveGameScreen();
    // Stops the play clock, then LeaveGameScreen.
    void QuitToScreen();
    // After a won level in the adventure: unlocks the next level or episode, moves the
    // selection on and saves every player card.
    void AdvanceProgress();
    // The level now current becomes the player's selection and GameOptions' numbers.
    void SaveSelection();
    // Fills the episode and level numbers from the level order (last occurrence wins);
    // a name that is not listed leaves them as they were.
    void FindLevelByName(const std::string& name);
    // The in-game menu and the quit dialog.
    bool OnDialogStopped(const Event& event) override;
    // Keys the current state left: first the keyboard translator's; then Alt+Return
    // (full screen) and Alt+F4 (quit) while no dialog shows; p, Escape, Space and F1 open
    // the in-game menu unless exactly one Ctrl key is held.
    bool OnKeyDown(const Event& event) override;
    bool OnKeyUp(const Event& event) override;
    const ArcadeKeyboardTranslator& GetKeyboard() const MAKO_LIFETIMEBOUND { return m_Keyboard; }

    // Deletes the previous level, keeps this one and lets it fill the field. Raises, with
    // nothing made, when the level holds more than Level::MAX_FIELD_OBJECTS.
    void SetLevel(Level* level);
    Level* GetLevel() const MAKO_LIFETIMEBOUND { return m_Level.get(); }
    // The rule that turns balls from paths that never bring the level nearer its end; the
    // state Playing runs it after each pass, a new level starts it afresh.
    StallRule& GetStallRule() MAKO_LIFETIMEBOUND { return m_StallRule; }

    // ---- The field, as the level and the states read it ------------------------------------
    Screen* GetGameScreen() const { return GetScreen(); }
    Actor* GetPlayLayer() const { return m_PlayLayer; }
    World* GetWorld() const MAKO_LIFETIMEBOUND { return m_World.get(); }
    ActorGroup& GetBalls() MAKO_LIFETIMEBOUND { return m_Balls; }
    ActorGroup& GetBallSpawnAnimations() MAKO_LIFETIMEBOUND { return m_BallSpawnAnimations; }
    ActorGroup& GetBricks() MAKO_LIFETIMEBOUND { return m_Bricks; }
    ActorGroup& GetDropTargets() MAKO_LIFETIMEBOUND { return m_DropTargets; }
    ActorGroup& GetGoobers() MAKO_LIFETIMEBOUND { return m_Goobers; }
    ActorGroup& GetPaddleGroup() MAKO_LIFETIMEBOUND { return m_Paddles; }
    ActorGroup& GetPowerups() MAKO_LIFETIMEBOUND { return m_Powerups; }
    ActorGroup& GetShieldGroup() MAKO_LIFETIMEBOUND { return m_Shields; }
    ActorGroup& GetWallGroup() MAKO_LIFETIMEBOUND { return m_Walls; }
    ActorGroup& GetExtraActors() MAKO_LIFETIMEBOUND { return m_ExtraActors; }
    ActorGroup& GetExplosions() MAKO_LIFETIMEBOUND { return m_Explosions; }
    ActorGroup& GetLaserBeams() MAKO_LIFETIMEBOUND { return m_LaserBeams; }
    ActorGroup& GetSparks() MAKO_LIFETIMEBOUND { return m_Sparks; }
    ActorGroup& GetEmitters() MAKO_LIFETIMEBOUND { return m_Emitters; }
    ActorGroup& GetFlyingTexts() MAKO_LIFETIMEBOUND { return m_FlyingTexts; }
    // The largest group id an actor may give (`groupID`): the groups are kept by id, one
    // for every id up to the largest given.
    static constexpr int MAX_GROUP_ID = 1000;
    const std::vector<std::unique_ptr<ActorGroup>>& GetGroupsByID() const MAKO_LIFETIMEBOUND
    {
        return m_GroupsByID;
    }
    Actor* GetArtefact() const { return m_Artefact; }
    // The level's shields, paddles and walls, in the order they were added.
    virtual const std::vector<Shield*>& GetShields() const MAKO_LIFETIMEBOUND;
    virtual const std::vector<Paddle*>& GetPaddles() const MAKO_LIFETIMEBOUND;
    virtual const std::vector<Wall*>& GetWalls() const MAKO_LIFETIMEBOUND;
    // Balls in play: active or held on a paddle, plus those still in their spawn circle.
    int CountBallsInPlay() const;
    // Bricks and drop targets that the level still requires.
    int CountRequiredBricks() const;
    // The field tick of the states: the keyboard, the paddles' update, the world's step
    // and the groups' ticks (see ArcadeGameLogic.cpp for the variants' order).
    enum FieldTickFlags : unsigned {
        FIELD_TICK_LEVEL = 1,       // Level::Update before the step (playing)
        FIELD_TICK_LEVEL_FIRST = 2, // Level::Update before everything (all balls lost)
        FIELD_TICK_ARTEFACT = 4,    // the artefact's tick (waiting for the serve)
        FIELD_TICK_NO_SPAWNS = 8,   // the ball spawn circles do not tick
        FIELD_TICK_FROZEN = 16,     // bricks, extra actors, power-ups, goobers stand still
        FIELD_TICK_HIT_METER = 32,  // the hit meter ticks
    };
    void TickField(unsigned flags);
    // Sends the play-field event to the paddles at once (the first that consumes it ends
    // the walk); ARCADE_POINTERMOVE is queued for each paddle instead.
    void SendToPaddles(std::uint8_t type, int dx = 0, int dy = 0);

    // ---- Game state --------------------------------------------------------------------------
    Player* GetPlayer() const { return m_Player; }
    const std::string& GetGameType() const MAKO_LIFETIMEBOUND { return m_GameType; }
    int GetBallsLeft() const { return m_BallsLeft; }
    // Stores the reserve and shows it (a negative count is stored but not shown).
    void SetBallsLeft(int balls);
    std::optional<int> GetEpisodeNumber() const { return m_EpisodeNumber; }
    std::optional<int> GetLevelNumber() const { return m_LevelNumber; }
    int GetScore() const { return m_Score; }

    // The fields the states, the level and the bonuses share. They are public data of the
    // game, read and written by its states (logic/states/) and its level (logic/Level).
    LuaPlus::LuaObject m_OptionsTable;
    Player* m_Player = nullptr;
    std::string m_GameType;
    int m_BallsLeft = 0;
    std::optional<int> m_EpisodeNumber;
    std::optional<int> m_LevelNumber;
    std::optional<std::string> m_LevelName;
    std::string m_LostReason;
    int m_HitCounterLimit = 10;
    int m_Score = 0;
    bool m_ScoreChanged = false;
    int m_TotalScore = 0;
    int m_LootCaught = 0;
    int m_BallsUsed = 1;
    int m_FastTimeEarned = 0, m_AllLootEarned = 0, m_SecretFound = 0, m_OneBallEarned = 1,
        m_BigScoreEarned = 0;
    // ---- The tally of a won level (ArcadeGameLogicBonuses.cpp) ---------------------------
    // The five bonuses of this play: kBonusPoints each when earned, else 0.
    static constexpr int kBonusPoints = 1000;
    int m_FastTimeBonus = 0, m_AllLootBonus = 0, m_SecretBonus = 0, m_OneBallBonus = 0,
        m_BigScoreBonus = 0;
    // Loot caught as a whole percentage of the level's loot (0 for a level without loot).
    int m_LootPercent = 0;
    // Bonuses earned in this play (0 to 5), and counting earlier plays' records (0 to 5).
    int m_StarCount = 0;
    int m_BestStarCount = 0;
    // The values of a level record that earn stars, by their names in the card.
    template <typename T> struct RecordValues
    {
        T score{}, secret{}, gotBigScore{}, allLoot{}, fastTime{}, noBallsLost{};
    };
    // The level's record before this play (all 0 when there was none), and which of its
    // values this play improved.
    RecordValues<int> m_PrevRecord;
    RecordValues<bool> m_NewBest;
    // After ComputeLevelBonuses: the total beats the stored score; after SaveLevelRecord:
    // some value of the record improved.
    bool m_RecordChanged = false;
    // The five bonuses and m_TotalScore from the play's counters and the level's targets,
    // and the stored record read into m_PrevRecord. Run when a won level's letter opens.
    void ComputeLevelBonuses();
    // Writes this play into the player's record of the level (made when missing): better
    // values replace the stored ones, the best-of values and the reserve of balls always
    // follow; counts m_BestStarCount and saves every player card. After
    // ComputeLevelBonuses.
    void SaveLevelRecord();
    // The paddle power level m_Bonus reaches at most this; there hits no longer count.
    static constexpr int kMaxPaddlePower = 16;
    int m_Bonus = 0, m_Speed = 0;
    int m_PaddleHits = 0;
    int m_TimeLeft = 0;
    int m_ElapsedTime = 0;
    std::uint32_t m_ClockTimer = 0;
    // A press heard in the brick drop or the spawn delay, served when the balls appear.
    EarlyPress m_EarlyPress;
    bool m_BallLocked = false;
    std::uint32_t m_BallLockTimer = 0;
    std::uint32_t m_LiveBallTimer = 0;
    double m_LockedBallSpeed = 0.0;
    bool m_EpisodeFinished = false, m_GameFinished = false;
    // Heads-up labels and meters (children of the play layer; null until built).
    Label* m_LevelLabel = nullptr;
    Label* m_EpisodeLabel = nullptr;
    Label* m_ScoreLabel = nullptr;
    Label* m_BallsLabel = nullptr;
    Label* m_TimeLabel = nullptr;
    Marquee* m_Marquee = nullptr;
    HitMeter* m_HitMeter = nullptr;
    ComboMeter* m_ComboMeter = nullptr;
    // The letter tiles' meter (its tiles are children of the play layer).
    std::unique_ptr<PowerMeter> m_PowerMeter;

protected:
    // A controller with no screen, play layer, states, world or level: for controllers
    // that take over the field's services themselves and keep their own field (the
    // play-field tests and benchmarks). It is gLogic while it lives.
    ArcadeGameLogic();

    // The front particle manager (layer 5 of the play layer); m_ParticlesBack is layer 1.
    ParticleManager* m_ParticleManager = nullptr;
    ParticleManager* m_ParticlesBack = nullptr;

private:
    // The heads-up display's parts (children of the play layer) and whether it shows.
    std::vector<Actor*> m_HudParts;
    bool m_HudShown = true;
    // The actors the controller hears from (HearFrom), while they stand.
    std::list<ActorLink<Actor>> m_Heard;

    void CreateStates();
    // The heads-up labels, marquee and particle managers on the play layer.
    void CreateHud();
    // The marquee, the hit meter, the combo meter and the letter tiles.
    void CreateMeters();
    // The dark, half-clear strips under the heads-up rows (below the labels, above the
    // walls), so that their texts keep their contrast over any picture.
    void CreateHudStrips();
    static constexpr std::uint8_t kHudStripAlpha = 160;
    // ApplyGroupID, the world, the group and the play layer, in that order.
    void TakeStructure(Actor* actor, ActorGroup& group);

    Actor* m_PlayLayer = nullptr;
    std::unique_ptr<Level> m_Level;
    StallRule m_StallRule;
    Actor* m_Artefact = nullptr;
    std::unique_ptr<World> m_World;
    std::set<std::uint32_t> m_OwnedTimers;
    ArcadeKeyboardTranslator m_Keyboard;

    ActorGroup m_Balls, m_BallSpawnAnimations, m_Bricks, m_DropTargets, m_Explosions, m_LaserBeams,
        m_FlyingTexts, m_Goobers, m_Paddles, m_Emitters, m_Powerups, m_Shields, m_Sparks, m_Walls,
        m_ExtraActors;
    std::vector<std::unique_ptr<ActorGroup>> m_GroupsByID;
    // The typed views that GetShields, GetPaddles and GetWalls hand out, rebuilt per call.
    mutable std::vector<Shield*> m_ShieldList;
    mutable std::vector<Paddle*> m_PaddleList;
    mutable std::vector<Wall*> m_WallList;

    // Holds gLogic for its controller: Take, a constructor's last step, makes the whole
    // controller gLogic; the hold's end clears gLogic while it is still its controller. As
    // a member it ends with every construction that throws, a derived class's too, so
    // gLogic never outlives what it points to.
    struct RunningHold
    {
        ArcadeGameLogic* held = nullptr;
        ~RunningHold();
        void Take(ArcadeGameLogic* logic);
    };
    RunningHold m_Running;
};

// The running controller; null while no game runs.
extern ArcadeGameLogic* gLogic;
