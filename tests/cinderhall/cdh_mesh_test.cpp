// Mesh files and mesh building without a GPU: the three encodings, their conversions, and the
// checks that keep corrupt files from allocating, reading past their end or indexing outside
// the vertex array.

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_mesh_format.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace Cinderhall;
using namespace std::string_literals;

std::span<const std::byte> Bytes(const std::string& text)
{
    return std::as_bytes(std::span(text.data(), text.size()));
}

Vertex3D MakeVertex(float x, float y, float z, std::uint32_t color = 0xFF332211u)
{
    Vertex3D vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.z = z;
    vertex.normalX = 0.0f;
    vertex.normalY = 1.0f;
    vertex.color = color;
    vertex.u = x * 0.5f;
    vertex.v = 0.1f;
    return vertex;
}

MeshData SampleMesh()
{
    MeshData data;
    data.vertices = {MakeVertex(0, 0, 0), MakeVertex(1, 0, 0), MakeVertex(0, 1, 0, 0x80FF00FFu),
                     MakeVertex(1, 1, 0.333333343f, 0x00000001u)};
    data.indices = {0, 2, 1, 1, 2, 3};
    data.flags = kPositions | kNormals | kTextureCoordinates | kColors;
    return data;
}

void ExpectSameVertices(const std::vector<Vertex3D>& actual, const std::vector<Vertex3D>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(std::memcmp(actual.data(), expected.data(), actual.size() * sizeof(Vertex3D)), 0);
}

std::string BinaryHeader(std::uint32_t indexCount, std::uint32_t vertexCount, std::uint8_t version = 1,
                         std::uint32_t bytesPerVertex = 36)
{
    MeshData empty;
    std::vector<std::byte> header = WriteBinaryMesh(empty);
    std::string text(reinterpret_cast<const char*>(header.data()), header.size());
    text[4] = static_cast<char>(version);
    std::memcpy(text.data() + 8, &indexCount, 4);
    std::memcpy(text.data() + 16, &vertexCount, 4);
    std::memcpy(text.data() + 20, &bytesPerVertex, 4);
    return text;
}

TEST(MeshBinaryFile, RoundTripsEveryByteOfVerticesIndicesAndFlags)
{
    const MeshData original = SampleMesh();
    const std::vector<std::byte> file = WriteBinaryMesh(original);
    EXPECT_EQ(file.size(), 28u + 6 * 4 + 4 * 36);

    const auto mesh = LoadMeshFromMemory(file, "anything.bin");
    ASSERT_NE(mesh, nullptr);
    ExpectSameVertices(mesh->GetData().vertices, original.vertices);
    EXPECT_EQ(mesh->GetData().indices, original.indices);
    EXPECT_EQ(mesh->GetData().flags, original.flags);
}

TEST(MeshBinaryFile, EmptyIndexOrVertexListsReadWithoutCopyingFromNowhere)
{
    MeshData verticesOnly = SampleMesh();
    verticesOnly.indices.clear();
    MeshData read;
    ASSERT_TRUE(ReadBinaryMesh(WriteBinaryMesh(verticesOnly), read));
    EXPECT_TRUE(read.indices.empty());
    ExpectSameVertices(read.vertices, verticesOnly.vertices);

    ASSERT_TRUE(ReadBinaryMesh(WriteBinaryMesh(MeshData{}), read));
    EXPECT_TRUE(read.indices.empty());
    EXPECT_TRUE(read.vertices.empty());
}

TEST(MeshBinaryFile, KeepsStoredNormalsEvenWithoutTheNormalsFlag)
{
    MeshData original = SampleMesh();
    original.flags = kPositions;
    const auto mesh = LoadMeshFromMemory(WriteBinaryMesh(original), "a.msh");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetData().flags, kPositions);
    EXPECT_FLOAT_EQ(mesh->GetData().vertices[0].normalY, 1.0f);
}

TEST(MeshBinaryFile, RejectsWrongRecordSizesWithTheSizeMismatchReport)
{
    QuorvaneTest::ErrorCapture errors;
    const std::string file = BinaryHeader(0, 0, 1, 32);
    const auto mesh = LoadMeshFromMemory(Bytes(file), "a.msh");
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->IsEmpty());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "cdhDataError: Size mismatch loading processed mesh.");
}

