// MeshObject and the RenderList that draws them.

#include "cinderhall/cdh_mesh.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <variant>

namespace {

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::Matrix4;
using Cinderhall::MeshObject;
using Cinderhall::theShaderManager;

// What the pass has bound so far: an object that names what is already bound binds nothing, as
// each bind uploads the matrices again.
struct BoundLook
{
    Cinderhall::ShaderHandle shader = Cinderhall::InvalidShader;
    Renderer::TextureHandle texture = Renderer::InvalidTexture;

    void Bind(const MeshObject& object)
    {
        if (object.GetShader() != Cinderhall::InvalidShader && object.GetShader() != shader) {
            theShaderManager->BindShader(object.GetShader());
            shader = object.GetShader();
        }
        if (object.GetTexture() != Renderer::InvalidTexture && object.GetTexture() != texture) {
            Renderer::BindTexture(object.GetTexture());
            texture = object.GetTexture();
        }
    }
};

// The built-in program an object's material asks for; InvalidShader without programs, which
// the fixed-function set-up says once.
Cinderhall::ShaderHandle ChooseBuiltInProgram(const MeshObject& object)
{
    const Cinderhall::ShaderHandle program = Cinderhall::GetBuiltInProgram(
        object.GetMaterial().lit ? Cinderhall::BuiltInProgram::kLit : Cinderhall::BuiltInProgram::kUnlit);
    if (program == Cinderhall::InvalidShader) {
        static bool saidOnce = false;
        if (!saidOnce && Renderer::IsFixedFunctionMode()) {
            std::fputs(
                "Cinderhall: fixed-function set-up: meshes without a shader of their own draw unlit, in "
                "their vertex colours\n",
                stderr);
            saidOnce = true;
        }
    }
    return program;
}

// Binds a built-in program, lit by the last lighting the first time it draws in a pass, and
// sends it the object's material.
void UseBuiltInProgram(Cinderhall::ShaderHandle program, const MeshObject& object, BoundLook& bound,
                       std::vector<Cinderhall::ShaderHandle>& lightingSent)
{
    if (program != bound.shader) {
        theShaderManager->BindShader(program);
        bound.shader = program;
    }
    if (std::find(lightingSent.begin(), lightingSent.end(), program) == lightingSent.end()) {
        Cinderhall::UseLastLighting(program);
        lightingSent.push_back(program);
    }
    Cinderhall::ApplyMaterial(program, object.GetMaterial(), object.GetTexture() != Renderer::InvalidTexture);
}

// Objects drawn together: the first one's look, everyone's transforms. `builtInProgram` is the
// built-in program that draws them, or InvalidShader when they have a program of their own.
struct Batch
{
    const MeshObject* first = nullptr;
    Cinderhall::ShaderHandle builtInProgram = Cinderhall::InvalidShader;
    std::vector<Matrix4> transforms;
};

// A single object, with the built-in program that draws it (InvalidShader: its own or the
// caller's).
struct Single
{
    const MeshObject* object = nullptr;
    Cinderhall::ShaderHandle builtInProgram = Cinderhall::InvalidShader;
};

// The pass in drawing order: single objects, and batches where their first object stood.
struct Pass
{
    std::vector<std::variant<Single, std::size_t>> steps;
    std::vector<Batch> batches;
};

// What the pass draws with: each object's look, or one program for everything (depth passes).
struct PassProgram
{
    bool useBuiltInPrograms = false;
    Cinderhall::ShaderHandle everything = Cinderhall::InvalidShader;
};

// Node transforms are not applied to instances, so a mesh whose pieces move draws alone.
bool CanInstance(const Cinderhall::Mesh& mesh)
{
    for (const Cinderhall::MeshPiece& piece : mesh.GetPieces()) {
        if (piece.isTransformed) {
            return false;
        }
    }
    return true;
}

class PassPlanner
{
public:
    explicit PassPlanner(const PassProgram& program) : program_(program) {}

    Pass Plan(const std::vector<MeshObject*>& objects)
    {
        for (const MeshObject* object : objects) {
            if (object->GetMesh() != nullptr) {
                PlanObject(*object);
            }
        }
        return std::move(pass_);
    }

private:
    void PlanObject(const MeshObject& object)
    {
        if (program_.everything != Cinderhall::InvalidShader) {
            if (hasInstanceTransform_ < 0) {
                hasInstanceTransform_ = theShaderManager->HasInstanceTransform(program_.everything) ? 1 : 0;
            }
            AddToBatchOrAlone(object, program_.everything,
                              hasInstanceTransform_ == 1 && CanInstance(*object.GetMesh()), false);
            return;
        }
        if (object.GetShader() != Cinderhall::InvalidShader) {
            AddToBatchOrAlone(object, object.GetShader(),
                              theShaderManager->HasInstanceTransform(object.GetShader()), false);
            return;
        }
        const Cinderhall::ShaderHandle builtIn =
            program_.useBuiltInPrograms ? ChooseBuiltInProgram(object) : Cinderhall::InvalidShader;
        if (builtIn == Cinderhall::InvalidShader) {
            pass_.steps.emplace_back(Single{&object, Cinderhall::InvalidShader});
            return;
        }
        AddToBatchOrAlone(object, builtIn, CanInstance(*object.GetMesh()), true);
    }

