// The mesh tool: OBJ import conventions, and a round trip OBJ -> binary and text .msh files
// through the command-line program -> the game's mesh loader.

#include "obj_import.h"

#include "cinderhall/cdh_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

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

TEST(ObjImport, FacesWithoutNormalsKeepTheirOwnFlatNormalsSoACubeIsFlatShaded)
{
    const MeshData data = Import("v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
                                 "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                                 "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
    EXPECT_EQ(data.vertices.size(), 24u) << "each face has four corners of its own";
    ASSERT_EQ(data.indices.size(), 36u);
    EXPECT_NE(data.flags & Cinderhall::kNormals, 0);
    for (std::size_t triangle = 0; triangle < 12; ++triangle) {
        const Vertex3D& first = data.vertices[data.indices[triangle * 3]];
        for (std::size_t k = 0; k < 3; ++k) {
            const Vertex3D& corner = data.vertices[data.indices[triangle * 3 + k]];
            // Outward: along the corner's position from the centre, and one unit long.
            EXPECT_FLOAT_EQ(corner.normalX * corner.x + corner.normalY * corner.y + corner.normalZ * corner.z,
                            1.0f);
            EXPECT_EQ(std::tie(corner.normalX, corner.normalY, corner.normalZ),
                      std::tie(first.normalX, first.normalY, first.normalZ));
        }
    }
}

TEST(ObjImport, SkipsAByteOrderMarkAtTheStart)
{
    const MeshData data = Import("\xEF\xBB\xBFv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ASSERT_EQ(data.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(data.vertices[data.indices[0]].x, 0.0f);
}

TEST(ObjImport, RefusesNumbersThatAreNotFiniteNamingTheLine)
{
    for (const char* line :
         {"v inf 0 0", "v 0 nan 0", "v 0 0 -infinity", "v 1e39 0 0", "vn 0 0 nan", "vt nan 0"}) {
        SCOPED_TRACE(line);
        MeshData data;
        std::string error;
        const std::string file = "v 0 0 0\nv 1 0 0\nv 0 1 0\n" + std::string(line) + "\nf 1 2 3\n";
        EXPECT_FALSE(MeshTool::ImportObj(file, data, error));
        EXPECT_EQ(error.rfind("line 4: ", 0), 0u) << error;
    }
}

// Runs the tool with its standard error captured, optionally under a file-size limit.
struct Outcome
{
    int exitCode = -1;
    std::string errors;
};

Outcome RunTool(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    int errorPipe[2];
    if (pipe(errorPipe) != 0) {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(errorPipe[1], STDERR_FILENO);
        close(errorPipe[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<char*> argv{const_cast<char*>(MESH_TOOL_PATH)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(MESH_TOOL_PATH, argv.data());
        _exit(127);
    }
    close(errorPipe[1]);
    Outcome outcome;
    char buffer[512];
    for (ssize_t count; (count = read(errorPipe[0], buffer, sizeof buffer)) > 0;) {
        outcome.errors.append(buffer, static_cast<std::size_t>(count));
    }
    close(errorPipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return outcome;
}

std::string ReadWhole(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class MeshToolProgram : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "mesh_tool_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        std::ofstream(folder_ / "square.obj") << kSquareObj;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    int Run(const std::vector<std::string>& arguments) const { return RunTool(arguments).exitCode; }
    std::string Path(const char* name) const { return (folder_ / name).string(); }
    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_), {}));
    }

    std::filesystem::path folder_;
};

TEST_F(MeshToolProgram, ObjRoundTripsThroughBinaryAndTextFilesUnchanged)
{
    ASSERT_EQ(Run({"convert", Path("square.obj"), Path("binary.msh")}), 0);
    ASSERT_EQ(Run({"convert", "--text", Path("square.obj"), Path("text.msh")}), 0);
    ASSERT_EQ(Run({"convert", Path("text.msh"), Path("again.msh")}), 0);

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
    EXPECT_NE(Run({"convert", Path("broken.obj"), Path("out.msh")}), 0);
    EXPECT_NE(Run({"convert", Path("missing.obj"), Path("out.msh")}), 0);
    EXPECT_NE(Run({"convert", "only-one-path"}), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "out.msh"));
    EXPECT_EQ(Run({"info", Path("square.obj")}), 0);
}

TEST_F(MeshToolProgram, ExtensionsAreMatchedWithoutRegardToCase)
{
    std::filesystem::copy_file(folder_ / "square.obj", folder_ / "square.Obj");
    ASSERT_EQ(Run({"convert", Path("square.Obj"), Path("from_obj.msh")}), 0);
    ASSERT_EQ(Run({"convert", Path("square.obj"), Path("expected.msh")}), 0);
    EXPECT_EQ(ReadWhole(folder_ / "from_obj.msh"), ReadWhole(folder_ / "expected.msh"));
}

TEST_F(MeshToolProgram, UnknownOptionsAndAnObjOutputAreRefusedWithTheUsage)
{
    Outcome outcome = RunTool({"convert", "--txt", Path("square.obj"), Path("out.msh")});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find("--txt"), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("usage:"), std::string::npos) << outcome.errors;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "out.msh"));

    ASSERT_EQ(Run({"convert", Path("square.obj"), Path("model.msh")}), 0);
    std::ofstream(folder_ / "model.OBJ") << kSquareObj;
    outcome = RunTool({"convert", Path("model.msh"), Path("model.OBJ")}); // swapped
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find(Path("model.OBJ")), std::string::npos) << outcome.errors;
    EXPECT_EQ(ReadWhole(folder_ / "model.OBJ"), kSquareObj);
}

