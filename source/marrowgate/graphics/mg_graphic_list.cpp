#include "marrowgate/graphics/mg_graphic_list.h"

#include "marrowgate/core/mg_error.h"

#include <algorithm>

namespace {
constexpr char kUnitName[] = "mg_graphic_list";
} // namespace

namespace Marrowgate::Graphics {

GraphicList::GraphicList()
{
    SetScrollFactor(Vector2(0.0f, 0.0f));
}

GraphicList::~GraphicList()
{
    while (!mManaged.empty()) {
        mManaged.pop_back();
    }
    mDrawList.clear();
}

void GraphicList::AddGraphic(Graphic* graphic)
{
    if (graphic == nullptr) {
        MG_ERROR("mgExternalError: Expected graphic to be a valid pointer.");
        return;
    }
    InsertByDepth(graphic);
}

void GraphicList::AddManagedGraphic(Graphic* graphic)
{
    if (graphic == nullptr) {
        MG_ERROR("mgExternalError: Expected graphic to be a valid pointer.");
        return;
    }
    mManaged.emplace_back(graphic);
    InsertByDepth(graphic);
}

void GraphicList::InsertByDepth(Graphic* graphic)
{
    // After the last child whose depth is not greater, so equal depths keep the order of adding.
    // Scanning from the back stays well defined when a child's depth was changed after adding.
    const float depth = graphic->GetDepth();
    const auto lastNotDeeper =
        std::find_if(mDrawList.rbegin(), mDrawList.rend(),
                     [depth](const Graphic* child) { return child->GetDepth() <= depth; });
    const auto position = lastNotDeeper.base();
    mDrawList.insert(position, graphic);
}

void GraphicList::RemoveGraphic(Graphic* graphic)
{
    std::erase(mDrawList, graphic);
    const auto managed =
        std::find_if(mManaged.begin(), mManaged.end(),
                     [graphic](const std::unique_ptr<Graphic>& owned) { return owned.get() == graphic; });
    if (managed != mManaged.end()) {
        mManaged.erase(managed);
    }
}

void GraphicList::SetColor(const Color& color)
{
    for (Graphic* child : mDrawList) {
        child->SetColor(color);
    }
    Graphic::SetColor(color);
}

// Indexed loops: a child may add or remove graphics of this list while it updates or draws.
void GraphicList::OnUpdate(float deltaTime)
{
    for (std::size_t index = 0; index < mDrawList.size(); ++index) {
        mDrawList[index]->Update(deltaTime);
    }
}

void GraphicList::OnRender()
{
    for (std::size_t index = 0; index < mDrawList.size(); ++index) {
        mDrawList[index]->Render();
    }
}

} // namespace Marrowgate::Graphics
