#include "orrery/game_collision_broad_phase.h"

#include "orrery/game_entity_manager.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Orrery::Game {

namespace {

// Far above float rounding in the exact tests, far below any gap that matters in play.
constexpr float kRelativePadding = 1e-4f;
constexpr float kAbsolutePadding = 1e-6f;

} // namespace

void CollisionBroadPhase::Build(const std::vector<Entity*>& entities)
{
    mBounds.assign(entities.size(), Bounds());
    mByLeftEdge.clear();
    mUnbounded.clear();
    mWidest = 0.0f;
    for (std::size_t index = 0; index < entities.size(); ++index) {
        const Entity& entity = *entities[index];
        Bounds& bounds = mBounds[index];
        if (!entity.IsCollidable() || entity.GetBoundingVolumes().empty()) {
            continue;
        }
        bounds.isCandidate = true;
        const Marrowgate::Core::Vector3 position = entity.GetPosition();
        bool first = true;
        for (const BoundingVolume& volume : entity.GetBoundingVolumes()) {
            // The same sum as the exact test, so the centre agrees to the last bit.
            const Marrowgate::Core::Vector3 center = volume.center + position;
            const Marrowgate::Core::Vector3& size = volume.GetSize();
            for (int axis = 0; axis < 3; ++axis) {
                // Absolute extents: a volume with a negative size (already reported) still
                // gets a box that holds everything the exact test could accept.
                const float extent = volume.IsBox() ? std::fabs(size[axis] * 0.5f) : std::fabs(size.x);
                const float padding =
                    kRelativePadding * (std::fabs(center[axis]) + extent) + kAbsolutePadding;
                const float low = center[axis] - extent - padding;
                const float high = center[axis] + extent + padding;
                bounds.minimum[axis] = first ? low : std::min(bounds.minimum[axis], low);
                bounds.maximum[axis] = first ? high : std::max(bounds.maximum[axis], high);
                bounds.isFinite = bounds.isFinite && std::isfinite(low) && std::isfinite(high);
            }
            first = false;
        }
        if (bounds.isFinite) {
            mByLeftEdge.push_back(index);
            mWidest = std::max(mWidest, bounds.maximum[0] - bounds.minimum[0]);
        } else {
            mUnbounded.push_back(index);
        }
    }
    std::sort(mByLeftEdge.begin(), mByLeftEdge.end(),
              [this](std::size_t a, std::size_t b) { return mBounds[a].minimum[0] < mBounds[b].minimum[0]; });
    mLeftEdges.resize(mByLeftEdge.size());
    std::transform(mByLeftEdge.begin(), mByLeftEdge.end(), mLeftEdges.begin(),
                   [this](std::size_t index) { return mBounds[index].minimum[0]; });
}

bool CollisionBroadPhase::Overlap(const Bounds& a, const Bounds& b)
{
    for (int axis = 0; axis < 3; ++axis) {
        if (a.minimum[axis] > b.maximum[axis] || b.minimum[axis] > a.maximum[axis]) {
            return false;
        }
    }
    return true;
}

void CollisionBroadPhase::FindPartners(std::size_t first, std::size_t from,
                                       std::vector<std::size_t>& partners) const
{
    partners.clear();
    if (first >= mBounds.size() || !mBounds[first].isCandidate) {
        return;
    }
    const Bounds& bounds = mBounds[first];
    if (!bounds.isFinite) {
        for (std::size_t index = from; index < mBounds.size(); ++index) {
            if (mBounds[index].isCandidate) {
                partners.push_back(index);
            }
        }
        return;
    }
    // Only boxes whose left edge lies within one widest box of this one's can reach it.
    const auto begin = std::lower_bound(mLeftEdges.begin(), mLeftEdges.end(), bounds.minimum[0] - mWidest);
    const auto end = std::upper_bound(begin, mLeftEdges.end(), bounds.maximum[0]);
    for (auto edge = begin; edge != end; ++edge) {
        const std::size_t index = mByLeftEdge[static_cast<std::size_t>(edge - mLeftEdges.begin())];
        if (index >= from && Overlap(bounds, mBounds[index])) {
            partners.push_back(index);
        }
    }
    for (std::size_t index : mUnbounded) {
        if (index >= from) {
            partners.push_back(index);
        }
    }
    std::sort(partners.begin(), partners.end());
}

} // namespace Orrery::Game