TEST(MeshBinaryFile, CorruptFilesLoadAsEmptyMeshesWithADataReport)
{
    struct Case
    {
        const char* what;
        std::string file;
    };
    std::string validFile;
    {
        const std::vector<std::byte> bytes = WriteBinaryMesh(SampleMesh());
        validFile.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::string badIndex = validFile;
    const std::uint32_t tooLarge = 4;
    std::memcpy(badIndex.data() + 28 + 5 * 4, &tooLarge, 4);
    std::string versionTwo = validFile;
    versionTwo[4] = 2;

    const Case cases[] = {
        {"version 2", versionTwo},
        {"header cut short", validFile.substr(0, 27)},
        {"4,000,000,000 indices claimed by a bare header", BinaryHeader(4000000000u, 0)},
        {"vertex count beyond the data", BinaryHeader(0, 0xFFFFFFFFu)},
        {"one byte of vertex data missing", validFile.substr(0, validFile.size() - 1)},
        {"index equal to the vertex count", badIndex},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        QuorvaneTest::ErrorCapture errors;
        const auto mesh = LoadMeshFromMemory(Bytes(testCase.file), "a.msh");
        ASSERT_NE(mesh, nullptr);
        EXPECT_TRUE(mesh->IsEmpty());
        EXPECT_FALSE(mesh->IsReady());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last().rfind("cdhDataError: ", 0), 0u) << errors.Last();
    }
}

TEST(MeshDamage, NoTrianglesOrAPieceOfATriangleIsAReportedEmptyMeshInEveryEncoding)
{
    MeshData verticesOnly = SampleMesh();
    verticesOnly.indices.clear();
    MeshData pieceOfATriangle = SampleMesh();
    pieceOfATriangle.indices.resize(4);
    const auto binary = [](const MeshData& data) {
        const std::vector<std::byte> bytes = WriteBinaryMesh(data);
        return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    const std::string vertices = " 0 0 0 0 0 1 0 0  1 0 0 0 0 1 0 0  0 1 0 0 0 1 0 0 ";
    const std::pair<std::string, std::string> cases[] = {
        {binary(verticesOnly), "cdhDataError: Mesh holds no triangles."},
        {binary(pieceOfATriangle), "Expected face indices to contain sets of 3."},
        {"3 0" + vertices, "cdhDataError: Mesh holds no triangles."},
        {WriteTextMesh(verticesOnly).value_or(""), "cdhDataError: Mesh holds no triangles."},
    };
    for (const auto& [file, report] : cases) {
        QuorvaneTest::ErrorCapture errors;
        const auto mesh = LoadMeshFromMemory(Bytes(file), "a.msh");
        ASSERT_NE(mesh, nullptr);
        EXPECT_TRUE(mesh->IsEmpty());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last(), report);
    }
}

TEST(MeshTextFile, HeaderlessFormConvertsALeftHandedTriangle)
{
    const std::string file = "3 1\n"
                             "0 0 1  0 0 1  0.25 0.25\n"
                             "0 0 1  0 0 1  0.25 0.25\n"
                             "0 0 1  0 0 1  0.25 0.25\n"
                             "0 1 2\n";
    const auto mesh = LoadMeshFromMemory(Bytes(file), "old/model.msh");
    ASSERT_NE(mesh, nullptr);
    const Vertex3D& vertex = mesh->GetData().vertices[0];
    EXPECT_FLOAT_EQ(vertex.z, -1.0f);
    EXPECT_TRUE(std::signbit(vertex.normalX));
    EXPECT_TRUE(std::signbit(vertex.normalY));
    EXPECT_FLOAT_EQ(vertex.normalZ, 1.0f);
    EXPECT_FLOAT_EQ(vertex.u, 0.25f);
    EXPECT_FLOAT_EQ(vertex.v, 0.75f);
    EXPECT_EQ(vertex.color, 0xFFFFFFFFu);
    EXPECT_EQ(mesh->GetData().flags, kPositions | kNormals | kTextureCoordinates);
}

TEST(MeshTextFile, HeaderlessTextIsAMeshOnlyWhenThePathSaysMsh)
{
    const std::string file = "3 1 0 0 0 0 0 1 0 0  1 0 0 0 0 1 0 0  0 1 0 0 0 1 0 0  0 1 2";
    EXPECT_EQ(LoadMeshFromMemory(Bytes(file), "model.txt"), nullptr);
    EXPECT_NE(LoadMeshFromMemory(Bytes(file), "model.msh.txt"), nullptr);
}

