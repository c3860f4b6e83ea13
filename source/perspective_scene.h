#pragma once
// PerspectiveScene: the base of every scene that draws a 3D world under its 2D overlay.
//
// It is a framework game scene (its 2D children are stepped, updated and drawn as usual) with
// a 3D entity manager, a look-at camera fixed at (10, 10, 10) aimed at the origin and the 3D
// kit's perspective pass (with its sun-and-ambient lighting) over the whole screen: OnRender
// brackets the derived scene's OnPerspectiveRender between BeginPerspectiveRender and
// EndPerspectiveRender and then draws the 2D children on top. The pass restores the 2D
// projection, model-view and program exactly.
//
// Depends on: the framework's game scene, renderer, texture manager and screen metrics; the 3D
// game kit (entity manager); the 3D rendering kit (camera, perspective pass, shader manager).
// Limits: nothing is reset on open; derived scenes reset what they need.

#include "cinderhall/cdh_perspective_pass.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/math/mg_matrix.h"
#include "orrery/game_entity_manager.h"

class PerspectiveScene : public Marrowgate::Game::GameScene
{
public:
    PerspectiveScene();
    ~PerspectiveScene() override = 0;

    // The 2D entities' step, then the 3D entities' (with their collision pass).
    void OnSimulate() override;
    void OnUpdate(float deltaTime) override;
    void OnRender() override;

    // The 3D content, drawn between BeginPerspectiveRender and EndPerspectiveRender.
    virtual void OnPerspectiveRender() = 0;

    Orrery::Game::EntityManager& GetEntityManager() { return mEntityManager; }
    Cinderhall::cdhCamera& GetCamera3D() { return mCamera; }
    Cinderhall::SceneLighting& GetLighting() { return mPass.GetLighting(); }
    // The view and projection of the pass being drawn (or the last one).
    const Cinderhall::PerspectivePass& GetPerspectivePass() const { return mPass; }
    float GetFieldOfView() const { return mFieldOfView; }

    // Opens the pass with the visualization program, the camera's view and the perspective
    // projection below. Reports a pass that is already open.
    void BeginPerspectiveRender();
    // Closes the pass, which restores the 2D program and matrices. Reports a pass that is not open.
    void EndPerspectiveRender();

    // The right-handed projection for the stored vertical field of view divided by the aspect
    // ratio, near plane 0.1 and far plane 15000.
    static Marrowgate::Core::Matrix4 ComputeProjection(float fieldOfView, float aspectRatio);

private:
    Orrery::Game::EntityManager mEntityManager;
    float mFieldOfView;
    Cinderhall::cdhCamera mCamera;
    Cinderhall::PerspectivePass mPass;
    bool mInPerspectiveRender = false;
};
