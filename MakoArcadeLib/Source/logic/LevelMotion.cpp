// Level: the moving field. Four optional mechanisms read from the level table once and
// driven every tick of play by Level::Update: wind (a wandering push on balls, goobers and
// power-ups, heard as a looping wind sound), level gravity (a pull toward a point or along a
// direction; its strength, after the fall-off with distance, is an acceleration in pixels
// per second², times the density squared for a ball), the progressive slide-down (the
// brick field steps down whenever its lower rows are clear) and the time attack (the field
// falls ever faster; a lost ball winds it back). A mechanism whose strength or rate is 0
// costs nothing per tick.
#include "logic/Level.h"

#include "core/DataRange.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/Utility.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "sound/Sound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <list>
#include <vector>

using LuaPlus::LuaObject;

namespace {

constexpr double kTwoPi = 6.28318530717958647692;
constexpr int kRewindTicks = 30;
constexpr int kDefaultEndHeight = 480;

// The farthest line of the brick field a level may name, in pixels (far off the field,
// yet any brick's centre compares with it exactly).
constexpr double kFarthestLine = 100000.0;

// The brick field's lines from a table's thresholdLines (rows of 16 px) / threshold and
// stopY: the threshold is compared with brick centres offset by 47, the stop line by 48.
double ThresholdOf(const LuaObject& table, const std::string& where)
{
    if (table["thresholdLines"].IsNumber())
        return Level::ReadHeld(table, where, "thresholdLines", 0.0, -kFarthestLine / 16.0,
                               kFarthestLine / 16.0) *
               16.0;
    return Level::ReadHeld(table, where, "threshold", 0.0, -kFarthestLine,
                           double(kDefaultEndHeight));
}

double StopYOf(const LuaObject& table, const std::string& where)
{
    return Level::ReadHeld(table, where, "stopY", 0.0, -kFarthestLine, double(kDefaultEndHeight));
}

bool FlagOf(const LuaObject& table, const char* key)
{
    const LuaObject value = table[key];
    return value.IsBoolean() && value.GetBoolean();
}

// The pair { x, y } of a table (missing entries 0), each held to the farthest point a
// level may name.
void PairOf(const LuaObject& pair, const std::string& where, double& x, double& y)
{
    x = 0.0;
    y = 0.0;
    if (!pair.IsTable())
        return;
    const double most = Level::kFarthestPoint;
    const LuaObject first = pair[1], second = pair[2];
    if (first.IsNumber())
        x = DataRange::Read(std::string(), where + "[1]", first.GetNumber(), -most, most, 0.0);
    if (second.IsNumber())
        y = DataRange::Read(std::string(), where + "[2]", second.GetNumber(), -most, most, 0.0);
}

// (x, y) shortened to at most `most` long; a vector that is not finite becomes (0, 0).
void HoldLength(double& x, double& y, double most)
{
    const double length = std::hypot(x, y);
    if (!std::isfinite(length)) {
        x = y = 0.0;
    } else if (length > most) {
        x = x / length * most;
        y = y / length * most;
    }
}

// A brick's centre height once the field's moves so far have taken effect: its geometry's
// with the rest of a gradual shift still to come (the physics step carries it out, the actor
// follows after it), else its actor's, halves rounded down.
int BrickCentreY(const Brick* brick)
{
    if (const PhysicsGeom* geom = brick->GetGeom())
        return int(std::floor(geom->GetPosition()[1] + geom->GetPendingShift()));
    return brick->GetY() + brick->GetHeight() / 2;
}

// The line a brick the field moves down may not pass and still be struck: the face of the
// lowest paddle that faces up (a ball never comes below it and returns). Far below the
// field when no paddle faces up.
double PaddleFaceLine(ArcadeGameLogic* logic)
{
    double line = kFarthestLine;
    bool found = false;
    for (Actor* actor : logic->GetPaddleGroup().GetMembers()) {
        const Paddle* paddle = dynamic_cast<const Paddle*>(actor);
        if (!paddle || paddle->IsDead() || paddle->IsVertical() || paddle->FacesPositive())
            continue;
        line = found ? std::max(line, double(paddle->GetY())) : double(paddle->GetY());
        found = true;
    }
    return line;
}

// The sound calls of the moving field must not end a level when the mixer is gone or a
// sound of the pack fails; the end of the build's meter and the program's own mistakes pass
// on (core/ObjectBoundary).
template <typename F> void Quietly(const char* what, F&& call)
{
    std::string why;
    if (!ObjectBoundary::Contain(call, &why))
        Log("Level: %s failed: %s\n", what, why.c_str());
}

} // namespace

