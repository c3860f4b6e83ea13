#pragma once
/// Per-instance transforms of instanced mesh drawing: the `instanceTransform` input at locations
/// 4 to 7 (one column each), fed from a stream buffer of the renderer's current context or, where
/// the context cannot draw instances, set as the input's constant value per draw.
/// @file
/// The stream buffer belongs to one context generation; a later context gets a new one and the
/// old name is forgotten with its context. Between instanced draws the input's constant value is
/// the identity, so a program that declares it also draws single objects under its model-view
/// (the built-in programs rely on that). Shader set-ups only. Main thread only.

#include "marrowgate/math/mg_matrix.h"

#include <cstdint>
#include <span>

namespace Cinderhall {

inline constexpr std::uint32_t kInstanceTransformLocation = 4;

// Uploads the transforms and points the input at them, one per instance, in the bound vertex
// array (or the bare context state).
void EnableInstanceTransforms(std::span<const Marrowgate::Core::Matrix4> transforms);
// Returns the input to its constant value, the identity.
void DisableInstanceTransforms();
// Makes sure the current context's constant value has started at the identity; cheap to repeat.
void PrepareInstanceTransforms();
// For draws of one object at a time; put the identity back afterwards.
void SetConstantInstanceTransform(const Marrowgate::Core::Matrix4& transform);

} // namespace Cinderhall
