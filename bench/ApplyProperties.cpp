// Building engine objects from Lua tables: the cost of creating an actor of a registered
// class from a parameter table (class lookup, defaults, every property applied by name
// through the script function applyPropertiesToObject), and of applying a table to an
// existing actor. The engine's own scripts come from the program's embedded resources.
#include "core/ClassManager.h"
#include "core/Object.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsApplicationResourceScanner.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

LuaPlus::LuaState* PrepareEngine()
{
    static LuaPlus::LuaState* state = nullptr;
    if (state)
        return state;
    state = GetGlobalLuaState();
    InitLuaState(state);
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
    static ResourceManager* resources = new ResourceManager(state);
    resources->AddScanner(new WindowsApplicationResourceScanner());
    resources->ScanAll();
    MakoLuaState::DoResourceFile(state, "Resource.lua");
    return state;
}

LuaPlus::LuaObject Table(LuaPlus::LuaState* state, const char* expression)
{
    MakoLuaState::LoadString(state, std::string("_bench_table = ") + expression);
    return state->GetGlobal("_bench_table");
}

const char* const kActorTable =
    "{class = 'Actor', name = 'brick', x = 120, y = 64, width = 40, height = 20, z = 3,"
    " visible = true, alpha = 200, color = {r = 200, g = 120, b = 40}, "
    " rotation = 0, tag = 'field', score = 150}";

void BM_InstantiateActorFromTable(benchmark::State& bench)
{
    LuaPlus::LuaState* state = PrepareEngine();
    LuaPlus::LuaObject params = Table(state, kActorTable);
    for (auto _ : bench) {
        std::unique_ptr<Object> actor(ClassManager::GetInstance()->InstantiateObject(params));
        benchmark::DoNotOptimize(actor.get());
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_InstantiateActorFromTable)->Unit(benchmark::kMicrosecond);

void BM_ApplyTableToActor(benchmark::State& bench)
{
    LuaPlus::LuaState* state = PrepareEngine();
    std::unique_ptr<Object> actor(
        ClassManager::GetInstance()->InstantiateObject(Table(state, "{class = 'Actor'}")));
    LuaPlus::LuaObject params = Table(state, kActorTable);
    params.SetNil("class");
    for (auto _ : bench)
        actor->ApplyProperties(params);
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ApplyTableToActor)->Unit(benchmark::kMicrosecond);

} // namespace