TEST(MeshTextFile, HeaderedVerticesNormaliseNormalsAndPackColoursAsBytes)
{
    // colours are written alpha, red, green, blue
    const std::string file = "MSH!\n1\n3 1\n"
                             "0 0 0  0 0 2        1 0.5 0.25 1   0.5 0.5\n"
                             "1 0 0  0 0 0.000001 0.5 2 -1 nan   0 0\n"
                             "0 1 0  3 0 4        0 0 0 0        0 0\n"
                             "0 2 1\n";
    const auto mesh = LoadMeshFromMemory(Bytes(file), "model.txt");
    ASSERT_NE(mesh, nullptr);
    const auto& vertices = mesh->GetData().vertices;
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_FLOAT_EQ(vertices[0].normalZ, 1.0f);
    EXPECT_FLOAT_EQ(vertices[1].normalZ, 0.000001f) << "too short to normalise: kept";
    EXPECT_FLOAT_EQ(vertices[2].normalX, 0.6f);
    EXPECT_FLOAT_EQ(vertices[2].normalZ, 0.8f);
    // red 127 (0.5 x 255 truncated), green 63, blue 255, alpha 255; bytes R, G, B, A
    EXPECT_EQ(vertices[0].color, 0xFFFF3F7Fu);
    // out-of-range and NaN channels clamp instead of overflowing the byte
    EXPECT_EQ(vertices[1].color, 0x7F0000FFu);
    EXPECT_EQ(mesh->GetData().flags, kPositions | kNormals | kTextureCoordinates | kColors);
}

TEST(MeshTextFile, VersionTwoNodesKeepTheirHierarchyAndMarkTheRootParent)
{
    const std::string file =
        "MSHT 2\n"
        "2\n"
        "root 7 8 2 1 1  1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1\n"
        "wheel 0 0 0 0   1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1\n"
        "3 1  0 0 0 0 0 1 1 1 1 1 0 0  1 0 0 0 0 1 1 1 1 1 0 0  0 1 0 0 0 1 1 1 1 1 0 0  0 1 2\n";
    const auto mesh = LoadMeshFromMemory(Bytes(file), "a.msh");
    ASSERT_NE(mesh, nullptr);
    const auto& nodes = mesh->GetData().nodes;
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].name, "root");
    EXPECT_EQ(nodes[0].firstValue, 7u);
    EXPECT_EQ(nodes[0].secondValue, 8u);
    EXPECT_EQ(nodes[0].parentIndex, kNoParentNode) << "a parent index equal to the node count means none";
    EXPECT_EQ(nodes[0].childIndices, std::vector<std::uint32_t>{1});
    EXPECT_FLOAT_EQ(nodes[0].transform.m[3], 5.0f);
    EXPECT_FLOAT_EQ(nodes[0].transform.m[11], 7.0f);
    EXPECT_EQ(nodes[1].parentIndex, 0u);
    EXPECT_EQ(mesh->GetData().indices.size(), 3u);
}

TEST(MeshTextFile, WriterOutputReadsBackBitForBit)
{
    MeshData original = SampleMesh();
    MeshNode node;
    node.name = "body";
    node.firstValue = 3;
    node.childIndices = {0};
    node.transform.m[3] = 0.1f;
    original.nodes.push_back(node);
    for (std::uint32_t byte = 0; byte < 256; byte += 51) {
        original.vertices[3].color = byte | (255 - byte) << 8 | (byte / 2) << 16 | (byte ^ 0x5A) << 24;
        const std::string text = WriteTextMesh(original).value();
        const auto mesh = LoadMeshFromMemory(Bytes(text), "written.msh");
        ASSERT_NE(mesh, nullptr);
        ExpectSameVertices(mesh->GetData().vertices, original.vertices);
        EXPECT_EQ(mesh->GetData().indices, original.indices);
        ASSERT_EQ(mesh->GetData().nodes.size(), 1u);
        EXPECT_EQ(mesh->GetData().nodes[0].name, "body");
        EXPECT_EQ(mesh->GetData().nodes[0].parentIndex, kNoParentNode);
        EXPECT_EQ(mesh->GetData().nodes[0].transform, node.transform);
    }
}

TEST(MeshTextFile, NamesAreOneTokenSoAnyOtherBytesRoundTrip)
{
    MeshData original = SampleMesh();
    MeshNode node;
    node.name = "wheel.front-left/#2_\xC3\xA9";
    original.nodes.push_back(node);
    const auto mesh = LoadMeshFromMemory(Bytes(WriteTextMesh(original).value()), "written.msh");
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetData().nodes.size(), 1u);
    EXPECT_EQ(mesh->GetData().nodes[0].name, node.name);
}

