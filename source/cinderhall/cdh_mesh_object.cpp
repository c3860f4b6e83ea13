// MeshObject and the RenderList that draws them all.

#include "cinderhall/cdh_mesh.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <algorithm>

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

void RenderList::Render(const Matrix4& view) const
{
    const std::vector<MeshObject*> objects = objects_;
    Renderer::PushMatrix();
    Renderer::SetModelViewMatrix(view);
    for (MeshObject* object : objects) {
        Mesh* mesh = object->GetMesh();
        if (mesh == nullptr) {
            continue;
        }
        if (object->GetShader() != InvalidShader) {
            theShaderManager->BindShader(object->GetShader());
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
}

} // namespace Cinderhall
