#pragma once
// The game's two models, built from simple solids in the mesh builder.
//
// The car is about 2.1 units long, faces +z, stands on y = 0 and is centred on x and z, so
// the entity's position is the middle of the car on the ground. The chip is a dual in-line
// package of about 1 x 0.8 x 1 centred on the origin, its pins reaching down to y = -0.5 so
// that a chip placed at height 0.5 stands on the ground.

#include "mesh_builder.h"

namespace GameAssets {

MeshBuilder BuildCarMesh();
MeshBuilder BuildChipMesh();

} // namespace GameAssets
