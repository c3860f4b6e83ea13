#include "cinderhall/cdh_mesh.h"

#include "cinderhall/cdh_mesh_instances.h"
#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace {

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::MeshData;
using Cinderhall::Vertex3D;

std::uint64_t theMeshDrawCalls = 0;

bool UsesShaders()
{
    return Renderer::IsRendererReady() && !Renderer::IsFixedFunctionMode();
}

bool HasVertexArrays()
{
    return Renderer::HasEntryPoint(glGenVertexArrays);
}

// Attributes 0 to 3 over the Vertex3D records of the bound array buffer.
void SetVertexLayout()
{
    constexpr GLsizei stride = sizeof(Vertex3D);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Vertex3D, x)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Vertex3D, normalX)));
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(Vertex3D, color)));
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Vertex3D, u)));
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

// Whether the current context lists `name` among its extensions (ES 2.0 and legacy contexts).
bool HasExtension(std::string_view name)
{
    const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (list == nullptr) {
        return false;
    }
    const std::string_view extensions(list);
    for (std::size_t start = 0; start < extensions.size();) {
        const std::size_t end = std::min(extensions.find(' ', start), extensions.size());
        if (extensions.substr(start, end - start) == name) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Core ES 2.0 (and so WebGL 1) draws only 8- and 16-bit indices; 32-bit ones need an extension
// there, while desktop OpenGL always has them.
bool HasWideIndices()
{
    return !Renderer::IsEmbeddedProfile() || HasExtension("GL_OES_element_index_uint");
}

// The legacy pipeline draws straight from the mesh's arrays; normals are ignored because the
// fixed-function path runs without lighting.
void BeginFixedFunctionDraw(const MeshData& data)
{
    if constexpr (Renderer::kFixedFunctionBuilt) {
        const Vertex3D* vertices = data.vertices.data();
        // Client arrays need no buffer bound; a context older than buffer objects has none to unbind.
        if (Renderer::HasEntryPoint(glBindBuffer)) {
            glBindBuffer(GL_ARRAY_BUFFER, 0);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex3D), &vertices->x);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex3D), &vertices->color);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex3D), &vertices->u);
    }
}

void EndFixedFunctionDraw()
{
    if constexpr (Renderer::kFixedFunctionBuilt) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
}

} // namespace

namespace Cinderhall {

Mesh::Mesh(MeshData data) : pieces_(ComputeMeshPieces(data)), data_(std::move(data))
{
    if (UsesShaders() && !IsEmpty()) {
        BuildBuffers();
    }
}

Mesh::~Mesh()
{
    ReleaseBuffers();
}

bool Mesh::IsReady() const
{
    return ready_ && Renderer::IsRendererReady() && bufferGeneration_ == Renderer::GetContextGeneration();
}

void Mesh::BuildBuffers()
{
    ReleaseBuffers();
    bufferGeneration_ = Renderer::GetContextGeneration();
    if (!ChooseIndexType()) {
        return;
    }
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
    if (indexType_ == GL_UNSIGNED_SHORT) {
        const std::vector<std::uint16_t> narrow(data_.indices.begin(), data_.indices.end());
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(narrow.size() * sizeof(std::uint16_t)),
                     narrow.data(), GL_STATIC_DRAW);
    } else {
        glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(data_.indices.size() * sizeof(std::uint32_t)),
                     data_.indices.data(), GL_STATIC_DRAW);
    }
    ready_ = true;
}

bool Mesh::ChooseIndexType()
{
    // A small mesh's 32-bit indices are never checked against the extension: they would go as
    // 16 bits anyway.
    const bool hasWideIndices = data_.vertices.size() > std::size_t{65536} && HasWideIndices();
    switch (ChooseMeshIndexWidth(data_.vertices.size(), hasWideIndices)) {
    case MeshIndexWidth::k16Bit:
        indexType_ = GL_UNSIGNED_SHORT;
        return true;
    case MeshIndexWidth::k32Bit:
        indexType_ = GL_UNSIGNED_INT;
        return true;
    case MeshIndexWidth::kNone:
        break;
    }
    return false;
}

