#include "quor_entity.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/math/mg_random_numbers.h"

namespace {

constexpr char kUnitName[] = "quor_entity";
constexpr char kMeshPath[] = "data/mesh/quor.msh";

constexpr float kSpawnRange = 10.0f;
constexpr float kRestingHeight = 0.5f;

// Process-wide on purpose: the score outlives the scene that shows it.
std::uint32_t sScore = 0;
std::uint32_t sBestScore = 0;

} // namespace

void AddScore(const std::uint32_t& points)
{
    sScore += points;
    if (sScore > sBestScore) {
        sBestScore = sScore;
    }
}

std::uint32_t GetScore()
{
    return sScore;
}

std::uint32_t GetBestScore()
{
    return sBestScore;
}

QuorEntity::QuorEntity() : Orrery::Game::Entity("QuorEntity")
{
    // A missing mesh would leave an invisible chip that can still be collected.
    MG_ERROR_IF(mMesh.LoadMesh(kMeshPath) == nullptr, "mgDataError: Expected the mesh file \"%s\" to load.",
                kMeshPath);
    AddBoundingBox(1.0f, 1.0f, 1.0f, Marrowgate::Core::Vector3(0.0f, 0.0f, 0.0f));
    Respawn();
}

QuorEntity::~QuorEntity() = default;

void QuorEntity::OnUpdate(float deltaTime)
{
    mMesh.SetTransform(GetTransform());
    Orrery::Game::Entity::OnUpdate(deltaTime);
}

void QuorEntity::OnCollide(Orrery::Game::Entity& other)
{
    Orrery::Game::Entity::OnCollide(other);
    if (other.IsEntityType("CarEntity")) {
        AddScore(1);
        Respawn();
    }
}

void QuorEntity::Respawn()
{
    Marrowgate::Core::Matrix4 transform = GetTransform();
    // Two separate statements: the draws must be x first, then z.
    const float x = Marrowgate::Core::RandomFloat(-kSpawnRange, kSpawnRange);
    const float z = Marrowgate::Core::RandomFloat(-kSpawnRange, kSpawnRange);
    transform.m[3] = x;
    transform.m[7] = kRestingHeight;
    transform.m[11] = z;
    SetTransform(transform);
}