void Level::SetUpMotion()
{
    if (const LuaObject wind = ReadKey("wind", LUA_TTABLE); wind.IsTable())
        SetUpWind(wind);
    if (const LuaObject gravity = ReadKey("gravity", LUA_TTABLE); gravity.IsTable())
        SetUpGravity(gravity);
    // Read once: the slide-down consults it while the level is played.
    m_Progressive = ReadKey("progressive", LUA_TTABLE);
    m_Slides = m_Progressive.IsTable();
    if (m_Slides)
        SetUpSlide(m_Progressive);
    if (const LuaObject timeAttack = ReadKey("timeAttack", LUA_TTABLE); timeAttack.IsTable())
        SetUpTimeAttack(timeAttack);
}

void Level::SetUpWind(const LuaObject& wind)
{
    m_WindStrength = ReadHeld(wind, "wind", "strength", 0.0, -kMostWind, kMostWind);
    double dx = 0.0, dy = 0.0;
    PairOf(wind["direction"], "wind.direction", dx, dy);
    const double length = std::hypot(dx, dy);
    if (length > 0.0) {
        m_WindDirX = dx / length;
        m_WindDirY = dy / length;
    }
    m_WindVariance = ReadHeld(wind, "wind", "variance", 0.0, 0.0, kMostWindChange);
    m_WindNormalization = ReadHeld(wind, "wind", "normalization", 0.0, 0.0, kMostWindChange);
    m_WindForceX = m_WindStrength * m_WindDirX;
    m_WindForceY = m_WindStrength * m_WindDirY;
    m_WindLevel = std::clamp(std::fabs(m_WindStrength), 0.0, 100.0);
    // A still wind makes no sound: the channel would only play silence for the level.
    if (m_WindStrength != 0.0) {
        Quietly("starting the wind sound", [this] {
            m_WindChannel = Sound::PlaySound("wind.ogg", true);
            if (m_WindChannel != 0) {
                Sound::SetChannelVolume(m_WindChannel, 0);
                m_WindBaseFrequency = double(Sound::GetChannelFrequency(m_WindChannel));
            }
        });
    }
}

void Level::SetUpGravity(const LuaObject& gravity)
{
    m_GravityStrength = ReadHeld(gravity, "gravity", "strength", 0.0, -kMostGravity, kMostGravity);
    const LuaObject center = gravity["center"];
    m_GravityDirectional = !center.IsTable();
    if (m_GravityDirectional)
        PairOf(gravity["direction"], "gravity.direction", m_GravityX, m_GravityY);
    else
        PairOf(center, "gravity.center", m_GravityX, m_GravityY);
    const LuaObject decrease = gravity["decreaseWith"];
    if (decrease.IsNumber()) {
        m_GravityExponent =
            -ReadHeld(gravity, "gravity", "decreaseWith", 0.0, 0.0, kMostGravityFalloff);
    } else if (decrease.IsString()) {
        const std::string kind = decrease.GetString();
        if (kind == "distanceSquared")
            m_GravityExponent = -2.0;
        else if (kind == "distance")
            m_GravityExponent = -1.0;
        else if (kind == "distanceSqrt")
            m_GravityExponent = -0.5;
    }
}

