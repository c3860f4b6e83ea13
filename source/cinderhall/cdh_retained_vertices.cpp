#include "cinderhall/cdh_retained_vertices.h"

#include <GL/glew.h>

namespace Cinderhall {

namespace Renderer = Marrowgate::Graphics;

RetainedVertices::~RetainedVertices()
{
    if (OwnsLiveBuffer()) {
        if (vertexArray_ != 0) {
            glDeleteVertexArrays(1, &vertexArray_);
        }
        glDeleteBuffers(1, &buffer_);
    }
}

bool RetainedVertices::OwnsLiveBuffer() const
{
    return buffer_ != 0 && Renderer::IsRendererReady() &&
           bufferGeneration_ == Renderer::GetContextGeneration();
}

void RetainedVertices::Add(const Renderer::Vertex3D& vertex)
{
    vertices_.push_back(vertex);
    isUploaded_ = false;
    hasChangedSinceDrawn_ = true;
}

void RetainedVertices::Clear()
{
    if (!vertices_.empty()) {
        vertices_.clear();
        isUploaded_ = false;
        hasChangedSinceDrawn_ = true;
    }
}

void RetainedVertices::Draw(Renderer::PrimitiveType type)
{
    if (vertices_.empty() || !Renderer::IsRendererReady()) {
        return;
    }
    const auto count = static_cast<std::uint32_t>(vertices_.size());
    if (Renderer::IsFixedFunctionMode() || hasChangedSinceDrawn_) {
        hasChangedSinceDrawn_ = false;
        Renderer::RenderVertices3D(type, vertices_.data(), count);
        return;
    }
    if (!OwnsLiveBuffer()) {
        // A name from a context that is gone went with it; there is nothing to delete.
        glGenBuffers(1, &buffer_);
        bufferGeneration_ = Renderer::GetContextGeneration();
        isUploaded_ = false;
        vertexArray_ = Renderer::CreateVertexArray3D(buffer_);
    }
    if (!isUploaded_) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(Renderer::Vertex3D)),
                     vertices_.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        isUploaded_ = true;
    }
    if (vertexArray_ != 0) {
        Renderer::RenderVertexArray3D(type, vertexArray_, count);
    } else {
        Renderer::RenderVertexBuffer3D(type, buffer_, count);
    }
}

} // namespace Cinderhall
