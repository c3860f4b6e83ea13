// The 3D entity manager's fixed step with 10, 100 and 1000 collidable entities, on a sparse
// field (nothing touches: the broad phase leaves only near pairs to test) and on a crowded one
// (every tenth entity touches its neighbours: after 32 collisions in a step the pass tests every
// pair). The reported complexity fits say how the cost grows.

#include "orrery/game_entity_manager.h"

#include <benchmark/benchmark.h>

namespace {

class Ball : public Orrery::Game::Entity
{
public:
    Ball() : Entity("Ball") {}
    void OnCollide(Entity& other) override
    {
        Entity::OnCollide(other);
        ++collisions;
    }
    long collisions = 0;
};

void EntityManagerSimulate(benchmark::State& state, float spacing)
{
    Orrery::Game::EntityManager manager;
    const auto count = static_cast<int>(state.range(0));
    // A square grid of radius 0.5 spheres with every tenth a 2-unit box: 1.5 apart the boxes
    // touch their neighbours, 3 apart nothing touches.
    for (int index = 0; index < count; ++index) {
        auto* ball = new Ball();
        const Marrowgate::Core::Vector3 center;
        if (index % 10 == 0) {
            ball->AddBoundingBox(2.0f, 2.0f, 2.0f, center);
        } else {
            ball->AddBoundingSphere(0.5f, center);
        }
        Marrowgate::Core::Matrix4 transform;
        transform.SetPosition(spacing * static_cast<float>(index % 32), 0.0f,
                              spacing * static_cast<float>(index / 32));
        ball->SetTransform(transform);
        manager.AddEntity(ball);
    }
    for (auto _ : state) {
        manager.Simulate();
    }
    long collisions = 0;
    for (Orrery::Game::Entity* entity : manager.GetEntities()) {
        collisions += static_cast<Ball*>(entity)->collisions;
    }
    state.counters["collide calls/step"] =
        static_cast<double>(collisions) / static_cast<double>(state.iterations());
    state.SetComplexityN(count);
    state.counters["pairs covered/s"] = benchmark::Counter(static_cast<double>(count) * (count - 1) / 2.0,
                                                           benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(EntityManagerSimulate, Sparse, 3.0f)->Arg(10)->Arg(100)->Arg(1000)->Complexity();
BENCHMARK_CAPTURE(EntityManagerSimulate, Crowded, 1.5f)->Arg(10)->Arg(100)->Arg(1000)->Complexity();

} // namespace

BENCHMARK_MAIN();
