// A rally on the play field: ten balls in the game's walls and a paddle that follows the
// lowest ball and keeps swinging at it (taps, and every few strokes a charged whack), so
// the physics step, the paddle's swing machine and its ball impacts (deflection, power,
// sprays) all run as in play. Reports the time per 32 ms tick. The game's scripts come
// from the source tree and its images from the asset pack the build writes (Assets/).
#include "core/Event.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "scene/ArcadeEventHandler.h"
#include "support/BenchGame.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

class Field : public benchgame::BenchField
{
public:
    Field()
    {
        paddle = Place(new Paddle());
        MakoSrand(7);
        for (int i = 0; i < 10; ++i) {
            const double angle = 3.6 + 0.22 * i;
            balls.push_back(Place(new Ball(60 + 52 * i, 120 + 17 * (i % 5), 300 * std::cos(angle),
                                           300 * std::sin(angle), true)));
        }
    }

    // One tick of play: the player's hand, then the field's tick.
    void Play()
    {
        Steer();
        Tick();
        ++ticks;
    }

    Paddle* paddle = nullptr;
    std::vector<Ball*> balls;

private:
    // Follows the lowest ball and swings: a tap every 12 ticks, a held whack every fifth.
    void Steer()
    {
        const Ball* lowest = nullptr;
        for (const Ball* ball : balls)
            if (!lowest || ball->GetY() > lowest->GetY())
                lowest = ball;
        const int target = lowest->GetX() + lowest->GetWidth() / 2;
        const int centre = paddle->GetX() + paddle->GetWidth() / 2;
        const std::intptr_t move = std::max(-40, std::min(40, target - centre));
        Event motion = MakeEvent(ARCADE_POINTERMOVE, 0, reinterpret_cast<void*>(move), nullptr);
        paddle->OnPointerMove(motion);
        paddle->OnPaddleUpdate(MakeEvent(ARCADE_PADDLEUPDATE));
        const int phase = ticks % 60;
        if (phase % 12 == 0)
            paddle->Press();
        const bool whack = phase >= 48;
        if (phase % 12 == (whack ? 11 : 2))
            paddle->Release();
    }

    long ticks = 0;
};

void BM_PaddleRallyTick(benchmark::State& bench)
{
    benchgame::OpenGame();
    Field field;
    for (int i = 0; i < 100; ++i)
        field.Play();
    const long hitsBefore = field.logic.paddleHits;
    for (auto _ : bench)
        field.Play();
    bench.SetItemsProcessed(bench.iterations());
    // How often a ball struck the paddle per 100 ticks: the rally is really played.
    bench.counters["paddleHitsPer100Ticks"] =
        100.0 * double(field.logic.paddleHits - hitsBefore) / double(bench.iterations());
}
BENCHMARK(BM_PaddleRallyTick)->Unit(benchmark::kMicrosecond);

} // namespace
