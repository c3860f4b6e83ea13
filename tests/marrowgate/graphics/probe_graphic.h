#pragma once
// A graphic that records what happens to it: the model-view it was drawn with, how often it was
// updated and drawn, and (through a shared log) when it was destroyed.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_graphic.h"

#include <string>
#include <vector>

namespace QuorvaneTest {

class ProbeGraphic : public Marrowgate::Graphics::Graphic
{
public:
    explicit ProbeGraphic(std::string name = "probe", std::vector<std::string>* log = nullptr)
        : mName(std::move(name)), mLog(log)
    {}
    ~ProbeGraphic() override
    {
        if (mLog != nullptr) {
            mLog->push_back("destroyed " + mName);
        }
    }

    Marrowgate::Graphics::PixelSpace GetPixelWidth() const override { return width; }
    Marrowgate::Graphics::PixelSpace GetPixelHeight() const override { return height; }

    Marrowgate::Graphics::Matrix4 drawnWith;
    int renders = 0;
    float updatedFor = 0.0f;
    Marrowgate::Graphics::PixelSpace width = 0;
    Marrowgate::Graphics::PixelSpace height = 0;

protected:
    void OnUpdate(float deltaTime) override { updatedFor += deltaTime; }
    void OnRender() override
    {
        drawnWith = Marrowgate::Graphics::GetModelViewMatrix();
        ++renders;
        if (mLog != nullptr) {
            mLog->push_back("rendered " + mName);
        }
    }

private:
    std::string mName;
    std::vector<std::string>* mLog;
};

} // namespace QuorvaneTest
