#pragma once
/// The broad phase of the 3D collision pass: it finds, for one entity, the later entities whose
/// volumes might touch its own, so that the pass tests only those pairs.
/// @file
/// Each collidable entity gets a world-space box around all its volumes, padded a little so that
/// it is never tighter than the exact tests (which may then still say no). Boxes are sorted by
/// their left edge; a query scans the slice of that order that can overlap. Entities whose box
/// is not finite are offered to every query. Answers are in ascending index order, so the pass
/// keeps its exact pair order.
/// Depends on: the entity and its bounding volumes. Internal to the entity manager.
///
/// Limits: a snapshot; the pass builds it again whenever a collision callback has run, since
/// callbacks may move, reshape or add entities.

#include <cstddef>
#include <vector>

namespace Orrery::Game {

class Entity;

class CollisionBroadPhase
{
public:
    void Build(const std::vector<Entity*>& entities);
    // Replaces partners with every index from `from` on (from > first) that may touch `first`.
    void FindPartners(std::size_t first, std::size_t from, std::vector<std::size_t>& partners) const;

private:
    struct Bounds
    {
        float minimum[3] = {0.0f, 0.0f, 0.0f};
        float maximum[3] = {0.0f, 0.0f, 0.0f};
        bool isCandidate = false; // collidable with at least one volume
        bool isFinite = true;
    };

    static bool Overlap(const Bounds& a, const Bounds& b);

    std::vector<Bounds> mBounds;          // by entity index
    std::vector<std::size_t> mByLeftEdge; // finite candidates, by minimum x
    std::vector<float> mLeftEdges;        // their minimum x, in the same order
    std::vector<std::size_t> mUnbounded;  // candidates whose box is not finite, ascending
    float mWidest = 0.0f;                 // the widest finite box along x
};

} // namespace Orrery::Game