void Level::SetUpSlide(const LuaObject& progressive)
{
    m_SlideThreshold = ThresholdOf(progressive, "progressive") + 47.0;
    m_SlideStop = StopYOf(progressive, "progressive") + 48.0;
    m_SlideAllBricks = FlagOf(progressive, "destroyAllBricks");
    // The field slides down only, and a brick slid past the end height is destroyed, which
    // lies within the field: no slide takes a brick out of it.
    m_SlideStep = ReadHeld(progressive, "progressive", "stepSize", 0.0, 0.0, kFarthestLine);
    m_SlideRate = ReadHeld(progressive, "progressive", "rate", 0.0, 0.0, kMostFieldRate);
    // A whole endHeight is the line below which a sliding brick is destroyed.
    const double end = ReadHeld(progressive, "progressive", "endHeight", double(kDefaultEndHeight),
                                -kFarthestLine, double(kDefaultEndHeight));
    m_SlideEndHeight = end == std::floor(end) ? end : double(kDefaultEndHeight);
}

void Level::SetUpTimeAttack(const LuaObject& timeAttack)
{
    m_TimeAttackRate =
        ReadHeld(timeAttack, "timeAttack", "fallRate", 0.0, -kMostFieldRate, kMostFieldRate);
    m_TimeAttackAccel =
        ReadHeld(timeAttack, "timeAttack", "accel", 0.0, -kMostFieldRate, kMostFieldRate);
    m_TimeAttackThreshold = ThresholdOf(timeAttack, "timeAttack") + 47.0;
    m_TimeAttackStop = StopYOf(timeAttack, "timeAttack") + 48.0;
    // Without a cap (none given, or a negative one) the field falls at what its rate grows
    // to, which is held to what the field can play all the same.
    m_TimeAttackMaxRate =
        ReadHeld(timeAttack, "timeAttack", "maxFallRate", -1.0, -1.0, kMostFieldRate);
    m_TimeAttackEndDestroy = FlagOf(timeAttack, "endDestroy");
    m_TimeAttackEndLose = FlagOf(timeAttack, "endLose");
}

void Level::StopWindSound()
{
    if (m_WindChannel == 0)
        return;
    const std::uint32_t channel = m_WindChannel;
    m_WindChannel = 0;
    Quietly("stopping the wind sound", [channel] { Sound::StopChannel(channel); });
}

void Level::Update(ArcadeGameLogic* logic)
{
    if (m_WindStrength != 0.0)
        TickWind(logic);
    if (m_GravityStrength != 0.0)
        TickGravity(logic);
    if (m_PendingSlide != 0.0)
        TickSlideDown(logic);
    if (m_TimeAttackRate != 0.0 || m_TimeAttackAccel != 0.0)
        TickTimeAttack(logic);
    // Bricks moved by the field show where their geometry has gone.
    if (m_Slides || m_TimeAttackRate != 0.0 || m_TimeAttackAccel != 0.0) {
        for (Actor* actor : logic->GetBricks().GetMembers())
            if (Brick* brick = dynamic_cast<Brick*>(actor))
                if (!brick->IsDead() && brick->GetGeom())
                    brick->SyncFromPhysics();
    }
}

// ---- Wind ----------------------------------------------------------------------------------

void Level::TickWind(ArcadeGameLogic* logic)
{
    const float angle = float(RandomDouble(kTwoPi));
    const float length = float(RandomDouble(m_WindVariance));
    m_WindForceX += length * std::cos(angle);
    m_WindForceY += length * std::sin(angle);

    // A pull of fixed length back toward the set wind (it may overshoot).
    const double dx = m_WindStrength * m_WindDirX - m_WindForceX;
    const double dy = m_WindStrength * m_WindDirY - m_WindForceY;
    const double d = std::hypot(dx, dy);
    if (d == 0.0) {
        m_WindForceX += m_WindNormalization;
    } else {
        m_WindForceX += dx * m_WindNormalization / d;
        m_WindForceY += dy * m_WindNormalization / d;
    }
    // However the wind wanders, it pushes no harder than the field can play.
    HoldLength(m_WindForceX, m_WindForceY, kMostWindForce);

    m_WindLevel = 0.75 * m_WindLevel + 0.25 * std::hypot(m_WindForceX, m_WindForceY);
    m_WindLevel = std::clamp(m_WindLevel, 0.0, 100.0);
    if (m_WindChannel != 0) {
        const double factor =
            m_WindLevel > 40.0 ? m_WindLevel * 0.025 : (m_WindLevel + 40.0) * 0.0125;
        const int pan = int(std::clamp(m_WindForceX, -100.0, 100.0));
        const int volume = int(m_WindLevel);
        const int frequency = int(factor * m_WindBaseFrequency);
        Quietly("steering the wind sound", [this, volume, frequency, pan] {
            Sound::SetChannelVolume(m_WindChannel, volume);
            Sound::SetChannelFrequency(m_WindChannel, frequency);
            Sound::SetChannelPan(m_WindChannel, pan);
        });
    }

    for (Actor* actor : logic->GetBalls().GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        // A ball adrift is let go, as gravity lets go of it: a wind can never hold a ball
        // against a wall or away from the bricks.
        if (!ball || ball->IsDead() || ball->IsAdrift())
            continue;
        if (PhysicsBody* body = ball->GetPhysicsBody())
            body->AddAcceleration(m_WindForceX * kWindOnBalls, m_WindForceY * kWindOnBalls);
    }
    for (ActorGroup* group : {&logic->GetGoobers(), &logic->GetPowerups()}) {
        for (Actor* actor : group->GetMembers()) {
            ArcadeActor* object = dynamic_cast<ArcadeActor*>(actor);
            if (!object || object->IsDead())
                continue;
            if (PhysicsBody* body = object->GetPhysicsBody())
                body->AddAcceleration(m_WindForceX * kWindOnFloaters,
                                      m_WindForceY * kWindOnFloaters);
        }
    }
}

