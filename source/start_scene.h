#pragma once
// StartScene: the scene the game asks the application to show after the framework's logo.
//
// The logo is all that the first frame shows, so the game's own loading (its 3D programs, its
// audio event table, its scenes with their images and texts) waits for this scene, which the
// application opens once the logo has faded out; the window shows its first frame sooner.
// Opening loads all of that once and asks for the game's first scene, which therefore starts
// with everything it needs; the start scene itself draws one empty frame meanwhile. Its
// destructor releases what the opening loaded (scenes, then programs), so it must go before the
// window's context; when the window closed during the logo there is nothing to release.
//
// Depends on: the scene manager (scenes and programs), the audio manager, the game application.
#include "marrowgate/game/mg_game_scene.h"
#include "scene_manager.h"

class StartScene final : public Marrowgate::Game::GameScene
{
public:
    explicit StartScene(SceneIdentifier firstScene);
    ~StartScene() override;

    void OnOpen() override;

    bool HasLoaded() const { return mHasLoaded; }

private:
    SceneIdentifier mFirstScene;
    bool mHasLoaded = false;
};
