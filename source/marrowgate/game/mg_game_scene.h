#pragma once
/// GameScene: an entity manager with its own 2D camera, driven by the game application.
/// @file
/// The application opens a scene when it becomes current and closes it when it stops being
/// current; in between it runs fixed steps from the scene's step accumulator (OnSimulate), one
/// Update per frame and one Render. Opening installs the scene's camera as the active one;
/// closing leaves the default camera. The whole scene is drawn turned about the screen centre,
/// opposite to the camera's orientation. Each frame starts by clearing the window to the scene's
/// clear colour (transparent black unless the scene sets another), so a 3D scene can have its own
/// background. Game code derives from it (the destructor is pure).
/// Depends on: graphics (camera, renderer), the entity manager, the game application.

#include "marrowgate/game/mg_entity_manager.h"
#include "marrowgate/graphics/mg_camera.h"
#include "marrowgate/graphics/mg_color.h"

#include <string>

namespace Marrowgate::Game {

class GameScene : public EntityManager
{
public:
    GameScene() = default;
    // A scene destroyed while it is the application's current or next scene is forgotten there.
    ~GameScene() override = 0;

    // Resets the step accumulator and makes this scene's camera the active camera.
    virtual void OnOpen();
    // Installs no camera, so the default camera is active until another scene opens.
    virtual void OnClose();

    // While text input is on (Marrowgate::Application::SetTextInputEnabled), what the player
    // types, in UTF-8; it arrives with the pass's other events, before the frame's steps.
    virtual void OnTextInput(const std::string& /*text*/) {}
    // An input method's composition so far (empty when it ends), with the cursor and the length
    // of its selected part in code points: show it at the insertion point, underlined, until
    // OnTextInput delivers the finished text.
    virtual void OnTextComposition(const std::string& /*text*/, int /*cursor*/, int /*selectionLength*/) {}

    // Not premultiplied: the window takes the colour as given.
    void SetClearColor(const Graphics::Color& color) { mClearColor = color; }
    const Graphics::Color& GetClearColor() const { return mClearColor; }

    Graphics::Camera& GetCamera() { return mCamera; }
    const Graphics::Camera& GetCamera() const { return mCamera; }

    // Seconds not yet consumed by fixed steps; the game application's frame reads and writes it.
    float GetStepAccumulator() const { return mStepAccumulator; }
    void SetStepAccumulator(float seconds) { mStepAccumulator = seconds; }

protected:
    // Draws the entities turned about the screen centre, opposite to the active camera.
    void OnRender() override;

private:
    Graphics::Camera mCamera;
    Graphics::Color mClearColor{0.0f, 0.0f, 0.0f, 0.0f};
    float mStepAccumulator = 0.0f;
};

} // namespace Marrowgate::Game