// ---- Gravity -------------------------------------------------------------------------------

void Level::TickGravity(ArcadeGameLogic* logic)
{
    // The pull on an object, times `scale` (a ball's density squared).
    const auto pull = [this](const Actor* object, double scale, double& fx, double& fy) {
        const double cx = object->GetX() + object->GetWidth() / 2;
        const double cy = object->GetY() + object->GetHeight() / 2;
        double vx = m_GravityDirectional ? m_GravityX : m_GravityX - cx;
        double vy = m_GravityDirectional ? m_GravityY : m_GravityY - cy;
        const double length = std::hypot(vx, vy);
        if (length == 0.0) {
            vx = m_GravityStrength;
            vy = 0.0;
        } else {
            vx = vx / length * m_GravityStrength;
            vy = vy / length * m_GravityStrength;
        }
        // A directional pull is the same everywhere; a point's pull falls off with the
        // distance, which counts as at least one pixel so the centre stays finite.
        double factor = 1.0;
        if (!m_GravityDirectional && m_GravityExponent != 0.0)
            factor = std::pow(std::max(length, 1.0), m_GravityExponent);
        fx = vx * factor * scale;
        fy = vy * factor * scale;
        // Near a point that pulls hard the fall-off would grow without end: no object feels
        // more than the field can play.
        HoldLength(fx, fy, kMostPull);
    };

    for (Actor* actor : logic->GetBalls().GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        // A ball adrift (touching only walls for a long time) is let go until it strikes
        // the paddle or a brick again: a pull can never hold a ball away from the paddle.
        if (!ball || ball->IsDead() || ball->IsAdrift())
            continue;
        if (PhysicsBody* body = ball->GetPhysicsBody()) {
            double fx = 0.0, fy = 0.0;
            pull(ball, ball->GetDensity() * ball->GetDensity(), fx, fy);
            body->AddAcceleration(fx, fy);
        }
    }
    for (Actor* actor : logic->GetPowerups().GetMembers()) {
        ArcadeActor* object = dynamic_cast<ArcadeActor*>(actor);
        if (!object || object->IsDead())
            continue;
        if (PhysicsBody* body = object->GetPhysicsBody()) {
            double fx = 0.0, fy = 0.0;
            pull(object, 1.0, fx, fy);
            body->AddAcceleration(fx, fy);
        }
    }
}

// ---- The brick field -----------------------------------------------------------------------

void Level::MoveBrick(Brick* brick, double dy)
{
    PhysicsGeom* geom = brick->GetGeom();
    if (!geom) {
        brick->SetPosition(brick->GetX(), brick->GetY() + int(dy));
        return;
    }
    const std::array<float, 3> at = geom->GetPosition();
    if (at[1] < 0.0f)
        geom->SetPosition(double(at[0]), double(at[1]) + dy);
    else
        geom->ShiftGradually(dy);
}

