// Render lists of their own: objects go to the list they were made for, and lists and objects
// may end in either order.

#include "cinderhall/cdh_mesh.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Cinderhall;

TEST(RenderList, ObjectsMadeForASceneListStayOutOfTheProgramList)
{
    const std::size_t programObjects = RenderList::Get().GetSize();
    RenderList scene;
    {
        MeshObject inScene(scene);
        MeshObject alsoInScene(scene);
        MeshObject inProgram;
        EXPECT_EQ(scene.GetSize(), 2u);
        EXPECT_EQ(RenderList::Get().GetSize(), programObjects + 1);
    }
    EXPECT_EQ(scene.GetSize(), 0u);
    EXPECT_EQ(RenderList::Get().GetSize(), programObjects);
}

TEST(RenderList, AListThatEndsFirstLeavesItsObjectsSafeToUseAndDestroy)
{
    auto scene = std::make_unique<RenderList>();
    auto object = std::make_unique<MeshObject>(*scene);
    auto shared = std::shared_ptr<Mesh>(CreateMeshFromData(std::vector<Vertex3D>(3), {0, 1, 2}, kPositions));
    object->SetMesh(shared);
    scene.reset();
    EXPECT_EQ(object->GetMesh(), shared.get());
    object.reset();
    EXPECT_EQ(shared.use_count(), 1) << "the object let go of the mesh";
}

} // namespace
