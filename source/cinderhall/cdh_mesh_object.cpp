// MeshObject and the RenderList that draws them all.

#include "cinderhall/cdh_mesh.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <algorithm>
#include <cstdio>

namespace Cinderhall {

namespace Renderer = Marrowgate::Graphics;

MeshObject::MeshObject() : renderList_(&RenderList::Get())
{
    renderList_->Add(this);
}

MeshObject::~MeshObject()
{
    mesh_.reset();
    renderList_->Remove(this);
}

Mesh* MeshObject::LoadMesh(const std::string& path)
{
    mesh_.reset();
    mesh_ = LoadMeshFromFile(path);
    return mesh_.get();
}

void MeshObject::SetMesh(std::unique_ptr<Mesh> mesh)
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

namespace {

// Binds the built-in program the object's material asks for, lit by the last lighting the
// first time in a pass, and sends it the material. False when there are no programs.
bool UseBuiltInProgram(const MeshObject& object, bool& lightingSent)
{
    const Material& material = object.GetMaterial();
    const ShaderHandle program =
        GetBuiltInProgram(material.lit ? BuiltInProgram::kLit : BuiltInProgram::kUnlit);
    if (program == InvalidShader) {
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
    theShaderManager->BindShader(program);
    if (material.lit && !lightingSent) {
        UseLastLighting(program);
        lightingSent = true;
    }
    ApplyMaterial(program, material, object.GetTexture() != Marrowgate::Graphics::InvalidTexture);
    return true;
}

} // namespace

void RenderList::Render(const Matrix4& view) const
{
    const std::vector<MeshObject*> objects = objects_;
    const bool useBuiltInPrograms = theShaderManager->GetBoundShader() == InvalidShader;
    bool lightingSent = false;
    bool usedBuiltInPrograms = false;
    Renderer::PushMatrix();
    Renderer::SetModelViewMatrix(view);
    for (MeshObject* object : objects) {
        Mesh* mesh = object->GetMesh();
        if (mesh == nullptr) {
            continue;
        }
        if (object->GetShader() != InvalidShader) {
            theShaderManager->BindShader(object->GetShader());
        } else if (useBuiltInPrograms) {
            usedBuiltInPrograms = UseBuiltInProgram(*object, lightingSent) || usedBuiltInPrograms;
        }
        if (object->GetTexture() != Marrowgate::Graphics::InvalidTexture) {
            Marrowgate::Graphics::BindTexture(object->GetTexture());
        }
        Renderer::PushMatrix();
        Renderer::MultiplyMatrix(object->GetTransform());
        mesh->Render();
        Renderer::PopMatrix();
    }
    Renderer::PopMatrix();
    if (usedBuiltInPrograms) {
        theShaderManager->BindShader(InvalidShader);
    }
}

} // namespace Cinderhall
