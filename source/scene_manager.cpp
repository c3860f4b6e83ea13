#include "scene_manager.h"

#include "cinderhall/cdh_visualization.h"
#include "gameplay_scene.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/game/mg_game_application.h"
#include "splash_scene.h"
#include "title_scene.h"

namespace {

constexpr char kUnitName[] = "scene_manager";

} // namespace

// A plain pointer that Create and Destroy manage by hand: the scenes must go while the registries
// their graphics live in still exist, so nothing may delete them late, during static destruction.
SceneManager* theSceneManager = nullptr;
Cinderhall::ShaderHandle theBasicObjectShader = Cinderhall::InvalidShader;
Cinderhall::ShaderHandle theVisualizerShader = Cinderhall::InvalidShader;

SceneManager::SceneManager()
{
    mScenes.reserve(3);
    mScenes.push_back(std::make_unique<SplashScene>());
    mScenes.push_back(std::make_unique<TitleScene>());
    mScenes.push_back(std::make_unique<GameplayScene>());
}

SceneManager::~SceneManager()
{
    // Last to first: a later scene may refer to an earlier one, never the other way round.
    for (auto scene = mScenes.rbegin(); scene != mScenes.rend(); ++scene) {
        scene->reset();
    }
}

void SceneManager::Create()
{
    MG_ERROR_IF(
        theSceneManager != nullptr,
        "Expected theSceneManager to be null when calling create, seems create has been called twice.");
    if (theSceneManager != nullptr) {
        return;
    }
    theSceneManager = new SceneManager();
}

void SceneManager::Destroy()
{
    MG_ERROR_IF(theSceneManager == nullptr,
                "Expected theSceneManager to be a valid pointer when calling destroy, "
                "seems destroy has been called twice, or without create.");
    delete theSceneManager;
    theSceneManager = nullptr;
}

Marrowgate::Game::GameScene* SceneManager::GetScene(SceneIdentifier sceneIdentifier)
{
    MG_ERROR_IF(theSceneManager == nullptr,
                "Expected theSceneManager to be created and valid before ChangeToScene is called.");
    if (theSceneManager == nullptr) {
        return nullptr;
    }
    const int index = static_cast<int>(sceneIdentifier);
    MG_ERROR_IF(index < 0, "Expected a valid sceneIdentifier, below zero is out of range.");
    MG_ERROR_IF(index >= static_cast<int>(theSceneManager->mScenes.size()),
                "Expected a valid sceneIdentifier, out of range.  Was the scene added to manager?");
    if (index < 0 || index >= static_cast<int>(theSceneManager->mScenes.size())) {
        return nullptr;
    }
    return theSceneManager->mScenes[static_cast<std::size_t>(index)].get();
}

void SceneManager::ChangeToScene(SceneIdentifier sceneIdentifier)
{
    Marrowgate::Game::GameScene* scene = GetScene(sceneIdentifier);
    // A failed look-up was reported; switching to no scene would fall back to the logo scene.
    if (scene != nullptr) {
        Marrowgate::Game::GameApplication::ChangeToScene(scene);
    }
}

void SceneManager::QuitGame()
{
    MG_ERROR_IF(theSceneManager == nullptr,
                "Expected theSceneManager to be created and valid before QuitGame is called.");
    if (theSceneManager != nullptr) {
        Marrowgate::Game::GameApplication::RequestQuit();
    }
}

void LoadShaders()
{
    theBasicObjectShader = Cinderhall::theShaderManager->CreateShaderFromFile(
        "data/shaders/basic_object_shader.vert", "data/shaders/basic_object_shader.frag");
    theVisualizerShader = Cinderhall::theShaderManager->CreateShaderFromFile(
        "data/shaders/visualizer_shader.vert", "data/shaders/visualizer_shader.frag");
    Cinderhall::SetVisualizationShader(theVisualizerShader);
}

void UnloadShaders()
{
    Cinderhall::theShaderManager->DestroyShader(theVisualizerShader);
    theVisualizerShader = Cinderhall::InvalidShader;
    Cinderhall::theShaderManager->DestroyShader(theBasicObjectShader);
    theBasicObjectShader = Cinderhall::InvalidShader;
}
