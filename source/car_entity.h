#pragma once
// CarEntity: the player's car, driven with the arrow keys over the ground plane, or with a game
// controller's d-pad or left stick.
//
// Once per fixed step (10 ms) a thrust of 10 along the heading (Up) or against it (Down) and a
// drag of 0.78 times the velocity make the force; Left and Right turn the car 3.6 degrees per
// step about its own up axis whatever its speed; then velocity and position are integrated
// over the step. The velocity is kept in world space and is not turned with the car, so the car
// slides after a turn until drag and thrust have swung it round. Top speed is 10 / 0.78, about
// 12.8 units per second. Space (or the controller's south button) puts the car back at the origin
// facing +z, once per press.
// The car collects chips with a bounding sphere of radius 0.762 and shows its heading as a
// 10-unit magenta line in the program-wide debug visualization.
//
// Depends on: the 3D game kit (entity), the 3D rendering kit (mesh objects, debug lines), the
// framework's key bindings. Main thread only.

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/math/mg_vector.h"
#include "orrery/game_entity_manager.h"

// The program-wide debug lines. Only the car uses them: it clears them and adds its heading
// line every step, so they hold exactly the latest heading.
extern Cinderhall::Visualization theDebugVisualization;

class CarEntity : public Orrery::Game::Entity
{
public:
    // Loads the car's mesh and gives the car its collision sphere; the car starts at rest at
    // the origin facing +z.
    CarEntity();
    ~CarEntity() override;

    // One step of the driving model.
    void OnSimulate() override;
    // Keeps the mesh where the car is.
    void OnUpdate(float deltaTime) override;
    // Draws the heading line.
    void OnRender() override;

    // World units per second, in world space.
    const Marrowgate::Core::Vector3& GetVelocity() const { return mVelocity; }
    void SetVelocity(const Marrowgate::Core::Vector3& velocity) { mVelocity = velocity; }

private:
    void UpdateHeadingLine(const Marrowgate::Core::Vector3& forward) const;
    Marrowgate::Core::Vector3 ComputeForce(const Marrowgate::Core::Vector3& forward) const;
    void Turn();
    void Integrate(const Marrowgate::Core::Vector3& force);

    Cinderhall::MeshObject mMesh;
    Marrowgate::Game::KeyBinding mAccelerateKey{Marrowgate::Application::KeyUp,
                                                Marrowgate::Application::ControllerDPadUp,
                                                Marrowgate::Application::ControllerStickUp};
    Marrowgate::Game::KeyBinding mReverseKey{Marrowgate::Application::KeyDown,
                                             Marrowgate::Application::ControllerDPadDown,
                                             Marrowgate::Application::ControllerStickDown};
    Marrowgate::Game::KeyBinding mTurnLeftKey{Marrowgate::Application::KeyLeft,
                                              Marrowgate::Application::ControllerDPadLeft,
                                              Marrowgate::Application::ControllerStickLeft};
    Marrowgate::Game::KeyBinding mTurnRightKey{Marrowgate::Application::KeyRight,
                                               Marrowgate::Application::ControllerDPadRight,
                                               Marrowgate::Application::ControllerStickRight};
    Marrowgate::Game::KeyBinding mResetKey{Marrowgate::Application::KeySpace,
                                           Marrowgate::Application::ControllerSouth};
    Marrowgate::Core::Vector3 mVelocity;
};
