// Which triangles of a mesh with nodes are drawn under which transform, and what bad nodes do.

#include "cinderhall/cdh_mesh_pieces.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Cinderhall;
using Marrowgate::Core::Matrix4;
using Marrowgate::Core::MatrixCreateTranslation;

// Positions do not matter here: only the index list and the nodes do.
MeshData MeshWithTriangles(std::uint32_t triangleCount)
{
    MeshData data;
    data.vertices.resize(3);
    data.indices.assign(triangleCount * 3, 0);
    return data;
}

MeshNode Node(const char* name, std::uint32_t firstTriangle, std::uint32_t triangleCount,
              std::uint32_t parent, const Matrix4& transform)
{
    MeshNode node;
    node.name = name;
    node.firstValue = firstTriangle;
    node.secondValue = triangleCount;
    node.parentIndex = parent;
    node.transform = transform;
    return node;
}

TEST(MeshPieces, AMeshWhoseNodesNameNoTrianglesIsOneUntransformedPiece)
{
    MeshData data = MeshWithTriangles(4);
    ASSERT_EQ(ComputeMeshPieces(data).size(), 1u);
    data.nodes.push_back(Node("root", 0, 0, kNoParentNode, MatrixCreateTranslation(5, 0, 0)));
    const std::vector<MeshPiece> pieces = ComputeMeshPieces(data);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].firstIndex, 0u);
    EXPECT_EQ(pieces[0].indexCount, 12u);
    EXPECT_FALSE(pieces[0].isTransformed);
}

TEST(MeshPieces, ANodesTransformFollowsItsParentsAndUnnamedTrianglesStayPut)
{
    MeshData data = MeshWithTriangles(6);
    const Matrix4 turn = Marrowgate::Core::CreateRotationY(Marrowgate::Core::PiOverTwo);
    data.nodes.push_back(Node("body", 1, 2, kNoParentNode, turn * MatrixCreateTranslation(10, 0, 0)));
    data.nodes.push_back(Node("wheel", 4, 1, 0, MatrixCreateTranslation(1, 0, 0)));
    const std::vector<MeshPiece> pieces = ComputeMeshPieces(data);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0].firstIndex, 3u);
    EXPECT_EQ(pieces[0].indexCount, 6u);
    // The wheel's own offset (1, 0, 0) is turned by the body to (0, 0, -1), then moved.
    EXPECT_EQ(pieces[1].firstIndex, 12u);
    EXPECT_EQ(pieces[1].transform.GetPosition(), Marrowgate::Core::Vector3(10, 0, -1));
    // Triangles 0, 3 and 5 belong to no node: three runs.
    EXPECT_EQ(pieces[2].firstIndex, 0u);
    EXPECT_EQ(pieces[2].indexCount, 3u);
    EXPECT_FALSE(pieces[2].isTransformed);
    EXPECT_EQ(pieces[3].firstIndex, 9u);
    EXPECT_EQ(pieces[4].firstIndex, 15u);
    EXPECT_EQ(pieces[4].indexCount, 3u);
    EXPECT_TRUE(pieces[1].isTransformed);
}

TEST(MeshPieces, ANodeNamingTrianglesBeyondTheMeshIsReportedOnceAndSkipped)
{
    MeshData data = MeshWithTriangles(2);
    data.nodes.push_back(Node("far", 1, 2, kNoParentNode, Matrix4()));
    data.nodes.push_back(Node("huge", 0xFFFFFFFFu, 0xFFFFFFFFu, kNoParentNode, Matrix4()));
    QuorvaneTest::ErrorCapture errors;
    const std::vector<MeshPiece> pieces = ComputeMeshPieces(data);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "cdhDataError: Mesh node 0, \"far\", names triangles 1 to 2, but the mesh has 2; "
              "the node is not drawn.");
    ASSERT_EQ(pieces.size(), 1u) << "every triangle drawn once, untransformed";
    EXPECT_EQ(pieces[0].indexCount, 6u);
}

TEST(MeshPieces, ALoopOfParentsOrAMissingParentIsReportedAndEveryNodeBecomesARoot)
{
    MeshData data = MeshWithTriangles(2);
    data.nodes.push_back(Node("a", 0, 1, 1, MatrixCreateTranslation(1, 0, 0)));
    data.nodes.push_back(Node("b", 1, 1, 0, MatrixCreateTranslation(0, 2, 0)));
    QuorvaneTest::ErrorCapture errors;
    std::vector<MeshPiece> pieces = ComputeMeshPieces(data);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "cdhDataError: Mesh node 0, \"a\", has a parent that is its own ancestor; the "
                             "mesh's nodes are drawn without their parents.");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].transform.GetPosition(), Marrowgate::Core::Vector3(1, 0, 0));
    EXPECT_EQ(pieces[1].transform.GetPosition(), Marrowgate::Core::Vector3(0, 2, 0));

    data.nodes[1].parentIndex = 7;
    data.nodes[0].parentIndex = kNoParentNode;
    pieces = ComputeMeshPieces(data);
    EXPECT_EQ(errors.Last(), "cdhDataError: Mesh node 1, \"b\", has a parent that is not a node of the mesh; "
                             "the mesh's nodes are drawn without their parents.");
}

TEST(MeshPieces, ADeepChainOfNodesCostsOneStepPerNode)
{
    // Walking every node's ancestors afresh would take 200 million steps here.
    constexpr std::uint32_t kDepth = 20000;
    MeshData data = MeshWithTriangles(1);
    for (std::uint32_t node = 0; node < kDepth; ++node) {
        data.nodes.push_back(
            Node("link", 0, 0, node == 0 ? kNoParentNode : node - 1, MatrixCreateTranslation(1, 0, 0)));
    }
    data.nodes.back().secondValue = 1;
    const std::vector<MeshPiece> pieces = ComputeMeshPieces(data);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].transform.GetPosition(), Marrowgate::Core::Vector3(kDepth, 0, 0));
}

} // namespace
