// The mesh cache: one mesh per path while anyone holds it, released with its last holder, and
// failures that are neither kept nor hidden.

#include "cinderhall/cdh_mesh_cache.h"
#include "cinderhall/cdh_mesh_format.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace Cinderhall;

class MeshCacheTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/cdh-mesh-cache-XXXXXX";
        folder_ = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const char* name, const std::vector<std::byte>& contents) const
    {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(contents.data()),
                   static_cast<std::streamsize>(contents.size()));
        return path;
    }

    static std::vector<std::byte> Triangle()
    {
        MeshData data;
        data.vertices.resize(3);
        data.vertices[1].x = 1.0f;
        data.vertices[2].y = 1.0f;
        data.indices = {0, 1, 2};
        data.flags = kPositions | kNormals;
        return WriteBinaryMesh(data);
    }

    std::filesystem::path folder_;
};

TEST_F(MeshCacheTest, ObjectsAskingForOnePathShareOneMeshUntilTheLastLetsGo)
{
    const std::string path = Write("triangle.msh", Triangle());
    MeshObject first;
    MeshObject second;
    first.SetMesh(LoadSharedMesh(path));
    second.SetMesh(LoadSharedMesh(path));
    ASSERT_NE(first.GetMesh(), nullptr);
    EXPECT_EQ(first.GetMesh(), second.GetMesh());
    EXPECT_EQ(GetSharedMeshCount(), 1u);

    first.SetMesh(nullptr);
    EXPECT_EQ(GetSharedMeshCount(), 1u) << "the second object still holds it";
    EXPECT_EQ(second.GetMesh()->GetData().indices.size(), 3u);

    // The file changes on disk while the mesh is held: holders keep seeing the loaded one.
    const std::string otherPath = Write("other.msh", Triangle());
    const std::shared_ptr<Mesh> other = LoadSharedMesh(otherPath);
    EXPECT_NE(other.get(), second.GetMesh()) << "another path is another mesh";
    EXPECT_EQ(GetSharedMeshCount(), 2u);

    second.SetMesh(nullptr);
    EXPECT_EQ(GetSharedMeshCount(), 1u) << "released with its last holder";
    std::filesystem::remove(path);
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(LoadSharedMesh(path), nullptr) << "a released mesh is read from its file again";
    EXPECT_TRUE(errors.Fired());
}

TEST_F(MeshCacheTest, AFileThatGivesNoMeshIsReportedOnEveryRequest)
{
    QuorvaneTest::ErrorCapture errors;
    const std::string missing = (folder_ / "missing.msh").string();
    EXPECT_EQ(LoadSharedMesh(missing), nullptr);
    EXPECT_EQ(LoadSharedMesh(missing), nullptr);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_NE(errors.Last().find(missing), std::string::npos) << errors.Last();
    EXPECT_EQ(GetSharedMeshCount(), 0u);

    // A damaged file is one empty mesh, reported once while it is held.
    std::vector<std::byte> damaged = Triangle();
    damaged[4] = std::byte{2}; // version
    const std::string path = Write("damaged.msh", damaged);
    const std::shared_ptr<Mesh> first = LoadSharedMesh(path);
    const std::shared_ptr<Mesh> second = LoadSharedMesh(path);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsEmpty());
    EXPECT_EQ(first, second);
    EXPECT_EQ(errors.messages.size(), 3u);
}

} // namespace