    void AddToBatchOrAlone(const MeshObject& object, Cinderhall::ShaderHandle program, bool instanced,
                           bool builtIn)
    {
        const Cinderhall::ShaderHandle builtInProgram = builtIn ? program : Cinderhall::InvalidShader;
        if (!instanced) {
            pass_.steps.emplace_back(Single{&object, builtInProgram});
            return;
        }
        // Objects of one mesh, program and texture join a batch only with the same material.
        const bool ownLook = program_.everything == Cinderhall::InvalidShader;
        const Renderer::TextureHandle texture = ownLook ? object.GetTexture() : Renderer::InvalidTexture;
        std::vector<std::size_t>& candidates = batchesOf_[{object.GetMesh(), program, texture}];
        for (std::size_t index : candidates) {
            Batch& batch = pass_.batches[index];
            if (!builtIn || batch.first->GetMaterial() == object.GetMaterial()) {
                batch.transforms.push_back(object.GetTransform());
                return;
            }
        }
        candidates.push_back(pass_.batches.size());
        pass_.steps.emplace_back(pass_.batches.size());
        pass_.batches.push_back({&object, builtInProgram, {object.GetTransform()}});
    }

    PassProgram program_;
    int hasInstanceTransform_ = -1;
    std::map<std::tuple<const Cinderhall::Mesh*, Cinderhall::ShaderHandle, Renderer::TextureHandle>,
             std::vector<std::size_t>>
        batchesOf_;
    Pass pass_;
};

void DrawObjects(const std::vector<MeshObject*>& objects, const Matrix4& view, const PassProgram& program)
{
    const Pass pass = PassPlanner(program).Plan(objects);
    const bool ownLook = program.everything == Cinderhall::InvalidShader;
    BoundLook bound;
    std::vector<Cinderhall::ShaderHandle> lightingSent;
    Renderer::PushMatrix();
    for (const auto& step : pass.steps) {
        const bool isSingle = std::holds_alternative<Single>(step);
        const Batch* batch = isSingle ? nullptr : &pass.batches[std::get<std::size_t>(step)];
        const MeshObject& object = isSingle ? *std::get<Single>(step).object : *batch->first;
        const Cinderhall::ShaderHandle builtIn =
            isSingle ? std::get<Single>(step).builtInProgram : batch->builtInProgram;
        if (builtIn != Cinderhall::InvalidShader) {
            UseBuiltInProgram(builtIn, object, bound, lightingSent);
        }
        if (ownLook) {
            bound.Bind(object);
        }
        if (isSingle) {
            Renderer::SetModelViewMatrix(object.GetTransform() * view);
            object.GetMesh()->Render();
        } else {
            Renderer::SetModelViewMatrix(view);
            object.GetMesh()->RenderInstanced(batch->transforms);
        }
    }
    Renderer::PopMatrix();
    if (!lightingSent.empty()) {
        theShaderManager->BindShader(Cinderhall::InvalidShader);
    }
}

} // namespace

namespace Cinderhall {

MeshObject::MeshObject() : MeshObject(RenderList::Get()) {}

MeshObject::MeshObject(RenderList& renderList) : renderList_(&renderList)
{
    renderList_->Add(this);
}

MeshObject::~MeshObject()
{
    mesh_.reset();
    if (renderList_ != nullptr) {
        renderList_->Remove(this);
    }
}

Mesh* MeshObject::LoadMesh(const std::string& path)
{
    mesh_.reset();
    mesh_ = LoadMeshFromFile(path);
    return mesh_.get();
}

void MeshObject::SetMesh(std::shared_ptr<Mesh> mesh)
{
    mesh_ = std::move(mesh);
}

RenderList& RenderList::Get()
{
    // Built on first use and never destroyed, so objects with static lifetime can still
    // unregister at exit in any order.
    static RenderList* list = new RenderList();
    return *list;
}

RenderList::~RenderList()
{
    for (MeshObject* object : objects_) {
        object->renderList_ = nullptr;
    }
}

void RenderList::Add(MeshObject* object)
{
    objects_.push_back(object);
}

void RenderList::Remove(MeshObject* object)
{
    const auto found = std::find(objects_.begin(), objects_.end(), object);
    if (found != objects_.end()) {
        *found = objects_.back();
        objects_.pop_back();
    }
}

void RenderList::Render(const Matrix4& view) const
{
    PassProgram program;
    program.useBuiltInPrograms = theShaderManager->GetBoundShader() == InvalidShader;
    DrawObjects(objects_, view, program);
}

void RenderList::RenderWithProgram(const Matrix4& view, ShaderHandle program) const
{
    if (program == InvalidShader) {
        return;
    }
    theShaderManager->PushShader(program);
    DrawObjects(objects_, view, {false, program});
    theShaderManager->PopShader();
}

} // namespace Cinderhall
