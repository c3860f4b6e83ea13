#pragma once
/// Meshes: indexed triangle lists in GPU buffers, loaded from .msh files (see cdh_mesh_format.h
/// for the encodings and their checks) or built from arrays; MeshObject, a mesh with a transform,
/// a shader and a texture; and RenderLists that draw their MeshObjects in one call (one list for
/// the whole program, plus any a scene keeps of its own).
/// @file
/// A mesh keeps its vertex and index arrays, so parsing and checks run without any GPU; the
/// buffers are built when the renderer is ready in a shader set-up (at creation, or at the first
/// Render in each context the renderer starts on; names of an earlier context are forgotten,
/// never deleted). A mesh that failed its checks is empty and draws
/// nothing. In the renderer's fixed-function mode a mesh draws from its arrays, unlit, in its
/// vertex colours. Without vertex array objects (a bare ES 2.0 context) the layout is bound per
/// draw. Indices go to the GPU in 16 bits when the mesh has at most 65536 vertices; a larger mesh
/// needs 32-bit indices, which an ES 2.0 context (and WebGL 1) has only with the
/// GL_OES_element_index_uint extension: without it the mesh is reported and draws nothing.
///
/// One mesh may serve many objects (see cdh_mesh_cache.h). Objects that share a mesh, a texture
/// and a program declaring the per-instance input `instanceTransform` are drawn together: in one
/// instanced draw where the context offers it (OpenGL 3.3, OpenGL ES 3.0), else one draw each
/// with the transform as the input's constant value. Such a program gets the view alone as its
/// model-view and computes `mvpMatrix * instanceTransform * position` itself. The built-in
/// programs declare it, so objects without a program of their own that share a mesh, a texture
/// and an equal material draw together too, unless the mesh has pieces that its nodes move.
///
/// Depends on: the mesh format, the shader manager, the texture manager, the basic renderer.
/// Main thread only.

#include "cinderhall/cdh_builtin_programs.h"
#include "cinderhall/cdh_mesh_format.h"
#include "cinderhall/cdh_mesh_pieces.h"
#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <memory>
#include <span>
#include <string>

namespace Cinderhall {

using Marrowgate::Core::Matrix4;

class Mesh : private Marrowgate::Core::Noncopyable
{
public:
    // An empty mesh: draws nothing.
    Mesh() = default;
    // Takes arrays that passed IsDrawableMeshData (or the binary index check).
    explicit Mesh(MeshData data);
    ~Mesh();

    // One indexed draw with whatever matrices and program are current; a mesh whose nodes name
    // triangles draws one per piece, each under its node's transform (see cdh_mesh_pieces.h).
    void Render();
    // The same, with `transform` applied first (a model matrix), the current matrices unchanged.
    void Render(const Matrix4& transform);
    // Draws the whole mesh once per transform for a current program that declares
    // `instanceTransform` (each transform applies before the current model-view): one instanced
    // draw where the context offers it and instancing is enabled, else one draw per transform.
    // Node transforms are not applied: instance meshes whose nodes do not move their triangles.
    void RenderInstanced(std::span<const Matrix4> transforms);

    // Whether the mesh has buffers in the renderer's current context.
    bool IsReady() const;
    bool IsEmpty() const { return data_.indices.empty(); }
    const MeshData& GetData() const { return data_; }
    const std::vector<MeshPiece>& GetPieces() const { return pieces_; }

private:
    // Flushes the 2D draws and makes sure the buffers exist in this context; false when there is
    // nothing to draw with shaders.
    bool PrepareBuffers();
    void BindBuffers() const;
    void UnbindBuffers() const;
    // One draw per piece, each under its node's transform, from the bound buffers or (in the
    // legacy pipeline) the mesh's own arrays.
    void DrawPieces(bool fixedFunction) const;
    void BuildBuffers();
    void ReleaseBuffers();
    // Picks 16- or 32-bit indices for the buffers; false (reported) when the context has neither
    // for this mesh.
    bool ChooseIndexType();