void Level::CheckProgressive(ArcadeGameLogic* logic)
{
    if (m_PendingSlide != 0.0)
        return;
    if (!m_Slides)
        return;
    const double threshold = m_SlideThreshold;
    const double stop = m_SlideStop;
    const bool allBricks = m_SlideAllBricks;

    bool anyAboveStop = false;
    for (Actor* actor : logic->GetBricks().GetMembers()) {
        Brick* brick = dynamic_cast<Brick*>(actor);
        if (!brick || brick->IsDead())
            continue;
        const int cy = BrickCentreY(brick);
        if (cy >= threshold && (allBricks || brick->IsNecessary()))
            return; // the lower rows are not clear yet
        if (cy < stop)
            anyAboveStop = true;
    }
    if (!anyAboveStop)
        return; // the field has arrived

    m_PendingSlide += m_SlideStep;
    Quietly("starting the slide sounds", [] {
        Sound::StopSound("SlideDown.ogg");
        Sound::StopSound("Mystical_EnergyColumnLoop1.ogg");
        Sound::PlaySound("SlideDown.ogg", true);
        Sound::PlaySound("Mystical_EnergyColumnLoop1.ogg", true);
    });
}

void Level::TickSlideDown(ArcadeGameLogic* logic)
{
    if (!m_Slides) {
        m_PendingSlide = 0.0;
        return;
    }
    const double rate = m_SlideRate;
    const double endHeight = m_SlideEndHeight;
    if (rate <= 0.0) {
        // A slide that cannot move would hold the field for good.
        m_PendingSlide = 0.0;
        return;
    }

    double step = rate;
    m_PendingSlide -= rate;
    if (m_PendingSlide < 0.0) {
        step = rate + m_PendingSlide;
        m_PendingSlide = 0.0;
    }

    m_SlideCarry += step;
    const int whole = int(m_SlideCarry);
    m_SlideCarry -= whole;
    if (Actor* artefact = logic->GetArtefact())
        artefact->SetPosition(artefact->GetX(), artefact->GetY() + whole);

    // Killed actors are deleted only later, so the pointers stay good for this tick.
    std::vector<Brick*> moved;
    for (Actor* actor : logic->GetBricks().GetMembers()) {
        Brick* brick = dynamic_cast<Brick*>(actor);
        if (!brick || brick->IsDead())
            continue;
        MoveBrick(brick, step);
        moved.push_back(brick);
    }
    // A brick slid past the paddle's face could no more be struck: it goes as one past the
    // end height does.
    const double paddleLine = PaddleFaceLine(logic);
    bool destroyed = false;
    for (Brick* brick : moved) {
        if (brick->IsDead())
            continue;
        brick->RunMovedCallbacks();
        if (brick->IsDead())
            continue;
        const PhysicsGeom* geom = brick->GetGeom();
        const double y =
            geom ? double(geom->GetPosition()[1]) + geom->GetPendingShift() : double(brick->GetY());
        if (y > endHeight || BrickCentreY(brick) > paddleLine) {
            const double x = geom ? double(geom->GetPosition()[0]) : double(brick->GetX());
            brick->Destroy(nullptr, logic, x, y, false);
            brick->Kill();
            destroyed = true;
        }
    }
    // Counted once the bricks are dead: the last one may have won the level.
    if (destroyed)
        logic->CheckForLevelEnd(0.0, 0.0);

    if (m_PendingSlide == 0.0) {
        Quietly("stopping the slide sounds", [] {
            Sound::StopSound("SlideDown.ogg");
            Sound::StopSound("Mystical_EnergyColumnLoop1.ogg");
        });
        CheckProgressive(logic);
        if (m_PendingSlide == 0.0)
            Quietly("playing the slide's end", [] { Sound::PlaySound("Smash_StoneColumn1.ogg"); });
    }
}

// ---- Time attack ---------------------------------------------------------------------------

void Level::StartTimeAttackRewind()
{
    if (m_TimeAttackRate != 0.0 || m_TimeAttackAccel != 0.0)
        m_TimeAttackRewind = kRewindTicks;
}

