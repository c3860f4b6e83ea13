// Mesh file contents of every encoding through the loader: whatever the bytes, loading must
// not crash, read out of bounds or allocate for counts the data cannot hold, and every mesh it
// gives back must index inside its own vertex array.

#include "cinderhall/cdh_mesh.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto bytes = std::as_bytes(std::span(data, size));
    // Headerless text is only accepted under a .msh name, so both names are tried.
    for (const char* path : {"fuzz.msh", "fuzz.txt"}) {
        const auto mesh = Cinderhall::LoadMeshFromMemory(bytes, path);
        if (mesh == nullptr) {
            continue;
        }
        const Cinderhall::MeshData& meshData = mesh->GetData();
        for (std::uint32_t index : meshData.indices) {
            if (index >= meshData.vertices.size()) {
                std::abort();
            }
        }
    }
    return 0;
}