// Written out, such a mesh would read back with shifted fields or not at all.
TEST(MeshTextFile, WhatTheTextCannotHoldIsRefusedNamingTheNodeOrVertex)
{
    const auto refusal = [](const MeshData& data) {
        QuorvaneTest::ErrorCapture errors;
        EXPECT_FALSE(WriteTextMesh(data).has_value());
        EXPECT_EQ(errors.messages.size(), 1u);
        return errors.Last();
    };
    MeshData named = SampleMesh();
    named.nodes.resize(2);
    named.nodes[0].name = "body";
    for (const std::string& name : {"left wheel"s, "tab\tname"s, "line\nbreak"s, "zero\0byte"s}) {
        named.nodes[1].name = name;
        EXPECT_EQ(refusal(named), "cdhDataError: Mesh node 1, \"" + std::string(name.c_str()) +
                                      "\", has white space in its name, which a text mesh cannot store.");
    }

    MeshData transformed = SampleMesh();
    transformed.nodes.resize(1);
    transformed.nodes[0].name = "body";
    transformed.nodes[0].transform.m[7] = std::nanf("");
    EXPECT_EQ(refusal(transformed).rfind("cdhDataError: Mesh node 0, \"body\", has the value ", 0), 0u);

    for (const float bad : {INFINITY, -INFINITY, NAN}) {
        for (float Vertex3D::*field : {&Vertex3D::y, &Vertex3D::normalZ, &Vertex3D::v}) {
            MeshData data = SampleMesh();
            data.vertices[2].*field = bad;
            const std::string report = refusal(data);
            EXPECT_EQ(report.rfind("cdhDataError: Mesh vertex 2 has the value ", 0), 0u) << report;
            EXPECT_NE(report.find(std::isnan(bad) ? "nan" : "inf"), std::string::npos) << report;
        }
    }
}

TEST(MeshTextFile, CountsBeyondTheTextAreReportedWithoutReadingFurther)
{
    const std::string files[] = {
        "MSHT 1 1000000000 1 0 0 0",
        "MSHT 1 3 4000000000 0 0 0 0 0 0 1 1 1 1 0 0 1 0 0 0 0 0 1 1 1 1 0 0 0 1 0 0 0 0 1 1 1 1 0 0 0 1 2",
        "MSHT 2 4000000000 name 0 0 0 0",
        "MSHT 2 1 name 0 0 1 4000000000 0",
        "MSHT",
        "3",
        "MSHT 1 3 1 0 0 0 0 0 0 1 1 1 1 0 0\0 1 0 0 0 0 0 1 1 1 1 0 0 0 1 0 0 0 0 1 1 1 1 0 0 0 1 2"s,
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file.c_str());
        QuorvaneTest::ErrorCapture errors;
        const auto mesh = LoadMeshFromMemory(Bytes(file), "a.msh");
        ASSERT_NE(mesh, nullptr);
        EXPECT_TRUE(mesh->IsEmpty());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last().rfind("cdhDataError: ", 0), 0u) << errors.Last();
    }
}

TEST(MeshTextFile, IndexOutOfRangeIsAReportedEmptyMeshInBothTextForms)
{
    const std::string vertices = " 0 0 0 0 0 1 0 0  1 0 0 0 0 1 0 0  0 1 0 0 0 1 0 0 ";
    const std::string colored = " 0 0 0 0 0 1 1 1 1 1 0 0  1 0 0 0 0 1 1 1 1 1 0 0  0 1 0 0 0 1 1 1 1 1 0 0 ";
    const std::string files[] = {"3 1" + vertices + "0 1 3", "MSHT 1 3 1" + colored + "0 1 3"};
    for (const std::string& file : files) {
        QuorvaneTest::ErrorCapture errors;
        const auto mesh = LoadMeshFromMemory(Bytes(file), "a.msh");
        ASSERT_NE(mesh, nullptr);
        EXPECT_TRUE(mesh->IsEmpty());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last(), "cdhDataError: Mesh index 3 at position 2 is not below the vertex count 3.");
    }
}

TEST(MeshIndexWidth, SixteenBitsServeUpTo65536VerticesAndLargerMeshesNeedWideIndices)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(ChooseMeshIndexWidth(3, false), MeshIndexWidth::k16Bit);
    EXPECT_EQ(ChooseMeshIndexWidth(65536, false), MeshIndexWidth::k16Bit);
    EXPECT_EQ(ChooseMeshIndexWidth(65536, true), MeshIndexWidth::k16Bit);
    EXPECT_EQ(ChooseMeshIndexWidth(65537, true), MeshIndexWidth::k32Bit);
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(ChooseMeshIndexWidth(65537, false), MeshIndexWidth::kNone);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last().rfind("cdhDataError: A mesh of 65537 vertices needs 32-bit indices", 0), 0u)
        << errors.Last();
    EXPECT_NE(errors.Last().find("GL_OES_element_index_uint"), std::string::npos);
}

