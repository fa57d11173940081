#include "StrokeAim.h"

#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace autoplay {

namespace {

// Places along the paddle tried, from end to end, short of the very ends.
constexpr double kFarthestU = 0.9;
constexpr int kStrokeSteps = 90; // on each side of the centre
// Places of the paddle tried for a serve, this many pixels apart.
constexpr double kServeStep = 2.0;
// The paddle meets a ball within a few pixels of where it was aimed: a stroke or serve is
// sure when its neighbours this many candidates either way find the brick too (3 pixels
// of a 64-pixel paddle, 4 pixels of a serve's place).
constexpr int kSureStroke = 10;
constexpr int kSureServe = 2;

struct Vec
{
    double x = 0, y = 0;
};

// A rectangle the ball's centre cannot enter (an obstacle grown by the ball's radius), and
// the edges (BrickEdge bits) on which a strike breaks what it stands for; 0 for a brick
// that only turns the ball.
struct Box
{
    double left, top, right, bottom;
    int breaks;
};

// The bricks as the trace sees them. What must still break is what the level's end waits
// for (the necessary bricks and drop targets); in a level that waits for none of them, any
// brick that can lose strength.
std::vector<Box> Obstacles(ArcadeGameLogic* logic, double radius)
{
    constexpr int kAllEdges =
        BRICK_EDGE_TOP | BRICK_EDGE_RIGHT | BRICK_EDGE_BOTTOM | BRICK_EDGE_LEFT;
    const bool anyRequired = logic->CountRequiredBricks() > 0;
    std::vector<Box> boxes;
    auto add = [&](const Actor* actor, int breaks) {
        boxes.push_back({actor->GetX() - radius, actor->GetY() - radius,
                         actor->GetX() + actor->GetWidth() + radius,
                         actor->GetY() + actor->GetHeight() + radius, breaks});
    };
    for (Actor* actor : logic->GetBricks().GetMembers()) {
        const Brick* brick = dynamic_cast<const Brick*>(actor);
        if (!brick || brick->IsDead())
            continue;
        const bool wanted = anyRequired ? brick->IsNecessary() : brick->GetStrength() > 0;
        const int breaks = brick->GetWeakEdges() | (brick->GetStrength() >= 0 ? kAllEdges : 0);
        add(brick, wanted ? breaks : 0);
    }
    for (Actor* actor : logic->GetDropTargets().GetMembers())
        if (!actor->IsDead())
            add(actor, kAllEdges);
    return boxes;
}

// Where a ray from `p` along `d` enters the box: the distance along d (in units of d) and
// the edge it crosses; no entry when it misses, or starts inside.
bool Enters(const Box& box, Vec p, Vec d, double* at, int* edge)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    auto slab = [](double from, double step, double low, double high, double* in, double* out) {
        if (step == 0.0) {
            *in = from >= low && from <= high ? -kInfinity : kInfinity;
            *out = kInfinity;
            return;
        }
        const double a = (low - from) / step, b = (high - from) / step;
        *in = std::min(a, b);
        *out = std::max(a, b);
    };
    double inX, outX, inY, outY;
    slab(p.x, d.x, box.left, box.right, &inX, &outX);
    slab(p.y, d.y, box.top, box.bottom, &inY, &outY);
    const double in = std::max(inX, inY), out = std::min(outX, outY);
    if (in >= out || in <= 1e-6)
        return false;
    *at = in;
    if (inX > inY)
        *edge = d.x > 0 ? BRICK_EDGE_LEFT : BRICK_EDGE_RIGHT;
    else
        *edge = d.y > 0 ? BRICK_EDGE_TOP : BRICK_EDGE_BOTTOM;
    return true;
}

// Whether a ball leaving `p` along `d` strikes a brick that must still break, on an edge
// that breaks it, before anything else. Only the straight flight counts: a wall or a brick
// turns the ball by more than a mirror would (friction, bounce effects), so a way that
// bounces is no aim.
bool Finds(Vec p, Vec d, const std::vector<Box>& boxes)
{
    double nearest = std::numeric_limits<double>::infinity();
    int edge = 0;
    const Box* struck = nullptr;
    for (const Box& box : boxes) {
        double at;
        int crossed;
        if (Enters(box, p, d, &at, &crossed) && at < nearest) {
            nearest = at;
            edge = crossed;
            struck = &box;
        }
    }
    return struck && (struck->breaks & edge);
}

// x folded into [low, high] as a ball bouncing between two walls there is.
double Fold(double x, double low, double high)
{
    const double span = high - low;
    if (span <= 0)
        return low;
    double m = std::fmod(x - low, 2 * span);
    if (m < 0)
        m += 2 * span;
    return m <= span ? low + m : high - (m - span);
}

// What the trace needs to know of the paddle, the ball and the field (Describe), and the
// bricks.
struct Setting
{
    Vec n;            // the paddle face's normal, towards the field
    Vec centre;       // the paddle's centre
    double half = 0;  // its half-thickness (the actor's height for either orientation)
    double reach = 0; // its half-length (the actor's width)
    bool vertical = false;
    double radius = 0;                // the ball's
    double low = 0, high = 0;         // the ball centre's range along the paddle's edge
    double edgeLow = 0, edgeHigh = 0; // the paddle centre's range along it
    std::vector<Box> boxes;           // the bricks (Obstacles), once there is a ball to aim
};

