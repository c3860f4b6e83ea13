#pragma once
// Counts the calls that reach some OpenGL entry points while it lives, by standing in for GLEW's
// loaded function pointers. Functions of OpenGL 1.1 and older are plain library functions, not
// pointers, and cannot be counted this way.

#include <GL/glew.h>

#include <array>
#include <string>
#include <string_view>
#include <type_traits>

namespace QuorvaneTest {

namespace CountedCalls {

template <auto& entryPoint, typename Pointer = std::remove_cvref_t<decltype(entryPoint)>> struct StandIn;

template <auto& entryPoint, typename Result, typename... Arguments>
struct StandIn<entryPoint, Result(GLAPIENTRY*)(Arguments...)>
{
    static inline Result(GLAPIENTRY* original)(Arguments...) = nullptr;
    static inline int calls = 0;

    static Result GLAPIENTRY Call(Arguments... arguments)
    {
        ++calls;
        return original(arguments...);
    }
    static void Install()
    {
        calls = 0;
        original = entryPoint;
        entryPoint = Call;
    }
    static void Restore() { entryPoint = original; }
};

struct Counted
{
    std::string_view name;
    void (*install)();
    void (*restore)();
    const int* calls;
};

template <auto& entryPoint> constexpr Counted Count(std::string_view name)
{
    using Stand = StandIn<entryPoint>;
    return {name, Stand::Install, Stand::Restore, &Stand::calls};
}

// What the renderer and the kits call for a frame's drawing and state.
inline const std::array kCounted = {
    Count<glUseProgram>("useProgram"),
    Count<glGetUniformLocation>("getUniformLocation"),
    Count<glUniformMatrix4fv>("uniformMatrix4fv"),
    Count<glUniform4fv>("uniform4fv"),
    Count<glUniform1f>("uniform1f"),
    Count<glBindVertexArray>("bindVertexArray"),
    Count<glBindBuffer>("bindBuffer"),
    Count<glBufferData>("bufferData"),
    Count<glBufferSubData>("bufferSubData"),
    Count<glVertexAttribPointer>("vertexAttribPointer"),
    Count<glEnableVertexAttribArray>("enableVertexAttribArray"),
    Count<glDisableVertexAttribArray>("disableVertexAttribArray"),
    Count<glActiveTexture>("activeTexture"),
};

} // namespace CountedCalls

class GLCallCounter
{
public:
    GLCallCounter()
    {
        for (const CountedCalls::Counted& entry : CountedCalls::kCounted) {
            entry.install();
        }
    }
    ~GLCallCounter()
    {
        for (const CountedCalls::Counted& entry : CountedCalls::kCounted) {
            entry.restore();
        }
    }
    GLCallCounter(const GLCallCounter&) = delete;
    GLCallCounter& operator=(const GLCallCounter&) = delete;

    // Calls of the entry point of that name (without "gl") so far; -1 for one not counted.
    int Calls(std::string_view name) const
    {
        for (const CountedCalls::Counted& entry : CountedCalls::kCounted) {
            if (entry.name == name) {
                return *entry.calls;
            }
        }
        return -1;
    }

    // "useProgram 2, bindBuffer 4", the entry points called so far, for failure messages.
    std::string Describe() const
    {
        std::string description;
        for (const CountedCalls::Counted& entry : CountedCalls::kCounted) {
            if (*entry.calls > 0) {
                description += (description.empty() ? "" : ", ") + std::string(entry.name) + " " +
                               std::to_string(*entry.calls);
            }
        }
        return description;
    }
};

} // namespace QuorvaneTest
