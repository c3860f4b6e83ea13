// quorvane-mesh: writes .msh mesh files, binary or text, from Wavefront OBJ files or from
// other .msh files, and prints what a mesh file holds.
//
//   quorvane-mesh convert [--text] INPUT OUTPUT   INPUT is .obj or any .msh encoding;
//                                                 OUTPUT is binary unless --text is given
//   quorvane-mesh info FILE                       counts, flags and bounds of a mesh file

#include "obj_import.h"

#include "cinderhall/cdh_mesh.h"
#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Reports of the mesh reader go to the terminal instead of being recorded silently.
class PrintingErrorHandler : public Marrowgate::Core::Error::ErrorHandlerInterface
{
public:
    void OnErrorFired(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

int Usage()
{
    std::fprintf(stderr, "usage: quorvane-mesh convert [--text] INPUT OUTPUT\n"
                         "       quorvane-mesh info FILE\n");
    return 2;
}

bool ReadFile(const std::string& path, std::string& contents)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool LoadInput(const std::string& path, Cinderhall::MeshData& data)
{
    std::string contents;
    if (!ReadFile(path, contents)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    if (path.ends_with(".obj") || path.ends_with(".OBJ")) {
        std::string error;
        if (!MeshTool::ImportObj(contents, data, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return false;
        }
        return true;
    }
    const auto mesh = Cinderhall::LoadMeshFromMemory(std::as_bytes(std::span(contents)), path);
    if (mesh == nullptr || mesh->IsEmpty()) {
        std::fprintf(stderr, "%s: not a usable mesh file\n", path.c_str());
        return false;
    }
    data = mesh->GetData();
    return true;
}

int Convert(const std::vector<std::string>& arguments)
{
    const bool asText = std::find(arguments.begin(), arguments.end(), "--text") != arguments.end();
    std::vector<std::string> paths;
    std::copy_if(arguments.begin(), arguments.end(), std::back_inserter(paths),
                 [](const std::string& argument) { return !argument.starts_with("--"); });
    if (paths.size() != 2) {
        return Usage();
    }
    Cinderhall::MeshData data;
    if (!LoadInput(paths[0], data)) {
        return 1;
    }
    std::ofstream output(paths[1], std::ios::binary | std::ios::trunc);
    if (asText) {
        output << Cinderhall::WriteTextMesh(data);
    } else {
        const std::vector<std::byte> bytes = Cinderhall::WriteBinaryMesh(data);
        output.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    if (!output.flush()) {
        std::fprintf(stderr, "cannot write %s\n", paths[1].c_str());
        return 1;
    }
    std::printf("%s: %zu vertices, %zu triangles (%s)\n", paths[1].c_str(), data.vertices.size(),
                data.indices.size() / 3, asText ? "text" : "binary");
    return 0;
}

int Info(const std::string& path)
{
    Cinderhall::MeshData data;
    if (!LoadInput(path, data)) {
        return 1;
    }
    float low[3] = {data.vertices[0].x, data.vertices[0].y, data.vertices[0].z};
    float high[3] = {low[0], low[1], low[2]};
    for (const Cinderhall::Vertex3D& vertex : data.vertices) {
        const float position[3] = {vertex.x, vertex.y, vertex.z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], position[axis]);
            high[axis] = std::max(high[axis], position[axis]);
        }
    }
    std::printf("%s\n  vertices %zu, triangles %zu, nodes %zu, flags 0x%X\n"
                "  bounds (%g, %g, %g) to (%g, %g, %g)\n",
                path.c_str(), data.vertices.size(), data.indices.size() / 3, data.nodes.size(),
                static_cast<unsigned>(data.flags), low[0], low[1], low[2], high[0], high[1], high[2]);
    return 0;
}

} // namespace

int main(int argumentCount, char** argumentValues)
{
    const std::vector<std::string> arguments(argumentValues + 1, argumentValues + argumentCount);
    PrintingErrorHandler printer;
    Marrowgate::Core::Error::AddErrorHandler(&printer);
    int result = 0;
    if (!arguments.empty() && arguments[0] == "convert") {
        result = Convert({arguments.begin() + 1, arguments.end()});
    } else if (arguments.size() == 2 && arguments[0] == "info") {
        result = Info(arguments[1]);
    } else {
        result = Usage();
    }
    Marrowgate::Core::Error::RemoveErrorHandler(&printer);
    return result;
}
