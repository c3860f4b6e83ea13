#pragma once
/// How a mesh with a node hierarchy is drawn: the pieces of its index list, each under the
/// transform of the node that names it.
/// @file
/// A node names the triangles [first value, first value + second value) of the mesh (its first
/// triangle and its triangle count). Its transform is relative to its parent node, so a piece is
/// drawn under the node's transform followed by each ancestor's. Triangles that no node names
/// are drawn untransformed; a mesh whose nodes name no triangles (or that has none) is one
/// untransformed piece, as it always was. The child lists of nodes are not read: the parent
/// index alone gives the hierarchy.
///
/// Bad nodes are reported once per mesh ("cdhDataError: ") and drawing carries on without them:
/// a node naming triangles beyond the mesh draws nothing, and a parent index out of range or a
/// loop of parents makes every node a root.
/// Depends on: the mesh format's arrays, math. No GPU.

#include "cinderhall/cdh_mesh_format.h"
#include "marrowgate/math/mg_matrix.h"

#include <cstdint>
#include <vector>

namespace Cinderhall {

struct MeshPiece
{
    std::uint32_t firstIndex = 0;
    std::uint32_t indexCount = 0;
    Marrowgate::Core::Matrix4 transform;
    bool isTransformed = false; // false: drawn under the mesh's own matrices alone
};

// Node pieces in node order, then the untransformed runs of triangles no node names.
std::vector<MeshPiece> ComputeMeshPieces(const MeshData& data);

} // namespace Cinderhall
