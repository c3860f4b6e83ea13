#include "scene_manager.h"

#include "gameplay_scene.h"
#include "splash_scene.h"
#include "support/error_capture.h"
#include "title_scene.h"

#include <gtest/gtest.h>

namespace {

// Without a game application a report is only recorded and the caller carries on, which lets
// these tests see each check and what the manager does next.
class SceneManagerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (theSceneManager != nullptr) {
            SceneManager::Destroy();
        }
    }

    QuorvaneTest::ErrorCapture errors;
};

TEST_F(SceneManagerTest, CreateMakesTheThreeScenesInIdentifierOrder)
{
    ASSERT_EQ(theSceneManager, nullptr);
    SceneManager::Create();
    ASSERT_NE(theSceneManager, nullptr);
    EXPECT_NE(dynamic_cast<SplashScene*>(SceneManager::GetScene(kSplashScene)), nullptr);
    EXPECT_NE(dynamic_cast<TitleScene*>(SceneManager::GetScene(kTitleScene)), nullptr);
    EXPECT_NE(dynamic_cast<GameplayScene*>(SceneManager::GetScene(kGameplayScene)), nullptr);
    EXPECT_FALSE(errors.Fired());
    SceneManager::Destroy();
    EXPECT_EQ(theSceneManager, nullptr);
}

TEST_F(SceneManagerTest, IdentifiersOutsideTheListAreReportedAndGiveNoScene)
{
    SceneManager::Create();
    EXPECT_EQ(SceneManager::GetScene(static_cast<SceneIdentifier>(3)), nullptr);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "Expected a valid sceneIdentifier, out of range.  Was the scene added to manager?");
    EXPECT_EQ(SceneManager::GetScene(static_cast<SceneIdentifier>(-1)), nullptr);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(), "Expected a valid sceneIdentifier, below zero is out of range.");
}

TEST_F(SceneManagerTest, CreatingTwiceIsReportedAndKeepsTheFirstManager)
{
    SceneManager::Create();
    SceneManager* const first = theSceneManager;
    Marrowgate::Game::GameScene* const splash = SceneManager::GetScene(kSplashScene);
    SceneManager::Create();
    ASSERT_TRUE(errors.Fired());
    EXPECT_EQ(errors.Last(),
              "Expected theSceneManager to be null when calling create, seems create has been called twice.");
    EXPECT_EQ(theSceneManager, first);
    EXPECT_EQ(SceneManager::GetScene(kSplashScene), splash);
}

TEST_F(SceneManagerTest, DestroyingTwiceIsReported)
{
    SceneManager::Create();
    SceneManager::Destroy();
    EXPECT_FALSE(errors.Fired());
    SceneManager::Destroy();
    ASSERT_TRUE(errors.Fired());
    EXPECT_EQ(errors.Last(),
              "Expected theSceneManager to be a valid pointer when calling destroy, seems destroy "
              "has been called twice, or without create.");
}

TEST_F(SceneManagerTest, SceneRequestsWithoutAManagerAreReportedAndIgnored)
{
    SceneManager::ChangeToScene(kTitleScene);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "Expected theSceneManager to be created and valid before ChangeToScene is called.");
    SceneManager::QuitGame();
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(), "Expected theSceneManager to be created and valid before QuitGame is called.");
}

} // namespace
