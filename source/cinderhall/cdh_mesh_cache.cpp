#include "cinderhall/cdh_mesh_cache.h"

#include <algorithm>
#include <map>

namespace {

using Cinderhall::Mesh;

// Built on first use and never destroyed, so objects with static lifetime can still load at exit.
std::map<std::string, std::weak_ptr<Mesh>, std::less<>>& Cache()
{
    static auto* cache = new std::map<std::string, std::weak_ptr<Mesh>, std::less<>>();
    return *cache;
}

} // namespace

namespace Cinderhall {

std::shared_ptr<Mesh> LoadSharedMesh(const std::string& path)
{
    auto& cache = Cache();
    std::erase_if(cache, [](const auto& entry) { return entry.second.expired(); });
    if (const auto found = cache.find(path); found != cache.end()) {
        return found->second.lock();
    }
    std::shared_ptr<Mesh> mesh = LoadMeshFromFile(path);
    if (mesh) {
        cache.emplace(path, mesh);
    }
    return mesh;
}

std::size_t GetSharedMeshCount()
{
    return static_cast<std::size_t>(std::count_if(Cache().begin(), Cache().end(),
                                                  [](const auto& entry) { return !entry.second.expired(); }));
}

} // namespace Cinderhall