void Level::TickTimeAttack(ArcadeGameLogic* logic)
{
    // The field has stopped, but a brick it left past the threshold or the paddle's face
    // (a paddle that came after the field stopped) ends the attack all the same.
    if (m_TimeAttackEnded) {
        EndTimeAttackPastThreshold(logic);
        return;
    }
    const int n = TimeAttackPixels();
    if (n == 0)
        return;
    // The hidden artefact stays behind the bricks that cover it, as in a slide.
    if (Actor* artefact = logic->GetArtefact())
        artefact->SetPosition(artefact->GetX(), artefact->GetY() + n);

    bool anyAboveStop = false, allAboveStop = true;
    const std::list<Actor*> bricks = logic->GetBricks().GetMembers(); // callbacks may change it
    for (Actor* actor : bricks) {
        Brick* brick = dynamic_cast<Brick*>(actor);
        if (!brick || brick->IsDead())
            continue;
        MoveBrick(brick, n);
        brick->RunMovedCallbacks();
        if (BrickCentreY(brick) < m_TimeAttackStop)
            anyAboveStop = true;
        else
            allAboveStop = false;
    }
    if (m_TimeAttackRewind > 0 && allAboveStop)
        m_TimeAttackRewind = 0;
    EndTimeAttackPastThreshold(logic);
    if (!anyAboveStop)
        m_TimeAttackEnded = true;
}

int Level::TimeAttackPixels()
{
    double move = 0.0;
    if (m_TimeAttackRewind == 0) {
        m_TimeAttackRate += m_TimeAttackAccel;
        // Without a cap the field falls at its rate.
        if (m_TimeAttackMaxRate >= 0.0)
            m_TimeAttackRate = std::min(m_TimeAttackRate, m_TimeAttackMaxRate);
        move = m_TimeAttackRate;
    } else {
        for (int i = 0; i < kRewindTicks; ++i) {
            move += m_TimeAttackRate;
            m_TimeAttackRate = std::max(0.0, m_TimeAttackRate - m_TimeAttackAccel);
        }
    }
    // A pixel each time the fallen distance crosses a whole number.
    int n = 0;
    if (move < m_TimeAttackCarry) {
        m_TimeAttackCarry -= move;
    } else {
        const double over = move - m_TimeAttackCarry;
        n = 1 + int(over);
        m_TimeAttackCarry = 1.0 - (over - std::trunc(over));
    }
    if (m_TimeAttackRewind != 0) {
        n = -n;
        --m_TimeAttackRewind;
    }
    return n;
}

void Level::EndTimeAttackPastThreshold(ArcadeGameLogic* logic)
{
    // A brick past the paddle's face could no more be struck, so it has crossed the
    // threshold wherever that lies; one left there (no endDestroy) loses the attack.
    const double paddleLine = PaddleFaceLine(logic);
    bool crossed = false, unreachable = false, destroyed = false;
    for (bool rescan = true; rescan;) {
        rescan = false;
        for (Actor* actor : logic->GetBricks().GetMembers()) {
            Brick* brick = dynamic_cast<Brick*>(actor);
            if (!brick || brick->IsDead())
                continue;
            const int y = BrickCentreY(brick);
            if (y <= m_TimeAttackThreshold && y <= paddleLine)
                continue;
            crossed = true;
            unreachable = unreachable || y > paddleLine;
            if (m_TimeAttackEndDestroy) {
                brick->Destroy(nullptr, logic, 0.0, 0.0, false);
                brick->Kill();
                destroyed = rescan = true;
                break;
            }
        }
    }
    // Counted once the bricks are dead: the last one may have won the level.
    if (destroyed)
        logic->CheckForLevelEnd(0.0, 0.0);
    if (crossed && (m_TimeAttackEndLose || (unreachable && !m_TimeAttackEndDestroy)) &&
        logic->IsInState("Playing")) {
        logic->GetBalls().KillAll();
        logic->GetPaddleGroup().KillAll();
        logic->GetBallSpawnAnimations().KillAll();
        // The goals see the ball lost now.
        logic->CheckForLevelEnd(0.0, 0.0);
    }
}
