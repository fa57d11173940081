// One tick of a walled field with 1, 10 and 50 balls, their trails and motion blur on:
// the world's step with the balls' contact handling, then every ball's tick (speed
// regulation, effects) and the particles' tick, and the deletion of expired particles.
// Reports the time per tick and per ball. Runs from the build folder: the game's scripts
// come from the source tree, the ball images from the build's Assets/.
#include "core/Random.h"
#include "field/Ball.h"
#include "lua/MakoLuaState.h"
#include "scene/ParticleManager.h"
#include "support/BenchGame.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

LuaPlus::LuaObject SpeedTable()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    MakoLuaState::LoadString(state, "_bench_ball = {speed = 600}");
    return state->GetGlobal("_bench_ball");
}

// The game's walls and the balls with their emitters.
class Field : public benchgame::BenchField
{
public:
    explicit Field(int balls)
    {
        MakoSrand(5);
        for (int i = 0; i < balls; ++i) {
            const double angle = 0.4 + 2.399 * i;
            Ball* ball = new Ball(40 + (i * 53) % 560, 60 + (i * 37) % 380, 600 * std::cos(angle),
                                  600 * std::sin(angle), true);
            // A breakthru ball always leaves a trail; at 600 px/s it shows 7 blur copies.
            ball->SetCorona("Breakthru");
            ball->ApplyProperties(SpeedTable());
            Place(ball);
        }
    }
};

void RunField(benchmark::State& bench, bool lowEffects)
{
    benchgame::OpenGame();
    const int balls = int(bench.range(0));
    Ball::SetLowEffects(lowEffects);
    Field field(balls);
    Ball::SetLowEffects(false);
    for (int i = 0; i < 30; ++i) // trails and blur in full flow
        field.Tick();
    for (auto _ : bench)
        field.Tick();
    bench.counters["ticks/s"] =
        benchmark::Counter(double(bench.iterations()), benchmark::Counter::kIsRate);
    bench.counters["s/ball"] =
        benchmark::Counter(double(bench.iterations()) * balls,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    bench.counters["particles"] = double(field.logic.GetParticles()->GetChildren().size());
}

void BM_BallFieldTick(benchmark::State& bench)
{
    RunField(bench, false);
}
BENCHMARK(BM_BallFieldTick)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// The same without trails and blur ("--lowFX"): what the balls and the world cost alone.
void BM_BallFieldTickLowEffects(benchmark::State& bench)
{
    RunField(bench, true);
}
BENCHMARK(BM_BallFieldTickLowEffects)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace
