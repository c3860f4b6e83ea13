#include "cinderhall/cdh_mesh.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <filesystem>

namespace {
constexpr char kUnitName[] = "cdh_mesh";

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

// The legacy pipeline draws straight from the mesh's arrays; normals are ignored because the
// fixed-function path runs without lighting.
void DrawFixedFunction(const MeshData& data)
{
    const Vertex3D* vertices = data.vertices.data();
    // Client arrays need no buffer bound; a context older than buffer objects has none to unbind.
    if (glBindBuffer != nullptr) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex3D), &vertices->x);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex3D), &vertices->color);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex3D), &vertices->u);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(data.indices.size()), GL_UNSIGNED_INT,
                   data.indices.data());
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
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(data_.indices.size() * sizeof(std::uint32_t)), data_.indices.data(),
                 GL_STATIC_DRAW);
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
    Renderer::Flush(); // gathered 2D draws come first
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

using FilePointer = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePointer OpenRegularFile(const std::string& path, std::uint64_t& size)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return {nullptr, &std::fclose}; // a directory would "open" and report a nonsense size
    }
    size = std::filesystem::file_size(path, error);
    return {error ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose};
}

bool ReadInto(std::FILE* file, void* destination, std::size_t byteCount)
{
    return std::fread(destination, 1, byteCount, file) == byteCount;
}

// Binary files are read straight into the mesh's arrays once the header has proved that the
// counts fit in the file: large meshes are never held twice.
std::unique_ptr<Mesh> LoadBinaryFile(std::FILE* file, std::uint64_t fileSize,
                                     std::span<const std::byte> headerBytes, const std::string& path)
{
    BinaryMeshHeader header;
    if (!ReadBinaryMeshHeader(headerBytes, fileSize, header)) {
        return std::make_unique<Mesh>();
    }
    MeshData data;
    data.flags = header.flags;
    data.indices.resize(header.indexCount);
    data.vertices.resize(header.vertexCount);
    if (!ReadInto(file, data.indices.data(), data.indices.size() * sizeof(std::uint32_t)) ||
        !ReadInto(file, data.vertices.data(), data.vertices.size() * sizeof(Vertex3D))) {
        MG_ERROR("cdhDataError: Mesh file \"%s\" ended while it was being read.", path.c_str());
        return std::make_unique<Mesh>();
    }
    return HasIndicesInRange(data) ? std::make_unique<Mesh>(std::move(data)) : std::make_unique<Mesh>();
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
        return ReadBinaryMesh(fileBytes, data) ? std::make_unique<Mesh>(std::move(data))
                                               : std::make_unique<Mesh>();
    }
    if (!ReadTextMesh(fileBytes, encoding == MeshEncoding::kText, data)) {
        return std::make_unique<Mesh>();
    }
    return MakeCheckedMesh(std::move(data));
}

std::unique_ptr<Mesh> LoadMeshFromFile(const std::string& path)
{
    std::uint64_t fileSize = 0;
    const FilePointer file = OpenRegularFile(path, fileSize);
    if (!file) {
        return nullptr;
    }
    std::vector<std::byte> contents(std::min<std::uint64_t>(fileSize, kBinaryMeshHeaderSize));
    contents.resize(std::fread(contents.data(), 1, contents.size(), file.get()));
    if (DetectMeshEncoding(contents, path) == MeshEncoding::kBinary) {
        return LoadBinaryFile(file.get(), fileSize, contents, path);
    }
    const std::size_t alreadyRead = contents.size();
    contents.resize(std::max<std::uint64_t>(fileSize, alreadyRead));
    contents.resize(alreadyRead +
                    std::fread(contents.data() + alreadyRead, 1, contents.size() - alreadyRead, file.get()));
    return LoadMeshFromMemory(contents, path);
}

} // namespace Cinderhall
