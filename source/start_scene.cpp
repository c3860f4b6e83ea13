#include "start_scene.h"

#include "marrowgate/audio/mg_audio_manager.h"

StartScene::StartScene(SceneIdentifier firstScene) : mFirstScene(firstScene) {}

StartScene::~StartScene()
{
    if (mHasLoaded) {
        // The scenes go before the programs they draw with.
        SceneManager::Destroy();
        UnloadShaders();
    }
}

void StartScene::OnOpen()
{
    Marrowgate::Game::GameScene::OnOpen();
    if (!mHasLoaded) {
        mHasLoaded = true;
        LoadShaders();
        Marrowgate::Audio::theAudioManager.LoadEventTable("audio_events", "data/audio/audio_events.json");
        SceneManager::Create();
    }
    SceneManager::ChangeToScene(mFirstScene);
}
