#pragma once
// GameplayScene: where the game is played. Each time it opens it creates the car and one chip
// in its 3D entity manager (the car first), the score display among its 2D entities, and a
// ground grid of 500 x 500 units with 10-unit spacing plus six axis lines in its own
// visualization; those of an earlier opening go first, so there is only ever one of each.
// Every frame it keeps the fixed camera aimed at the car; the step that sees Escape (or a game
// controller's Back) released quits, so a tap within one slow frame counts too. There is no
// game over and no way back to the title.
//
// Depends on: the perspective scene, the car, the chip, the score display, the scene manager
// (quitting and the two game programs), the 3D rendering kit.

#include "cinderhall/cdh_visualization.h"
#include "marrowgate/game/mg_key_binding.h"
#include "perspective_scene.h"

#include <cstdint>
#include <vector>

struct GroundLine
{
    Marrowgate::Core::Vector3 start;
    Marrowgate::Core::Vector3 end;
    std::uint32_t color; // 0xAARRGGBB
};

// The ground's lines in drawing order: for i = 1 to 25 the dark green lines at +10i and then at
// -10i (along z, then along x), then the six axes from the origin (+z, -z, +y, -y, +x, -x).
std::vector<GroundLine> GroundLines();

class GameplayScene : public PerspectiveScene
{
public:
    GameplayScene();
    ~GameplayScene() override;

    void OnOpen() override;
    void OnSimulate() override;
    void OnUpdate(float deltaTime) override;
    // Entities (the car's heading line), meshes with the lit program, then the axes and the
    // grid with the line program.
    void OnPerspectiveRender() override;

private:
    void RemovePlayersOfAnEarlierOpening();
    void BuildGround();

    Cinderhall::Visualization mGroundVisualization;
    Marrowgate::Game::KeyBinding mQuitKeys{Marrowgate::Application::KeyEscape,
                                           Marrowgate::Application::ControllerBack};
};
