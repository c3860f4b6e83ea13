#pragma once
/// The mesh cache: each mesh file loaded once and shared by every object that asks for it by the
/// same path, as long as any of them holds it.
/// @file
/// The key is the path as given, so two spellings of one file load it twice. A mesh goes (with
/// its GPU buffers) when its last holder lets go; the next request loads the file again. A mesh
/// keeps its arrays, so it rebuilds its buffers in a new context by itself. A file that gives no
/// mesh is not kept: each request tries it again and reports again. A damaged file gives an empty
/// mesh, which is shared like any other.
///
/// Depends on: meshes. Main thread only.

#include "cinderhall/cdh_mesh.h"

#include <cstddef>
#include <memory>
#include <string>

namespace Cinderhall {

// The file's mesh, shared; null when LoadMeshFromFile gives none.
std::shared_ptr<Mesh> LoadSharedMesh(const std::string& path);
// Meshes in the cache that still have a holder.
std::size_t GetSharedMeshCount();

} // namespace Cinderhall