void Mesh::ReleaseBuffers()
{
    if (!ready_) {
        return;
    }
    // Once the renderer is gone so is the context, and the names with it; names of an earlier
    // context may already belong to objects of the current one.
    if (IsReady()) {
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

bool Mesh::PrepareBuffers()
{
    if (IsEmpty() || !Renderer::IsRendererReady() || Renderer::IsFixedFunctionMode()) {
        return false;
    }
    Renderer::Flush(); // gathered 2D draws come first
    PrepareInstanceTransforms();
    if (bufferGeneration_ != Renderer::GetContextGeneration()) {
        BuildBuffers();
    }
    return ready_;
}

void Mesh::BindBuffers() const
{
    if (vertexArray_ != 0) {
        glBindVertexArray(vertexArray_);
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    SetVertexLayout();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
}

void Mesh::UnbindBuffers() const
{
    if (vertexArray_ == 0) {
        DisableVertexLayout();
    }
}

void Mesh::DrawPieces(bool fixedFunction) const
{
    const GLenum indexType = fixedFunction ? GL_UNSIGNED_INT : static_cast<GLenum>(indexType_);
    const std::size_t indexBytes =
        indexType == GL_UNSIGNED_SHORT ? sizeof(std::uint16_t) : sizeof(std::uint32_t);
    for (const MeshPiece& piece : pieces_) {
        if (piece.isTransformed) {
            Renderer::PushMatrix();
            Renderer::MultiplyMatrix(piece.transform);
        }
        // Client-side indices in the legacy pipeline, an offset into the index buffer otherwise.
        const void* indices = fixedFunction
                                  ? static_cast<const void*>(data_.indices.data() + piece.firstIndex)
                                  : reinterpret_cast<const void*>(piece.firstIndex * indexBytes);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(piece.indexCount), indexType, indices);
        ++theMeshDrawCalls;
        if (piece.isTransformed) {
            Renderer::PopMatrix();
        }
    }
}

void Mesh::Render()
{
    if (IsEmpty() || !Renderer::IsRendererReady()) {
        return;
    }
    if (Renderer::IsFixedFunctionMode()) {
        Renderer::Flush();
        BeginFixedFunctionDraw(data_);
        DrawPieces(true);
        EndFixedFunctionDraw();
        return;
    }
    if (!PrepareBuffers()) {
        return;
    }
    BindBuffers();
    DrawPieces(false);
    UnbindBuffers();
}

void Mesh::Render(const Matrix4& transform)
{
    Renderer::PushMatrix();
    Renderer::MultiplyMatrix(transform);
    Render();
    Renderer::PopMatrix();
}

void Mesh::RenderInstanced(std::span<const Matrix4> transforms)
{
    if (transforms.empty() || !PrepareBuffers()) {
        return;
    }
    BindBuffers();
    const auto indexCount = static_cast<GLsizei>(data_.indices.size());
    if (IsInstancingAvailable()) {
        EnableInstanceTransforms(transforms);
        glDrawElementsInstanced(GL_TRIANGLES, indexCount, indexType_, nullptr,
                                static_cast<GLsizei>(transforms.size()));
        ++theMeshDrawCalls;
        DisableInstanceTransforms();
    } else {
        for (const Matrix4& transform : transforms) {
            SetConstantInstanceTransform(transform);
            glDrawElements(GL_TRIANGLES, indexCount, indexType_, nullptr);
            ++theMeshDrawCalls;
        }
        SetConstantInstanceTransform(Matrix4());
    }
    UnbindBuffers();
}

std::uint64_t GetMeshDrawCallCount()
{
    return theMeshDrawCalls;
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

using Marrowgate::Core::DataFile;

std::unique_ptr<Mesh> MakeBinaryMesh(MeshData data)
{
    return HasWholeTriangles(data) && HasIndicesInRange(data) ? std::make_unique<Mesh>(std::move(data))
                                                              : std::make_unique<Mesh>();
}

// Binary files are read straight into the mesh's arrays once the header has proved that the
// counts fit in the file: large meshes are never held twice.
std::unique_ptr<Mesh> LoadBinaryFile(DataFile& file, std::span<const std::byte> headerBytes)
{
    BinaryMeshHeader header;
    if (!ReadBinaryMeshHeader(headerBytes, file.GetSize(), header)) {
        return std::make_unique<Mesh>();
    }
    MeshData data;
    data.flags = header.flags;
    data.indices.resize(header.indexCount);
    data.vertices.resize(header.vertexCount);
    if (!file.ReadExactly(std::as_writable_bytes(std::span(data.indices))) ||
        !file.ReadExactly(std::as_writable_bytes(std::span(data.vertices)))) {
        return std::make_unique<Mesh>();
    }
    return MakeBinaryMesh(std::move(data));
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
        return ReadBinaryMesh(fileBytes, data) ? MakeBinaryMesh(std::move(data)) : std::make_unique<Mesh>();
    }
    if (!ReadTextMesh(fileBytes, encoding == MeshEncoding::kText, data)) {
        return std::make_unique<Mesh>();
    }
    return MakeCheckedMesh(std::move(data));
}

std::unique_ptr<Mesh> LoadMeshFromFile(const std::string& path)
{
    const Marrowgate::Core::Error::ReportSubject subject(path);
    DataFile file(path, Marrowgate::Core::kMaximumMeshFileBytes);
    if (!file.IsOpen()) {
        return nullptr;
    }
    std::vector<std::byte> contents(std::min<std::uint64_t>(file.GetSize(), kBinaryMeshHeaderSize));
    if (!file.ReadExactly(contents)) {
        return nullptr;
    }
    if (DetectMeshEncoding(contents, path) == MeshEncoding::kBinary) {
        return LoadBinaryFile(file, contents);
    }
    const std::size_t alreadyRead = contents.size();
    contents.resize(file.GetSize());
    if (!file.ReadExactly(std::span(contents).subspan(alreadyRead))) {
        return nullptr;
    }
    return LoadMeshFromMemory(contents, path);
}

} // namespace Cinderhall
