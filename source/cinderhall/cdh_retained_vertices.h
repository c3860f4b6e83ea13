#pragma once
/// A list of 3D vertices drawn from an OpenGL buffer that is kept between frames: it is uploaded
/// again only after the list changed or the context was re-created, so a list that never changes
/// (a ground grid) costs one draw call a frame, through a vertex array of its own, and no upload.
/// The first draw after a change goes through the renderer's streaming buffer instead, so a list
/// that changes between every two draws (debug lines rebuilt each frame) never has a buffer of its
/// own made anew; the next draw of the unchanged list uploads it. The fixed-function set-up draws
/// the list from client memory.
/// @file
/// Depends on: the basic renderer. Main thread only.

#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <cstdint>
#include <vector>

namespace Cinderhall {

class RetainedVertices : private Marrowgate::Core::Noncopyable
{
public:
    RetainedVertices() = default;
    ~RetainedVertices();

    void Add(const Marrowgate::Graphics::Vertex3D& vertex);
    void Clear();
    bool IsEmpty() const { return vertices_.empty(); }
    const std::vector<Marrowgate::Graphics::Vertex3D>& GetVertices() const { return vertices_; }

    // Draws the list with the current program and matrices; nothing when it is empty.
    void Draw(Marrowgate::Graphics::PrimitiveType type);

private:
    // Whether buffer_ names a buffer of the current context.
    bool OwnsLiveBuffer() const;

    std::vector<Marrowgate::Graphics::Vertex3D> vertices_;
    std::uint32_t buffer_ = 0;
    // Reads the buffer without pointing anything anew at each draw; 0 where the context has no
    // vertex array objects.
    std::uint32_t vertexArray_ = 0;
    std::uint64_t bufferGeneration_ = 0;
    bool isUploaded_ = false;
    bool hasChangedSinceDrawn_ = false;
};

} // namespace Cinderhall
