// Mesh file loading throughput, in bytes of file per second, for binary and text .msh files
// of about 10k, 100k and 1M triangles, each beside a baseline over the same bytes: a plain
// fread of the binary file, and a from_chars tokenizer over the text file. No GPU: the
// renderer is not initialised, so the loader stops after parsing and checking.

#include "cinderhall/cdh_mesh.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

namespace {

using namespace Cinderhall;

// A square grid of side x side quads with varied positions, normals, colours and coordinates.
MeshData MakeGrid(int side)
{
    MeshData data;
    data.flags = kPositions | kNormals | kTextureCoordinates | kColors;
    for (int row = 0; row <= side; ++row) {
        for (int column = 0; column <= side; ++column) {
            Vertex3D vertex;
            vertex.x = static_cast<float>(column) * 0.37f;
            vertex.y = std::sin(static_cast<float>(row * column) * 0.01f);
            vertex.z = static_cast<float>(row) * -0.29f;
            vertex.normalY = 0.98f;
            vertex.normalX = 0.19899749f;
            vertex.color = 0xFF000000u | (static_cast<std::uint32_t>(row * 7919 + column) & 0xFFFFFFu);
            vertex.u = static_cast<float>(column) / static_cast<float>(side);
            vertex.v = static_cast<float>(row) / static_cast<float>(side);
            data.vertices.push_back(vertex);
        }
    }
    const auto at = [side](int row, int column) {
        return static_cast<std::uint32_t>(row * (side + 1) + column);
    };
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            data.indices.insert(data.indices.end(),
                                {at(row, column), at(row + 1, column), at(row + 1, column + 1),
                                 at(row, column), at(row + 1, column + 1), at(row, column + 1)});
        }
    }
    return data;
}

struct MeshFiles
{
    std::string binaryPath;
    std::string textPath;
};

// Written once per size and removed at exit.
const MeshFiles& FilesFor(int triangles)
{
    static std::map<int, MeshFiles> files;
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / "quorvane_mesh_benchmark";
        std::filesystem::create_directories(path);
        return path;
    }();
    static const struct Cleanup
    {
        ~Cleanup() { std::filesystem::remove_all(folder); }
    } cleanup;
    auto found = files.find(triangles);
    if (found != files.end()) {
        return found->second;
    }
    const MeshData grid = MakeGrid(static_cast<int>(std::lround(std::sqrt(triangles / 2.0))));
    MeshFiles written{(folder / (std::to_string(triangles) + ".bin.msh")).string(),
                      (folder / (std::to_string(triangles) + ".txt.msh")).string()};
    const std::vector<std::byte> binary = WriteBinaryMesh(grid);
    std::ofstream(written.binaryPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(binary.data()), static_cast<std::streamsize>(binary.size()));
    std::ofstream(written.textPath, std::ios::binary) << WriteTextMesh(grid).value();
    return files.emplace(triangles, written).first->second;
}

std::vector<char> ReadAll(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    std::vector<char> bytes(std::filesystem::file_size(path));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return bytes;
}

void Load(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        auto mesh = LoadMeshFromFile(path);
        benchmark::DoNotOptimize(mesh->GetData().indices.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void LoadBinary(benchmark::State& state)
{
    Load(state, FilesFor(static_cast<int>(state.range(0))).binaryPath);
}

void LoadText(benchmark::State& state)
{
    Load(state, FilesFor(static_cast<int>(state.range(0))).textPath);
}

void PlainReadOfBinary(benchmark::State& state)
{
    const std::string& path = FilesFor(static_cast<int>(state.range(0))).binaryPath;
    for (auto _ : state) {
        std::vector<char> bytes = ReadAll(path);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// Reads the file and converts every whitespace-separated token to a float: the least a text
// loader must do.
void FromCharsOverText(benchmark::State& state)
{
    const std::string& path = FilesFor(static_cast<int>(state.range(0))).textPath;
    for (auto _ : state) {
        const std::vector<char> text = ReadAll(path);
        const char* cursor = text.data();
        const char* const end = text.data() + text.size();
        float sum = 0.0f;
        while (cursor < end) {
            while (cursor < end && (*cursor == ' ' || *cursor == '\n')) {
                ++cursor;
            }
            float value = 0.0f;
            const auto result = std::from_chars(cursor, end, value);
            sum += value;
            cursor = result.ptr == cursor ? cursor + 1 : result.ptr;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

constexpr std::int64_t kSizes[] = {10'000, 100'000, 1'000'000};

} // namespace

BENCHMARK(LoadBinary)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(PlainReadOfBinary)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(LoadText)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(FromCharsOverText)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