    // The buffers (or the refusal to build them) belong to this renderer context generation.
    std::uint64_t bufferGeneration_ = 0;
    bool ready_ = false;
    std::uint32_t indexType_ = 0;
    std::uint32_t vertexArray_ = 0;
    std::uint32_t vertexBuffer_ = 0;
    std::uint32_t indexBuffer_ = 0;
    std::vector<MeshPiece> pieces_;
    MeshData data_;
};

// Null when the file cannot be read (see mg_data_file.h: only regular files up to
// kMaximumMeshFileBytes, each refusal reported), or is headerless text whose path does not
// contain ".msh". A binary file always gives a mesh, empty when it is corrupt (no triangles
// counts as corrupt); text goes through CreateMeshFromData. Every report names the file.
std::unique_ptr<Mesh> LoadMeshFromFile(const std::string& path);
// The same for file contents already in memory; `path` only decides the headerless case.
std::unique_ptr<Mesh> LoadMeshFromMemory(std::span<const std::byte> fileBytes, const std::string& path);

// Reports fewer than 3 vertices, no triangles, an index count that is not a multiple of 3 and
// indices out of range, and then gives an empty mesh. Without kNormals in flags the normals are computed.
std::unique_ptr<Mesh> CreateMeshFromData(std::vector<Vertex3D> vertices, std::vector<std::uint32_t> indices,
                                         std::uint8_t flags);

// Draw calls made by meshes since the program started, for tests and measurements.
std::uint64_t GetMeshDrawCallCount();
// Whether meshes draw instances in one call: the context offers it and it is enabled (it is by
// default; switching it off is for comparisons). False without a ready shader renderer.
bool IsInstancingAvailable();
void SetInstancingEnabled(bool isEnabled);

class RenderList;

class MeshObject : private Marrowgate::Core::Noncopyable
{
public:
    // Registers the object in the program's render list.
    MeshObject();
    // Registers the object in a list of its own (a scene's). A list that goes first leaves its
    // objects in no list; they then draw nowhere.
    explicit MeshObject(RenderList& renderList);
    ~MeshObject();

    // Replaces the mesh with a copy of the file's own (null when it could not be loaded) and
    // returns it. LoadSharedMesh gives one mesh for every object that asks.
    Mesh* LoadMesh(const std::string& path);
    // The object keeps the mesh alive; others may share it.
    void SetMesh(std::shared_ptr<Mesh> mesh);
    Mesh* GetMesh() const { return mesh_.get(); }

    void SetTransform(const Matrix4& transform) { transform_ = transform; }
    const Matrix4& GetTransform() const { return transform_; }
    // InvalidShader draws with the program the caller has bound, or, when none is, with the
    // built-in lit or unlit program that the material asks for.
    void SetShader(ShaderHandle shader) { shader_ = shader; }
    ShaderHandle GetShader() const { return shader_; }
    // InvalidTexture leaves the bound texture alone.
    void SetTexture(Marrowgate::Graphics::TextureHandle texture) { texture_ = texture; }
    Marrowgate::Graphics::TextureHandle GetTexture() const { return texture_; }
    // Used only by the built-in programs.
    void SetMaterial(const Material& material) { material_ = material; }
    const Material& GetMaterial() const { return material_; }

private:
    Matrix4 transform_;
    friend class RenderList;
    RenderList* renderList_ = nullptr;
    std::shared_ptr<Mesh> mesh_;
    ShaderHandle shader_ = InvalidShader;
    Marrowgate::Graphics::TextureHandle texture_ = Marrowgate::Graphics::InvalidTexture;
    Material material_;
};

// The live MeshObjects registered in it, in no meaningful order.
class RenderList : private Marrowgate::Core::Noncopyable
{
public:
    // The program's list, where objects made without a list of their own go.
    static RenderList& Get();

    RenderList() = default;
    // Its objects stay alive, registered nowhere.
    ~RenderList();

    // Draws each object that has a mesh under view x its transform, binding its shader and
    // texture when it names them; objects that can be drawn together are (see above), where
    // the first of them would have been drawn. When the caller has no program bound, objects
    // without a shader draw with the built-in programs and their materials, lit by the last
    // SceneLighting::ApplyLighting; the pass then ends with no program bound again. Objects
    // added or removed meanwhile do not affect the pass.
    void Render(const Matrix4& view) const;
    // Draws every object that has a mesh with `program` alone, binding no texture or material,
    // and puts the bound program back: for depth passes such as a shadow map. Objects sharing a
    // mesh draw together when the program declares `instanceTransform`.
    void RenderWithProgram(const Matrix4& view, ShaderHandle program) const;
    std::size_t GetSize() const { return objects_.size(); }

private:
    friend class MeshObject;
    void Add(MeshObject* object);
    void Remove(MeshObject* object);

    std::vector<MeshObject*> objects_;
};

} // namespace Cinderhall
