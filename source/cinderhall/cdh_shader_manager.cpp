#include "cinderhall/cdh_shader_manager.h"

#include "cinderhall/cdh_mesh_instances.h"
#include "cinderhall/cdh_program_uniforms.h"
#include "cinderhall/cdh_shader_source.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <cstring>
#include <map>

namespace {
constexpr char kUnitName[] = "cdh_shader_manager";

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::ShaderHandle;
using Cinderhall::ShaderStage;

struct ProgramRecord
{
    std::string key;
    // How reports name the program: its two files.
    std::string description;
    GLuint program = 0;
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
    std::uint32_t referenceCount = 1;
    bool builtIn = false;
    bool hasInstanceTransform = false;
    Cinderhall::ProgramUniforms uniforms{0};
};

// Module-level tables shared by every user of the manager, for one context.
struct ShaderTables
{
    std::map<std::string, ShaderHandle> names;
    std::map<ShaderHandle, ProgramRecord> programs;
    GLuint fallbackProgram = 0;
    bool hasFallbackProgram = false;
    std::uint64_t contextGeneration = 0;
};

// The tables of the renderer's current context. Programs made under an earlier one went with it
// and their names may already belong to objects of the new one: they are forgotten, never
// deleted or bound, and the pairs load anew when asked for.
ShaderTables& Tables()
{
    static ShaderTables tables;
    const std::uint64_t generation = Renderer::GetContextGeneration();
    if (tables.contextGeneration != generation) {
        tables = ShaderTables();
        tables.contextGeneration = generation;
    }
    return tables;
}

// Vertex inputs by name: GLSL 1.50 and GLSL ES 1.00 cannot state locations themselves, and the
// Vertex3D layout needs these four at fixed places, then the per-instance matrix (four columns).
constexpr const char* kVertexInputs[] = {"vertexPosition", "vertexNormal", "vertexColor", "vertexTextureUV",
                                         "instanceTransform"};

bool ShadersAvailable()
{
    return Renderer::IsRendererReady() && !Renderer::IsFixedFunctionMode();
}

GLuint CompileStage(const std::string& source, ShaderStage stage, const std::string& path)
{
    const GLuint shader =
        glCreateShader(stage == ShaderStage::kVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const std::string composed =
        Cinderhall::ComposeShaderSource(source, stage, Renderer::IsEmbeddedProfile());
    const GLchar* text = composed.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    if (!Renderer::CheckShaderCompiled(shader)) {
        MG_ERROR("ShaderManager: Failed to compile %s shader. File: \"%s\"\n%s",
                 stage == ShaderStage::kVertex ? "vertex" : "fragment", path.c_str(),
                 Renderer::GetShaderLog(shader).c_str());
    }
    Renderer::ClearGLErrors();
    return shader;
}

GLuint LinkProgram(GLuint vertexShader, GLuint fragmentShader)
{
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    for (GLuint location = 0; location < std::size(kVertexInputs); ++location) {
        glBindAttribLocation(program, location, kVertexInputs[location]);
    }
    glLinkProgram(program);
    Renderer::ClearGLErrors();
    return program;
}

void DeleteProgram(const ProgramRecord& record)
{
    Renderer::ForgetProgramName(record.program);
    glDetachShader(record.program, record.fragmentShader);
    glDetachShader(record.program, record.vertexShader);
    glDeleteShader(record.fragmentShader);
    glDeleteShader(record.vertexShader);
    glDeleteProgram(record.program);
}

void UploadUniform(GLint location, Cinderhall::UniformKind kind, const void* values)
{
    const auto* floats = static_cast<const GLfloat*>(values);
    switch (kind) {
    case Cinderhall::UniformKind::kFloat:
        glUniform1fv(location, 1, floats);
        break;
    case Cinderhall::UniformKind::kInt:
        glUniform1iv(location, 1, static_cast<const GLint*>(values));
        break;
    case Cinderhall::UniformKind::kVector2:
        glUniform2fv(location, 1, floats);
        break;
    case Cinderhall::UniformKind::kVector3:
        glUniform3fv(location, 1, floats);
        break;
    case Cinderhall::UniformKind::kVector4:
        glUniform4fv(location, 1, floats);
        break;
    case Cinderhall::UniformKind::kMatrix3:
        glUniformMatrix3fv(location, 1, GL_FALSE, floats);
        break;
    case Cinderhall::UniformKind::kMatrix4:
        glUniformMatrix4fv(location, 1, GL_FALSE, floats);
        break;
    }
}

ProgramRecord* FindRecord(ShaderHandle handle)
{
    auto& programs = Tables().programs;
    const auto found = programs.find(handle);
    return found == programs.end() ? nullptr : &found->second;
}

} // namespace

namespace Cinderhall {

namespace {
ShaderManager theShaderManagerInstance;
} // namespace

ShaderManager* const theShaderManager = &theShaderManagerInstance;

ShaderHandle ShaderManager::CreateShaderFromFile(const std::string& vertexPath,
                                                 const std::string& fragmentPath)
{
    ShaderTables& tables = Tables();
    const std::string key = vertexPath + fragmentPath;
    if (const auto cached = tables.names.find(key); cached != tables.names.end()) {
        if (ProgramRecord* record = FindRecord(cached->second)) {
            ++record->referenceCount;
        }
        return cached->second;
    }
    if (!ShadersAvailable()) {
        // Fixed-function mode has no programs by design; anywhere else this is a caller's mistake.
        MG_ERROR_IF(!Renderer::IsFixedFunctionMode(),
                    "mgExternalError: Expected the renderer to be ready before creating shader \"%s\".",
                    key.c_str());
        return InvalidShader;
    }
    const std::string vertexSource = ReadShaderSource(vertexPath);
    MG_ERROR_IF(vertexSource.empty(), "Failed to load vertex shader: \"%s\"", vertexPath.c_str());
    const std::string fragmentSource = ReadShaderSource(fragmentPath);
    MG_ERROR_IF(fragmentSource.empty(), "Failed to load fragment shader: \"%s\"", fragmentPath.c_str());
    return BuildProgram(key, "\"" + vertexPath + "\" + \"" + fragmentPath + "\"", {vertexSource, vertexPath},
                        {fragmentSource, fragmentPath}, false);
}

ShaderHandle ShaderManager::CreateBuiltInShader(const std::string& name, const std::string& definitions,
                                                const std::string& vertexSource,
                                                const std::string& fragmentSource)
{
    ShaderTables& tables = Tables();
    if (const auto cached = tables.names.find(name); cached != tables.names.end()) {
        return cached->second;
    }
    if (!ShadersAvailable()) {
        return InvalidShader;
    }
    return BuildProgram(name, name, {definitions + vertexSource, name}, {definitions + fragmentSource, name},
                        true);
}

ShaderHandle ShaderManager::BuildProgram(const std::string& key, const std::string& description,
                                         const StageText& vertex, const StageText& fragment, bool builtIn)
{
    ProgramRecord record;
    record.key = key;
    record.description = description;
    record.builtIn = builtIn;
    record.vertexShader = CompileStage(vertex.source, ShaderStage::kVertex, vertex.origin);
    record.fragmentShader = CompileStage(fragment.source, ShaderStage::kFragment, fragment.origin);
    record.program = LinkProgram(record.vertexShader, record.fragmentShader);
    record.uniforms = Cinderhall::ProgramUniforms(record.program);
    if (!Renderer::CheckProgramLinked(record.program)) {
        // A program that failed to link is never handed out: binding it would draw nothing and
        // raise GL errors far from the cause.
        MG_ERROR("ShaderManager: Failed to link shader program. File: \"%s\" File: \"%s\"\n%s",
                 vertex.origin.c_str(), fragment.origin.c_str(),
                 Renderer::GetProgramLog(record.program).c_str());
        DeleteProgram(record);
        return InvalidShader;
    }
    record.hasInstanceTransform = glGetAttribLocation(record.program, "instanceTransform") ==
                                  static_cast<GLint>(kInstanceTransformLocation);
    ShaderTables& tables = Tables();
    const ShaderHandle handle = record.program;
    if (tables.programs.emplace(handle, std::move(record)).second) {
        MG_ERROR_IF(tables.names.contains(key), "CacheError: Loading shader that is already in cache!");
        tables.names[key] = handle;
    }
    return handle;
}

void ShaderManager::DestroyShader(ShaderHandle handle)
{
    if (!Renderer::IsRendererReady()) {
        return; // the context and its programs are gone already
    }
    ProgramRecord* record = FindRecord(handle);
    if (record == nullptr || record->builtIn) {
        return; // built-in programs live as long as their context
    }
    if (record->referenceCount == 0) {
        MG_ERROR("Error: This should NEVER happen.");
        return;
    }
    if (--record->referenceCount > 0) {
        return;
    }
    if (handle == GetBoundShader()) {
        BindShader(InvalidShader);
    }
    DeleteProgram(*record);
    ShaderTables& tables = Tables();
    std::erase_if(tables.names, [record](const auto& entry) { return entry.first == record->key; });
    tables.programs.erase(handle);
}

void ShaderManager::ForgetEarlierContexts()
{
    const std::uint64_t generation = Renderer::GetContextGeneration();
    if (contextGeneration_ != generation) {
        contextGeneration_ = generation;
        boundShader_ = InvalidShader;
        bindStack_.clear();
    }
}

ShaderHandle ShaderManager::GetBoundShader()
{
    ForgetEarlierContexts();
    return boundShader_;
}

void ShaderManager::BindShader(ShaderHandle handle)
{
    // 2D draws gathered under the previous program must be drawn before anything changes.
    Renderer::Flush();
    ForgetEarlierContexts();
    ShaderTables& tables = Tables();
    const bool shadersAvailable = ShadersAvailable();
    if (shadersAvailable && !tables.hasFallbackProgram) {
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        tables.fallbackProgram = static_cast<GLuint>(current);
        tables.hasFallbackProgram = true;
    }
    boundShader_ = handle;
    if (!shadersAvailable) {
        return;
    }
    if (handle == InvalidShader) {
        Renderer::UseProgramName(tables.fallbackProgram);
        return;
    }
    const ProgramRecord* record = FindRecord(handle);
    if (record == nullptr) {
        MG_ERROR("Error: Shader is being bound to invalid shader!?");
        return;
    }
    Renderer::UseProgramName(record->program);
}

void ShaderManager::PushShader(ShaderHandle handle)
{
    bindStack_.push_back(GetBoundShader());
    BindShader(handle);
}

void ShaderManager::PopShader()
{
    ForgetEarlierContexts();
    if (bindStack_.empty()) {
        MG_ERROR("mgExternalError: PopShader called without a matching PushShader.");
        return;
    }
    BindShader(bindStack_.back());
    bindStack_.pop_back();
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, float x, float y, float z,
                                     float w)
{
    const float values[] = {x, y, z, w};
    SetUniform(handle, name, UniformKind::kVector4, values, MissingUniform::kIgnore);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, float value)
{
    SetUniform(handle, name, UniformKind::kFloat, &value, MissingUniform::kReport);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, int value)
{
    SetUniform(handle, name, UniformKind::kInt, &value, MissingUniform::kReport);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, const Vector2& value)
{
    SetUniform(handle, name, UniformKind::kVector2, value.Data(), MissingUniform::kReport);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, const Vector3& value)
{
    SetUniform(handle, name, UniformKind::kVector3, value.Data(), MissingUniform::kReport);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, const Vector4& value)
{
    SetUniform(handle, name, UniformKind::kVector4, value.Data(), MissingUniform::kReport);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, const Matrix3& value)
{
    // OpenGL reads matrices column by column (ES 2.0 cannot transpose for us); ours are stored
    // row by row.
    const Matrix3 transposed = value.GetTransposed();
    SetUniform(handle, name, UniformKind::kMatrix3, transposed.Data(), MissingUniform::kReport);
}

void ShaderManager::SetShaderUniform(ShaderHandle handle, const std::string& name, const Matrix4& value)
{
    const Matrix4 transposed = value.GetTransposed();
    SetUniform(handle, name, UniformKind::kMatrix4, transposed.Data(), MissingUniform::kReport);
}

void ShaderManager::SetUniform(ShaderHandle handle, const std::string& name, UniformKind kind,
                               const void* values, MissingUniform missing)
{
    ForgetEarlierContexts();
    ProgramRecord* record = FindRecord(handle);
    if (!ShadersAvailable() || record == nullptr) {
        MG_ERROR_IF(ShadersAvailable() && handle != InvalidShader,
                    "Error: Shader is being bound to invalid shader!?");
        return;
    }
    ProgramUniforms::Uniform& uniform = record->uniforms.Find(name);
    if (uniform.location == -1) {
        MG_ERROR_IF(missing == MissingUniform::kReport && !uniform.wasReported,
                    "ShaderManager: Program %s has no active uniform \"%s\".", record->description.c_str(),
                    name.c_str());
        uniform.wasReported = true;
        return;
    }
    if (!UniformAccepts(uniform.type, kind)) {
        // A mismatched set would only raise a GL error far from its cause.
        MG_ERROR_IF(!uniform.wasReported,
                    "ShaderManager: Uniform \"%s\" of program %s is declared %s but was given %s.",
                    name.c_str(), record->description.c_str(), UniformTypeName(uniform.type),
                    UniformKindName(kind));
        uniform.wasReported = true;
        return;
    }
    const std::size_t bytes = UniformKindBytes(kind);
    if (uniform.valueBytes == bytes && std::memcmp(uniform.value.data(), values, bytes) == 0) {
        return;
    }
    std::memcpy(uniform.value.data(), values, bytes);
    uniform.valueBytes = bytes;
    // OpenGL sets uniforms of the current program only; the usual caller (lighting) sets them on
    // the program it has just bound, which costs no switch.
    const GLuint current = Renderer::GetCurrentProgramName();
    if (current != record->program) {
        Renderer::UseProgramName(record->program);
    }
    UploadUniform(uniform.location, kind, values);
    if (current != record->program) {
        Renderer::UseProgramName(current);
    }
}

bool ShaderManager::HasInstanceTransform(ShaderHandle handle)
{
    const ProgramRecord* record = FindRecord(handle);
    return record != nullptr && record->hasInstanceTransform;
}

} // namespace Cinderhall
