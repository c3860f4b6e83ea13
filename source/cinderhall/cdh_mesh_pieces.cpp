#include "cinderhall/cdh_mesh_pieces.h"

#include "marrowgate/core/mg_error.h"

namespace {
constexpr char kUnitName[] = "cdh_mesh_pieces";

using Cinderhall::kNoParentNode;
using Cinderhall::MeshNode;
using Marrowgate::Core::Matrix4;

std::vector<Matrix4> RootsOnly(const std::vector<MeshNode>& nodes)
{
    std::vector<Matrix4> worlds;
    worlds.reserve(nodes.size());
    for (const MeshNode& node : nodes) {
        worlds.push_back(node.transform);
    }
    return worlds;
}

void ReportBadParent(const std::vector<MeshNode>& nodes, std::uint32_t node, const char* problem)
{
    MG_ERROR("cdhDataError: Mesh node %u, \"%s\", has a parent that is %s; the mesh's nodes are drawn "
             "without their parents.",
             node, nodes[node].name.c_str(), problem);
}

// Each node's transform followed by its ancestors', each computed once, so a deep chain costs
// no more than a flat list. With a parent index out of range or a loop of parents (reported),
// every node is a root.
std::vector<Matrix4> ComputeNodeWorlds(const std::vector<MeshNode>& nodes)
{
    enum class State
    {
        kNotSeen,
        kOnPath,
        kDone
    };
    const auto size = static_cast<std::uint32_t>(nodes.size());
    std::vector<State> states(size, State::kNotSeen);
    std::vector<Matrix4> worlds(size);
    std::vector<std::uint32_t> path;
    for (std::uint32_t start = 0; start < size; ++start) {
        // Up from the start to a root or to a node already done...
        path.clear();
        for (std::uint32_t node = start; states[node] != State::kDone;) {
            if (states[node] == State::kOnPath) {
                ReportBadParent(nodes, node, "its own ancestor");
                return RootsOnly(nodes);
            }
            states[node] = State::kOnPath;
            path.push_back(node);
            const std::uint32_t parent = nodes[node].parentIndex;
            if (parent == kNoParentNode) {
                break;
            }
            if (parent >= size) {
                ReportBadParent(nodes, node, "not a node of the mesh");
                return RootsOnly(nodes);
            }
            node = parent;
        }
        // ...and back down, each node under its parent's finished world transform.
        for (auto node = path.rbegin(); node != path.rend(); ++node) {
            const std::uint32_t parent = nodes[*node].parentIndex;
            worlds[*node] =
                parent == kNoParentNode ? nodes[*node].transform : nodes[*node].transform * worlds[parent];
            states[*node] = State::kDone;
        }
    }
    return worlds;
}

} // namespace

namespace Cinderhall {

std::vector<MeshPiece> ComputeMeshPieces(const MeshData& data)
{
    const std::uint64_t triangleCount = data.indices.size() / 3;
    std::vector<MeshPiece> pieces;
    std::vector<bool> named(triangleCount, false);
    const std::vector<Matrix4> worlds = ComputeNodeWorlds(data.nodes);
    bool rangeReported = false;
    for (std::uint32_t node = 0; node < data.nodes.size(); ++node) {
        const MeshNode& meshNode = data.nodes[node];
        const std::uint64_t first = meshNode.firstValue;
        const std::uint64_t count = meshNode.secondValue;
        if (count == 0) {
            continue;
        }
        if (first + count > triangleCount) {
            MG_ERROR_IF(
                !rangeReported,
                "cdhDataError: Mesh node %u, \"%s\", names triangles %llu to %llu, but the mesh has %llu; "
                "the node is not drawn.",
                node, meshNode.name.c_str(), static_cast<unsigned long long>(first),
                static_cast<unsigned long long>(first + count - 1),
                static_cast<unsigned long long>(triangleCount));
            rangeReported = true;
            continue;
        }
        std::fill(named.begin() + static_cast<std::ptrdiff_t>(first),
                  named.begin() + static_cast<std::ptrdiff_t>(first + count), true);
        pieces.push_back({static_cast<std::uint32_t>(first * 3), static_cast<std::uint32_t>(count * 3),
                          worlds[node], true});
    }
    // The runs of triangles no node named, in order.
    for (std::uint64_t triangle = 0; triangle < triangleCount;) {
        if (named[triangle]) {
            ++triangle;
            continue;
        }
        const std::uint64_t runStart = triangle;
        while (triangle < triangleCount && !named[triangle]) {
            ++triangle;
        }
        pieces.push_back({static_cast<std::uint32_t>(runStart * 3),
                          static_cast<std::uint32_t>((triangle - runStart) * 3), Matrix4(), false});
    }
    return pieces;
}

} // namespace Cinderhall