TEST(CreateMeshFromData, ASharedVertexKeepsTheNormalOfTheLastTriangle)
{
    // Two triangles share vertex 0: the first faces +z, the second faces +x.
    std::vector<Vertex3D> vertices = {MakeVertex(0, 0, 0), MakeVertex(0, 1, 0), MakeVertex(1, 0, 0),
                                      MakeVertex(0, 0, 1), MakeVertex(0, 1, 0)};
    const auto mesh = CreateMeshFromData(vertices, {0, 1, 2, 0, 3, 4}, kPositions);
    ASSERT_NE(mesh, nullptr);
    const auto& result = mesh->GetData().vertices;
    EXPECT_FLOAT_EQ(result[2].normalZ, 1.0f) << "(v2 - v0) x (v1 - v0) of a clockwise triangle seen from +z";
    EXPECT_FLOAT_EQ(result[0].normalX, 1.0f);
    EXPECT_FLOAT_EQ(result[0].normalZ, 0.0f);
    EXPECT_EQ(mesh->GetData().flags, kPositions | kNormals);
}

TEST(CreateMeshFromData, BadShapesAreReportedAndGiveAnEmptyMesh)
{
    QuorvaneTest::ErrorCapture errors;
    auto mesh = CreateMeshFromData({MakeVertex(0, 0, 0), MakeVertex(1, 0, 0)}, {0, 1, 0, 1, 0, 1}, kNormals);
    EXPECT_TRUE(mesh->IsEmpty());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "Expected vertex data to contain at least 3 vertices.");

    mesh = CreateMeshFromData(SampleMesh().vertices, {0, 1, 2, 3}, kNormals);
    EXPECT_TRUE(mesh->IsEmpty());
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(), "Expected face indices to contain sets of 3.");
}

TEST(LoadMeshFromFile, ReadsEveryEncodingFromDiskWithTheSameChecks)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "cdh_mesh_test_files";
    std::filesystem::create_directories(folder);
    const auto write = [&folder](const char* name, const std::string& contents) {
        std::ofstream(folder / name, std::ios::binary) << contents;
        return (folder / name).string();
    };
    const std::vector<std::byte> binary = WriteBinaryMesh(SampleMesh());
    const std::string binaryText(reinterpret_cast<const char*>(binary.data()), binary.size());

    auto mesh = LoadMeshFromFile(write("binary.msh", binaryText));
    ASSERT_NE(mesh, nullptr);
    ExpectSameVertices(mesh->GetData().vertices, SampleMesh().vertices);
    mesh = LoadMeshFromFile(write("text.msh", WriteTextMesh(SampleMesh()).value()));
    ASSERT_NE(mesh, nullptr);
    ExpectSameVertices(mesh->GetData().vertices, SampleMesh().vertices);

    for (const std::string& corrupt : {binaryText.substr(0, binaryText.size() - 1),
                                       BinaryHeader(4000000000u, 0), binaryText.substr(0, 20)}) {
        QuorvaneTest::ErrorCapture errors;
        mesh = LoadMeshFromFile(write("corrupt.msh", corrupt));
        ASSERT_NE(mesh, nullptr);
        EXPECT_TRUE(mesh->IsEmpty());
        EXPECT_EQ(errors.messages.size(), 1u);
    }
    std::filesystem::remove_all(folder);
}

TEST(LoadMeshFromFile, MissingFilesAndDirectoriesGiveNoMeshAndAReportNamingThem)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(LoadMeshFromFile("no/such/file.msh"), nullptr);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_NE(errors.Last().find("File: \"no/such/file.msh\""), std::string::npos) << errors.Last();
    EXPECT_EQ(LoadMeshFromFile(QUORVANE_SOURCE_DIR "/tests"), nullptr);
    EXPECT_NE(errors.Last().find("found a directory. File: \"" QUORVANE_SOURCE_DIR "/tests\""),
              std::string::npos)
        << errors.Last();
}

TEST(LoadMeshFromFile, ReportsAboutADamagedFileNameIt)
{
    char pattern[] = "/tmp/cdh-mesh-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    const std::string path = (folder / "damaged.msh").string();
    std::ofstream(path, std::ios::binary) << "MSHT 1 3 1 0 0 0";
    QuorvaneTest::ErrorCapture errors;
    const auto mesh = LoadMeshFromFile(path);
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->IsEmpty());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "cdhDataError: Mesh text states 3 vertices but ends before them. File: \"" + path + "\"");
    std::filesystem::remove_all(folder);
}

} // namespace
