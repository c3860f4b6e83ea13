#pragma once
// A move-only owner of one OpenGL object name that deletes it exactly once. Internal to the
// graphics implementation (it includes GL); public headers never see it.

#include <GL/glew.h>

#include <utility>

namespace mgImplementation {

enum class GLNameKind
{
    Texture,
    Buffer,
    VertexArray,
    Shader,
    Program
};

class GLName
{
public:
    GLName() = default;
    GLName(GLNameKind kind, GLuint name) : kind_(kind), name_(name) {}
    ~GLName() { Delete(); }

    GLName(GLName&& other) noexcept : kind_(other.kind_), name_(std::exchange(other.name_, 0u)) {}
    GLName& operator=(GLName&& other) noexcept
    {
        if (this != &other) {
            Delete();
            kind_ = other.kind_;
            name_ = std::exchange(other.name_, 0u);
        }
        return *this;
    }
    GLName(const GLName&) = delete;
    GLName& operator=(const GLName&) = delete;

    GLuint Get() const { return name_; }
    explicit operator bool() const { return name_ != 0u; }

    void Delete();
    // Forgets the name without deleting it: for when the context that owned it is already gone.
    void Abandon() { name_ = 0u; }

private:
    GLNameKind kind_ = GLNameKind::Texture;
    GLuint name_ = 0u;
};

inline void GLName::Delete()
{
    if (name_ == 0u) {
        return;
    }
    switch (kind_) {
    case GLNameKind::Texture:
        glDeleteTextures(1, &name_);
        break;
    case GLNameKind::Buffer:
        glDeleteBuffers(1, &name_);
        break;
    case GLNameKind::VertexArray:
        glDeleteVertexArrays(1, &name_);
        break;
    case GLNameKind::Shader:
        glDeleteShader(name_);
        break;
    case GLNameKind::Program:
        glDeleteProgram(name_);
        break;
    }
    name_ = 0u;
}

} // namespace mgImplementation
