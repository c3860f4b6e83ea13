#pragma once
/// GraphicList: a graphic that draws its children in ascending depth, each relative to the list's
/// own transform. It owns only the children added as managed and destroys them with itself
/// (last added first). A child keeps its place when its depth changes later; the order is set
/// when it is added, and equal depths keep the order of adding.
/// @file
/// The list's scroll factor is (0, 0): each child applies the camera in its own transform.
/// Depends on: Graphic.

#include "marrowgate/graphics/mg_graphic.h"

#include <memory>
#include <vector>

namespace Marrowgate::Graphics {

class GraphicList : public Graphic
{
public:
    GraphicList();
    ~GraphicList() override;

    // The caller keeps ownership and keeps the graphic alive while it is in the list.
    void AddGraphic(Graphic* graphic);
    // The list takes ownership.
    void AddManagedGraphic(Graphic* graphic);
    void AddManagedGraphic(std::unique_ptr<Graphic> graphic) { AddManagedGraphic(graphic.release()); }
    // Removes every occurrence; a managed graphic is destroyed.
    void RemoveGraphic(Graphic* graphic);

    // Colours every child, then the list itself.
    void SetColor(const Color& color) override;

    // The children in draw order.
    const std::vector<Graphic*>& GetGraphics() const { return mDrawList; }

protected:
    void OnUpdate(float deltaTime) override;
    void OnRender() override;

private:
    void InsertByDepth(Graphic* graphic);

    std::vector<Graphic*> mDrawList;
    std::vector<std::unique_ptr<Graphic>> mManaged;
};

} // namespace Marrowgate::Graphics
