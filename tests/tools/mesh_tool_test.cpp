// The mesh tool: OBJ import conventions, and a round trip OBJ -> binary and text .msh files
// through the command-line program -> the game's mesh loader.

#include "obj_import.h"

#include "cinderhall/cdh_mesh.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

using Cinderhall::MeshData;
using Cinderhall::Vertex3D;

// A unit square in the z = 0 plane facing +z, written counter-clockwise as OBJ does, as one
// quad; then a triangle using negative indices and no normals.
constexpr const char* kSquareObj = "# square\n"
                                   "o square\r\n"
                                   "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                                   "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                   "vn 0 0 1\n"
                                   "usemtl none\ns off\n"
                                   "f 1/1/1 2/2/1 3/3/1 4/4/1\n";

MeshData Import(const std::string& text)
{
    MeshData data;
    std::string error;
    EXPECT_TRUE(MeshTool::ImportObj(text, data, error)) << error;
    return data;
}

// The normal a clockwise-front triangle implies, as the mesh loader computes it.
float FacingZ(const MeshData& data, std::size_t triangle)
{
    const Vertex3D& a = data.vertices[data.indices[triangle * 3]];
    const Vertex3D& b = data.vertices[data.indices[triangle * 3 + 1]];
    const Vertex3D& c = data.vertices[data.indices[triangle * 3 + 2]];
    // z of (c - a) x (b - a)
    return (c.x - a.x) * (b.y - a.y) - (c.y - a.y) * (b.x - a.x);
}

TEST(ObjImport, FansPolygonsClockwiseSharesCornersAndFlipsV)
{
    const MeshData data = Import(kSquareObj);
    ASSERT_EQ(data.vertices.size(), 4u);
    ASSERT_EQ(data.indices.size(), 6u);
    EXPECT_GT(FacingZ(data, 0), 0.0f);
    EXPECT_GT(FacingZ(data, 1), 0.0f);
    EXPECT_EQ(data.flags, Cinderhall::kPositions | Cinderhall::kColors | Cinderhall::kTextureCoordinates |
                              Cinderhall::kNormals);
    const Vertex3D& corner = data.vertices[data.indices[0]];
    EXPECT_FLOAT_EQ(corner.v, 1.0f) << "OBJ v = 0 is the bottom of the image";
    EXPECT_FLOAT_EQ(corner.normalZ, 1.0f);
    EXPECT_EQ(corner.color, 0xFFFFFFFFu);
}

TEST(ObjImport, ComputesOutwardNormalsWhenCornersLackThem)
{
    const MeshData data = Import("v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\n");
    ASSERT_EQ(data.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(data.vertices[0].normalZ, 1.0f);
    EXPECT_EQ(data.flags & Cinderhall::kTextureCoordinates, 0);
}

TEST(ObjImport, RejectsFacesThatNameMissingElements)
{
    const char* const files[] = {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n",
                                 "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2\n",
                                 "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1 2/1 3/1\n",
                                 "v 0 0\n",
                                 "v 0 0 0\n",
                                 "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n"};
    for (const char* file : files) {
        MeshData data;
        std::string error;
        EXPECT_FALSE(MeshTool::ImportObj(file, data, error)) << file;
        EXPECT_FALSE(error.empty());
    }
}

class MeshToolProgram : public testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("mesh_tool_test_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "square.obj") << kSquareObj;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    int Run(const std::string& arguments) const
    {
        const std::string command = std::string(MESH_TOOL_PATH) + " " + arguments + " > /dev/null 2>&1";
        return std::system(command.c_str());
    }
    std::string Path(const char* name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

TEST_F(MeshToolProgram, ObjRoundTripsThroughBinaryAndTextFilesUnchanged)
{
    ASSERT_EQ(Run("convert " + Path("square.obj") + " " + Path("binary.msh")), 0);
    ASSERT_EQ(Run("convert --text " + Path("square.obj") + " " + Path("text.msh")), 0);
    ASSERT_EQ(Run("convert " + Path("text.msh") + " " + Path("again.msh")), 0);

    const MeshData expected = Import(kSquareObj);
    for (const char* name : {"binary.msh", "text.msh", "again.msh"}) {
        SCOPED_TRACE(name);
        const auto mesh = Cinderhall::LoadMeshFromFile(Path(name));
        ASSERT_NE(mesh, nullptr);
        const MeshData& loaded = mesh->GetData();
        EXPECT_EQ(loaded.indices, expected.indices);
        ASSERT_EQ(loaded.vertices.size(), expected.vertices.size());
        EXPECT_EQ(std::memcmp(loaded.vertices.data(), expected.vertices.data(),
                              loaded.vertices.size() * sizeof(Vertex3D)),
                  0);
    }
    std::ifstream text(Path("text.msh"));
    std::string magic(4, '\0');
    text.read(magic.data(), 4);
    EXPECT_EQ(magic, "MSHT");
}

TEST_F(MeshToolProgram, FailsWithoutWritingOnBadInput)
{
    std::ofstream(folder_ / "broken.obj") << "v 0 0 0\nf 1 2 3\n";
    EXPECT_NE(Run("convert " + Path("broken.obj") + " " + Path("out.msh")), 0);
    EXPECT_NE(Run("convert " + Path("missing.obj") + " " + Path("out.msh")), 0);
    EXPECT_NE(Run("convert only-one-path"), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "out.msh"));
    EXPECT_EQ(Run("info " + Path("square.obj")), 0);
}

} // namespace
