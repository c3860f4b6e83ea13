#include "cinderhall/cdh_mesh.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>

namespace {

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::MeshData;
using Cinderhall::Vertex3D;

bool UsesShaders()
{
    return Renderer::IsRendererReady() && !Renderer::IsFixedFunctionMode();
}

bool HasVertexArrays()
{
    return glGenVertexArrays != nullptr;
}

// Attributes 0 to 3 over the Vertex3D records of the bound array buffer.
void SetVertexLayout()
{
    constexpr GLsizei stride = sizeof(Vertex3D);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex3D, x)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Vertex3D, normalX)));
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(Vertex3D, color)));
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex3D, u)));
    for (GLuint attribute = 0; attribute < 4; ++attribute) {
        glEnableVertexAttribArray(attribute);
    }
}

void DisableVertexLayout()
{
    for (GLuint attribute = 0; attribute < 4; ++attribute) {
        glDisableVertexAttribArray(attribute);
    }
}

// The legacy pipeline draws straight from the mesh's arrays; normals are ignored because the
// fixed-function path runs without lighting.
void DrawFixedFunction(const MeshData& data)
{
    const Vertex3D* vertices = data.vertices.data();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex3D), &vertices->x);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex3D), &vertices->color);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex3D), &vertices->u);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(data.indices.size()), GL_UNSIGNED_INT, data.indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

} // namespace

namespace Cinderhall {

Mesh::Mesh(MeshData data) : data_(std::move(data))
{
    if (UsesShaders() && !IsEmpty()) {
        BuildBuffers();
    }
}

Mesh::~Mesh()
{
    ReleaseBuffers();
}

void Mesh::BuildBuffers()
{
    ReleaseBuffers();
    if (HasVertexArrays()) {
        glGenVertexArrays(1, &vertexArray_);
        glBindVertexArray(vertexArray_);
    }
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data_.vertices.size() * sizeof(Vertex3D)),
                 data_.vertices.data(), GL_STATIC_DRAW);
    if (HasVertexArrays()) {
        SetVertexLayout();
    }
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(data_.indices.size() * sizeof(std::uint32_t)),
                 data_.indices.data(), GL_STATIC_DRAW);
    ready_ = true;
}

void Mesh::ReleaseBuffers()
{
    if (!ready_) {
        return;
    }
    // Once the renderer is gone so is the context, and the names with it.
    if (Renderer::IsRendererReady()) {
        if (vertexArray_ != 0) {
            glBindVertexArray(vertexArray_);
            DisableVertexLayout();
        }
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        glDeleteBuffers(1, &indexBuffer_);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDeleteBuffers(1, &vertexBuffer_);
        if (vertexArray_ != 0) {
            glBindVertexArray(0);
            glDeleteVertexArrays(1, &vertexArray_);
        }
    }
    vertexArray_ = 0;
    vertexBuffer_ = 0;
    indexBuffer_ = 0;
    ready_ = false;
}

void Mesh::Render()
{
    if (IsEmpty() || !Renderer::IsRendererReady()) {
        return;
    }
    if (Renderer::IsFixedFunctionMode()) {
        DrawFixedFunction(data_);
        return;
    }
    if (!ready_) {
        BuildBuffers();
    }
    const auto indexCount = static_cast<GLsizei>(data_.indices.size());
    if (vertexArray_ != 0) {
        glBindVertexArray(vertexArray_);
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    SetVertexLayout();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    DisableVertexLayout();
}

namespace {

// The checks and normal generation every mesh built from arrays goes through.
std::unique_ptr<Mesh> MakeCheckedMesh(MeshData data)
{
    if (!IsDrawableMeshData(data)) {
        return std::make_unique<Mesh>();
    }
    if ((data.flags & kNormals) == 0) {
        ComputeTriangleNormals(data);
    }
    return std::make_unique<Mesh>(std::move(data));
}

// The whole file in one read: mesh files can be large and are parsed from memory.
bool ReadWholeFile(const std::string& path, std::vector<std::byte>& contents)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false; // a directory would "open" and report a nonsense size
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return false;
    }
    contents.resize(static_cast<std::size_t>(size));
    contents.resize(std::fread(contents.data(), 1, contents.size(), file.get()));
    return true;
}

} // namespace

std::unique_ptr<Mesh> CreateMeshFromData(std::vector<Vertex3D> vertices, std::vector<std::uint32_t> indices,
                                         std::uint8_t flags)
{
    MeshData data;
    data.vertices = std::move(vertices);
    data.indices = std::move(indices);
    data.flags = flags;
    return MakeCheckedMesh(std::move(data));
}

std::unique_ptr<Mesh> LoadMeshFromMemory(std::span<const std::byte> fileBytes, const std::string& path)
{
    const MeshEncoding encoding = DetectMeshEncoding(fileBytes, path);
    if (encoding == MeshEncoding::kNotAMesh) {
        return nullptr;
    }
    MeshData data;
    if (encoding == MeshEncoding::kBinary) {
        // Binary meshes are drawn as stored, normals included, and a corrupt one is still a mesh.
        return ReadBinaryMesh(fileBytes, data) ? std::make_unique<Mesh>(std::move(data)) : std::make_unique<Mesh>();
    }
    if (!ReadTextMesh(fileBytes, encoding == MeshEncoding::kText, data)) {
        return std::make_unique<Mesh>();
    }
    return MakeCheckedMesh(std::move(data));
}

std::unique_ptr<Mesh> LoadMeshFromFile(const std::string& path)
{
    std::vector<std::byte> contents;
    if (!ReadWholeFile(path, contents)) {
        return nullptr;
    }
    return LoadMeshFromMemory(contents, path);
}

} // namespace Cinderhall
