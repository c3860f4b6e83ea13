// The 3D entity manager's fixed step with 10, 100 and 1000 collidable entities. Every pair is
// tested in insertion order (no broad phase), so the cost grows with n^2; the reported
// complexity fit says how closely.

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

void EntityManagerSimulate(benchmark::State& state)
{
    Orrery::Game::EntityManager manager;
    const auto count = static_cast<int>(state.range(0));
    // A square grid 1.5 apart with radius 0.5 spheres and every tenth a 2-unit box, so some
    // pairs touch and most do not, as on a playing field.
    for (int index = 0; index < count; ++index) {
        auto* ball = new Ball();
        const Marrowgate::Core::Vector3 center;
        if (index % 10 == 0) {
            ball->AddBoundingBox(2.0f, 2.0f, 2.0f, center);
        } else {
            ball->AddBoundingSphere(0.5f, center);
        }
        Marrowgate::Core::Matrix4 transform;
        transform.SetPosition(1.5f * static_cast<float>(index % 32), 0.0f,
                              1.5f * static_cast<float>(index / 32));
        ball->SetTransform(transform);
        manager.AddEntity(ball);
    }
    for (auto _ : state) {
        manager.Simulate();
    }
    state.SetComplexityN(count);
    state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(count) * (count - 1) / 2.0,
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EntityManagerSimulate)->Arg(10)->Arg(100)->Arg(1000)->Complexity(benchmark::oNSquared);

} // namespace

BENCHMARK_MAIN();
