#pragma once
/// The 2D bounding volume under its former, experimental name. New code includes
/// marrowgate/math/mg_bounding_volume.h and says Marrowgate::Core::BoundingVolume.
/// @file

#include "marrowgate/math/mg_bounding_volume.h"

namespace Marrowgate::Core::Unstable {

using BoundingVolume = Marrowgate::Core::BoundingVolume;

} // namespace Marrowgate::Core::Unstable
