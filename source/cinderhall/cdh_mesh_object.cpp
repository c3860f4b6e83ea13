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

// Binds the built-in program the object's material asks for, lit by the last lighting the
// first time in a pass, and sends it the material. False when there are no programs.
bool UseBuiltInProgram(const MeshObject& object, BoundLook& bound, bool& lightingSent)
{
    const Cinderhall::Material& material = object.GetMaterial();
    const Cinderhall::ShaderHandle program = Cinderhall::GetBuiltInProgram(
        material.lit ? Cinderhall::BuiltInProgram::kLit : Cinderhall::BuiltInProgram::kUnlit);
    if (program == Cinderhall::InvalidShader) {
        static bool saidOnce = false;
        if (!saidOnce && Renderer::IsFixedFunctionMode()) {
            std::fputs(
                "Cinderhall: fixed-function set-up: meshes without a shader of their own draw unlit, in "
                "their vertex colours\n",
                stderr);
            saidOnce = true;
        }
        return false;
    }
    if (program != bound.shader) {
        theShaderManager->BindShader(program);
        bound.shader = program;
    }
    if (material.lit && !lightingSent) {
        Cinderhall::UseLastLighting(program);
        lightingSent = true;
    }
    Cinderhall::ApplyMaterial(program, material, object.GetTexture() != Renderer::InvalidTexture);
    return true;
}

// Objects drawn together: the first one's look, everyone's transforms.
struct Batch
{
    const MeshObject* first = nullptr;
    std::vector<Matrix4> transforms;
};

// The pass in drawing order: single objects, and batches where their first object stood.
struct Pass
{
    std::vector<std::variant<const MeshObject*, std::size_t>> steps;
    std::vector<Batch> batches;
};

Pass PlanPass(const std::vector<MeshObject*>& objects)
{
    Pass pass;
    std::map<std::tuple<const Cinderhall::Mesh*, Cinderhall::ShaderHandle, Renderer::TextureHandle>,
             std::size_t>
        batchOf;
    for (const MeshObject* object : objects) {
        if (object->GetMesh() == nullptr) {
            continue;
        }
        if (object->GetShader() == Cinderhall::InvalidShader ||
            !theShaderManager->HasInstanceTransform(object->GetShader())) {
            pass.steps.emplace_back(object);
            continue;
        }
        const auto [found, isNew] = batchOf.try_emplace(
            {object->GetMesh(), object->GetShader(), object->GetTexture()}, pass.batches.size());
        if (isNew) {
            pass.batches.push_back({object, {}});
            pass.steps.emplace_back(found->second);
        }
        pass.batches[found->second].transforms.push_back(object->GetTransform());
    }
    return pass;
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
    const Pass pass = PlanPass(objects_);
    BoundLook bound;
    const bool useBuiltInPrograms = theShaderManager->GetBoundShader() == InvalidShader;
    bool lightingSent = false;
    bool usedBuiltInPrograms = false;
    Renderer::PushMatrix();
    for (const auto& step : pass.steps) {
        if (const auto* object = std::get_if<const MeshObject*>(&step)) {
            if (useBuiltInPrograms && (*object)->GetShader() == InvalidShader) {
                usedBuiltInPrograms = UseBuiltInProgram(**object, bound, lightingSent) || usedBuiltInPrograms;
            }
            bound.Bind(**object);
            Renderer::SetModelViewMatrix((*object)->GetTransform() * view);
            (*object)->GetMesh()->Render();
            continue;
        }
        const Batch& batch = pass.batches[std::get<std::size_t>(step)];
        bound.Bind(*batch.first);
        Renderer::SetModelViewMatrix(view);
        batch.first->GetMesh()->RenderInstanced(batch.transforms);
    }
    Renderer::PopMatrix();
    if (usedBuiltInPrograms) {
        theShaderManager->BindShader(InvalidShader);
    }
}

} // namespace Cinderhall
