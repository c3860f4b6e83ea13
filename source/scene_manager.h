#pragma once
// The scene manager owns the game's three scenes for the whole run and lets scenes switch to
// one another by identifier or end the game; it also holds the two game programs that the
// scenes draw with.
//
// The scenes are created together by Create (splash, title, gameplay, after the window and the
// shaders exist) and deleted by Destroy from the last to the first. Scene changes take effect
// at the start of the next frame; quitting at the end of the current one.
//
// Depends on: the framework's game application and scenes, the shader manager and the
// visualization of the 3D rendering kit, the game's scenes.

#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/game/mg_game_scene.h"

#include <memory>
#include <vector>

// An index into the scene manager's list.
enum SceneIdentifier
{
    kSplashScene = 0,
    kTitleScene = 1,
    kGameplayScene = 2,
};

class SceneManager : private Marrowgate::Core::Noncopyable
{
public:
    // Creates the manager and its scenes; reports a second call and keeps the first manager.
    static void Create();
    // Deletes the scenes, last first, and the manager; reports a call without a manager.
    static void Destroy();
    // The scene, or null after a report (no manager, identifier out of range).
    static Marrowgate::Game::GameScene* GetScene(SceneIdentifier sceneIdentifier);
    // The switch happens at the start of the next frame.
    static void ChangeToScene(SceneIdentifier sceneIdentifier);
    // The window closes at the end of the current frame.
    static void QuitGame();

    ~SceneManager();

private:
    SceneManager();

    std::vector<std::unique_ptr<Marrowgate::Game::GameScene>> mScenes;
};

// The single instance: null before Create and after Destroy.
extern SceneManager* theSceneManager;

// The lit mesh program and the line program; InvalidShader while not loaded.
extern Cinderhall::ShaderHandle theBasicObjectShader;
extern Cinderhall::ShaderHandle theVisualizerShader;

// Loads both programs and makes the line program the visualization's.
void LoadShaders();
void UnloadShaders();
