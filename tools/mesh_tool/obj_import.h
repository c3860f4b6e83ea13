#pragma once
// Wavefront OBJ to mesh data, for the mesh tool.
//
// Reads positions (v), texture coordinates (vt), normals (vn) and faces (f) with any of the
// corner forms i, i/t, i//n and i/t/n, counting negative indices back from the end. Polygons
// are fanned from their first corner. Everything else (objects, groups, materials, smoothing,
// lines) is skipped. Conversions to the .msh conventions:
//  - OBJ front faces are counter-clockwise; meshes wind them clockwise, so every triangle is
//    reversed;
//  - OBJ's v runs up from the bottom of the image, textures here start at the top: v becomes 1 - v;
//  - a corner without a normal takes its face's flat normal;
//  - corners that share position, coordinates and normal become one vertex, so faces at an
//    angle to each other keep separate corners (a cube comes out flat-shaded);
//  - a UTF-8 byte-order mark at the start is skipped; infinite or NaN numbers are refused;
//  - vertex colours are opaque white.
//
// Depends on: the 3D kit's mesh format.

#include "cinderhall/cdh_mesh_format.h"

#include <string>
#include <string_view>

namespace MeshTool {

// False with a message naming the line when the text is not a usable OBJ mesh.
bool ImportObj(std::string_view text, Cinderhall::MeshData& result, std::string& error);

} // namespace MeshTool