// A full disk and a file-size limit fail the same write; the limit is the one a test can set.
TEST_F(MeshToolProgram, AFailedWriteLeavesTheOldFileOrNoneAndNamesIt)
{
    std::ofstream(folder_ / "old.msh") << "the old file";
    for (const bool asText : {false, true}) {
        SCOPED_TRACE(asText ? "text" : "binary");
        for (const char* name : {"old.msh", "new.msh"}) {
            std::vector<std::string> arguments{"convert", Path("square.obj"), Path(name)};
            if (asText) {
                arguments.insert(arguments.begin() + 1, "--text");
            }
            const Outcome outcome = RunTool(arguments, 100); // the square needs about 200 bytes
            EXPECT_EQ(outcome.exitCode, 1);
            EXPECT_NE(outcome.errors.find(Path(name)), std::string::npos) << outcome.errors;
        }
        EXPECT_EQ(ReadWhole(folder_ / "old.msh"), "the old file");
        EXPECT_FALSE(std::filesystem::exists(folder_ / "new.msh"));
        EXPECT_EQ(FileCount(), 2u) << "no partial file is left behind";
    }
    ASSERT_EQ(Run({"convert", Path("square.obj"), Path("old.msh")}), 0);
    EXPECT_NE(ReadWhole(folder_ / "old.msh"), "the old file");
}

TEST_F(MeshToolProgram, AMeshTheTextCannotHoldIsNotWrittenAsText)
{
    MeshData data = Import(kSquareObj);
    data.vertices[1].x = INFINITY;
    const std::vector<std::byte> binary = Cinderhall::WriteBinaryMesh(data);
    std::ofstream(folder_ / "infinite.msh", std::ios::binary)
        .write(reinterpret_cast<const char*>(binary.data()), static_cast<std::streamsize>(binary.size()));
    const Outcome outcome = RunTool({"convert", "--text", Path("infinite.msh"), Path("text.msh")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.errors.find("Mesh vertex 1 has the value inf"), std::string::npos) << outcome.errors;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "text.msh"));
}

TEST_F(MeshToolProgram, AnOutputThatIsNotARegularFileIsRefused)
{
    std::filesystem::create_directory(folder_ / "folder.msh");
    const Outcome outcome = RunTool({"convert", Path("square.obj"), Path("folder.msh")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.errors.find("not a regular file"), std::string::npos) << outcome.errors;
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "folder.msh"));
}

} // namespace
