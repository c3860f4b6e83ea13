// quorvane-mesh: writes .msh mesh files, binary or text, from Wavefront OBJ files or from
// other .msh files, and prints what a mesh file holds.
//
//   quorvane-mesh convert [--text] INPUT OUTPUT   INPUT is .obj or any .msh encoding;
//                                                 OUTPUT is binary unless --text is given
//   quorvane-mesh info FILE                       counts, flags and bounds of a mesh file
//
// The output replaces its file all at once (atomic_file.h): a failed write leaves the old file.

#include "atomic_file.h"
#include "obj_import.h"

#include "cinderhall/cdh_mesh.h"
#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_out_of_memory.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
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

// Extensions are compared without regard to case: "model.Obj" is an OBJ file.
bool IsObjPath(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return extension == ".obj";
}

bool LoadInput(const std::string& path, Cinderhall::MeshData& data)
{
    // Refusals (no such file, not a regular file, too large) are printed by the handler.
    const std::optional<std::string> read =
        Marrowgate::Core::ReadDataFile<std::string>(path, Marrowgate::Core::kMaximumMeshFileBytes);
    if (!read) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::string& contents = *read;
    const Marrowgate::Core::Error::ReportSubject subject(path);
    if (IsObjPath(path)) {
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

// The file's bytes, or nothing after a report when the mesh cannot be stored in that form.
std::optional<std::string> Encode(const Cinderhall::MeshData& data, bool asText)
{
    if (asText) {
        return Cinderhall::WriteTextMesh(data);
    }
    const std::vector<std::byte> bytes = Cinderhall::WriteBinaryMesh(data);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

int Convert(const std::vector<std::string>& arguments)
{
    bool asText = false;
    std::vector<std::string> paths;
    for (const std::string& argument : arguments) {
        if (argument == "--text") {
            asText = true;
        } else if (argument.size() > 1 && argument.front() == '-') {
            std::fprintf(stderr, "unknown option %s\n", argument.c_str());
            return Usage();
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() != 2) {
        return Usage();
    }
    const std::string& output = paths[1];
    // Most likely the two paths were swapped; the OBJ file would be lost.
    if (IsObjPath(output)) {
        std::fprintf(stderr, "refusing to overwrite %s, an OBJ file, with a mesh: the output comes second\n",
                     output.c_str());
        return Usage();
    }
    Cinderhall::MeshData data;
    if (!LoadInput(paths[0], data)) {
        return 1;
    }
    const std::optional<std::string> bytes = Encode(data, asText);
    if (!bytes) {
        std::fprintf(stderr, "%s: the mesh cannot be written in this form\n", output.c_str());
        return 1;
    }
    std::string error;
    if (!MeshTool::ReplaceFileAtomically(output, *bytes, error)) {
        std::fprintf(stderr, "%s: %s\n", output.c_str(), error.c_str());
        return 1;
    }
    std::printf("%s: %zu vertices, %zu triangles (%s)\n", output.c_str(), data.vertices.size(),
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
    // Under a file-size limit a write past it then fails and is reported, instead of ending
    // the tool before it can remove its partial file.
    std::signal(SIGXFSZ, SIG_IGN);
    Marrowgate::Core::EndProgramWhenMemoryRunsOut();
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