Setting Describe(const Paddle* paddle, const Ball* ball)
{
    Setting s;
    const Point<float> face = paddle->DeflectionVelocity(0.0, 1.0);
    s.n = {face.x, face.y};
    s.centre = {paddle->GetX() + paddle->GetWidth() / 2.0,
                paddle->GetY() + paddle->GetHeight() / 2.0};
    s.half = paddle->GetHeight() / 2.0;
    s.reach = paddle->GetWidth() / 2.0;
    s.vertical = paddle->IsVertical();
    s.radius = ball->GetRadius();
    const FieldBounds bounds = FieldBounds::Current();
    const double r = s.radius;
    s.low = (s.vertical ? bounds.top : bounds.left) + r;
    s.high = (s.vertical ? bounds.bottom : bounds.right) - r;
    s.edgeLow = (s.vertical ? bounds.top : bounds.left) + s.reach;
    s.edgeHigh = (s.vertical ? bounds.bottom : bounds.right) - s.reach;
    return s;
}

// The ball's centre when it touches the face at `along` on the paddle's edge.
Vec ContactAt(const Setting& s, double along)
{
    const double across =
        (s.vertical ? s.centre.x : s.centre.y) + (s.vertical ? s.n.x : s.n.y) * (s.half + s.radius);
    return s.vertical ? Vec{across, along} : Vec{along, across};
}

// Whether a ball struck at `u` along the face from `contact` finds a brick to break.
bool StrokeFinds(const Paddle* paddle, const Setting& s, Vec contact, double u)
{
    const Point<float> out = paddle->DeflectionVelocity(u, 1.0);
    return Finds(contact, Vec{out.x, out.y}, s.boxes);
}

// Of candidate aims in order, those that find a brick (`good`): the middle of each run of
// neighbours that all do, where an error of `sure` candidates either way in the paddle's
// place still finds it (where no run is that wide, the widest). The one nearest `last` by
// `key`, or without `last` one drawn with MakoRand.
std::optional<StrokeAim> Pick(const std::vector<StrokeAim>& candidates,
                              const std::vector<bool>& good, int sure, std::optional<double> last,
                              double StrokeAim::*key)
{
    std::vector<std::pair<std::size_t, StrokeAim>> runs; // width, middle
    std::size_t widest = 0;
    for (std::size_t i = 0; i < candidates.size();) {
        if (!good[i]) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < candidates.size() && good[end])
            ++end;
        runs.emplace_back(end - i, candidates[(i + end - 1) / 2]);
        widest = std::max(widest, end - i);
        i = end;
    }
    std::vector<StrokeAim> middles;
    for (const auto& [width, middle] : runs)
        if (width >= std::min(widest, std::size_t(2 * sure + 1)))
            middles.push_back(middle);
    if (middles.empty())
        return std::nullopt;
    if (!last)
        return middles[MakoRand() % middles.size()];
    return *std::min_element(middles.begin(), middles.end(),
                             [&](const StrokeAim& a, const StrokeAim& b) {
                                 return std::fabs(a.*key - *last) < std::fabs(b.*key - *last);
                             });
}

} // namespace

std::optional<StrokeAim> AimStroke(ArcadeGameLogic* logic, Paddle* paddle, Ball* ball,
                                   std::optional<double> last)
{
    const PhysicsBody* body = ball->GetPhysicsBody();
    if (!body || ball->GetPaddle())
        return std::nullopt;
    Setting s = Describe(paddle, ball);
    const Vector2D at = body->GetPosition(), v = body->GetLinearVel();
    // How far the ball's centre is in front of the line where it touches the face, and how
    // fast it closes in.
    const double gap =
        (at.x - s.centre.x) * s.n.x + (at.y - s.centre.y) * s.n.y - (s.half + s.radius);
    const double closing = -(v.x * s.n.x + v.y * s.n.y);
    if (closing <= 1.0 || gap > kAimReach || gap < 0)
        return std::nullopt;
    s.boxes = Obstacles(logic, s.radius);
    const double t = gap / closing;
    const double along = Fold(s.vertical ? at.y + v.y * t : at.x + v.x * t, s.low, s.high);
    const Vec contact = ContactAt(s, along);

    std::vector<StrokeAim> candidates;
    std::vector<bool> good;
    for (int i = -kStrokeSteps; i <= kStrokeSteps; ++i) {
        const double u = kFarthestU * i / kStrokeSteps;
        const double centre = along - u * s.reach;
        if (centre < s.edgeLow || centre > s.edgeHigh)
            continue;
        candidates.push_back({u, centre});
        good.push_back(StrokeFinds(paddle, s, contact, u));
    }
    return Pick(candidates, good, kSureStroke, last, &StrokeAim::u);
}

std::optional<StrokeAim> AimServe(ArcadeGameLogic* logic, Paddle* paddle, Ball* ball,
                                  std::optional<double> last)
{
    if (ball->GetPaddle() != paddle)
        return std::nullopt;
    Setting s = Describe(paddle, ball);
    s.boxes = Obstacles(logic, s.radius);
    // Where the ball lies on the paddle, which the paddle carries along.
    const double offset = s.vertical ? ball->GetY() + ball->GetHeight() / 2.0 - s.centre.y
                                     : ball->GetX() + ball->GetWidth() / 2.0 - s.centre.x;
    const double u = std::clamp(offset / s.reach, -1.0, 1.0);
    std::vector<StrokeAim> candidates;
    std::vector<bool> good;
    for (double centre = s.edgeLow; centre <= s.edgeHigh; centre += kServeStep) {
        candidates.push_back({u, centre});
        good.push_back(StrokeFinds(paddle, s, ContactAt(s, centre + offset), u));
    }
    return Pick(candidates, good, kSureServe, last, &StrokeAim::centre);
}

} // namespace autoplay
