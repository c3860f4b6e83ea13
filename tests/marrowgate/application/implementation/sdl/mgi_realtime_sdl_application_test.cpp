#include "marrowgate/application/implementation/sdl/mgi_realtime_sdl_application.h"

#include "marrowgate/application/mg_input.h"
#include "marrowgate/application/mg_realtime_application.h"
#include "marrowgate/application/recording_handler.h"
#include "marrowgate/application/scripted_platform.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "support/error_capture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Marrowgate::Application::Key;
using Marrowgate::Application::RealtimeApplication;
using Marrowgate::Application::WindowMode;
using QuorvaneTest::PlatformEventType;
using QuorvaneTest::ScriptedPass;
using QuorvaneTest::ScriptedPlatform;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RealtimeApplicationTest : public ::testing::Test
{
protected:
    std::vector<std::string> log;
    ScriptedPlatform platform{log};
    QuorvaneTest::ScriptedPlatformScope scope{platform};
    QuorvaneTest::RecordingHandler handler{log};
    RealtimeApplication application{handler};

    std::vector<std::string> Matching(const std::string& prefix) const
    {
        std::vector<std::string> matching;
        std::copy_if(log.begin(), log.end(), std::back_inserter(matching),
                     [&](const std::string& entry) { return entry.starts_with(prefix); });
        return matching;
    }
    void OpenRunToEnd()
    {
        application.Open();
        application.Run();
    }
};

TEST_F(RealtimeApplicationTest, OneRunRaisesCallbacksAndPlatformCallsInOrder)
{
    platform.script = {{0.01, {{QuorvaneTest::PlatformEventType::kBecomeActive}}},
                       {0.01, {}},
                       {0.01, {QuorvaneTest::CloseEvent()}}};
    OpenRunToEnd();
    EXPECT_THAT(log, ElementsAre("CollectWindowProperties", "platform Initialize", "CreateWindow",
                                 "SetWindowStyle", "CreateLegacyContext", "InitializeLoader",
                                 "CreateVersionedContext core 3.2", "InitializeLoader", "SetSwapInterval 1",
                                 "OnGraphicsContextCreated", "OnWindowOpen", "ShowWindow", "OnBecomeActive",
                                 "OnRealtimeUpdate", "OnRealtimeUpdate", "OnGraphicsContextDestroyed",
                                 "DestroyContext", "DestroyWindow", "OnWindowClose", "platform Shutdown"));
    EXPECT_FALSE(mgImplementation::IsApplicationOpen());
}

TEST_F(RealtimeApplicationTest, CloseFromTheHandlerEndsTheLoopOnTheNextPass)
{
    handler.onUpdate = [&](int update) {
        if (update == 2) {
            application.Close();
        }
    };
    platform.script = {{0.01, {}}, {0.01, {}}, {0.01, {}}, {0.01, {}}};
    OpenRunToEnd();
    EXPECT_EQ(handler.updates, 2);
    EXPECT_EQ(platform.passes, 3);
}

TEST_F(RealtimeApplicationTest, EventsQueuedBehindTheCloseAreDropped)
{
    QuorvaneTest::ErrorCapture errors;
    platform.script = {
        {0.01, {QuorvaneTest::CloseEvent(), QuorvaneTest::KeyDownEvent(Marrowgate::Application::KeyA)}}};
    OpenRunToEnd();
    EXPECT_EQ(handler.updates, 0);
    EXPECT_FALSE(errors.Fired());
    EXPECT_FALSE(Marrowgate::Application::IsKeyDown(Marrowgate::Application::KeyA));
}

struct ContextCase
{
    std::set<mgImplementation::ContextProfile> supported;
    std::vector<std::string> attempts;
    bool embedded;
    bool fixedFunction;
    const char* setUp;
};

class ContextRequestTest : public RealtimeApplicationTest, public ::testing::WithParamInterface<ContextCase>
{
};

TEST_P(ContextRequestTest, TriesCoreThenCompatibleThenEmbeddedThenKeepsTheLegacyContext)
{
    const ContextCase& expected = GetParam();
    platform.supportedProfiles = expected.supported;
    OpenRunToEnd();
    EXPECT_EQ(Matching("CreateVersionedContext"), expected.attempts);
    EXPECT_EQ(Marrowgate::Graphics::IsEmbeddedProfile(), expected.embedded);
    EXPECT_EQ(Marrowgate::Graphics::IsFixedFunctionMode(), expected.fixedFunction);
    EXPECT_THAT(mgImplementation::DescribeStartup(),
                HasSubstr(std::string("renderer set-up: ") + expected.setUp));
}

using mgImplementation::ContextProfile;
INSTANTIATE_TEST_SUITE_P(
    Drivers, ContextRequestTest,
    ::testing::Values(ContextCase{{ContextProfile::kCore, ContextProfile::kEmbedded},
                                  {"CreateVersionedContext core 3.2"},
                                  false,
                                  false,
                                  "desktop shaders"},
                      ContextCase{
                          {ContextProfile::kCompatible},
                          {"CreateVersionedContext core 3.2", "CreateVersionedContext compatible 3.2"},
                          false,
                          false,
                          "desktop shaders"},
                      ContextCase{{ContextProfile::kEmbedded},
                                  {"CreateVersionedContext core 3.2", "CreateVersionedContext compatible 3.2",
                                   "CreateVersionedContext es 2.0"},
                                  true,
                                  false,
                                  "embedded shaders"},
                      ContextCase{{},
                                  {"CreateVersionedContext core 3.2", "CreateVersionedContext compatible 3.2",
                                   "CreateVersionedContext es 2.0"},
                                  false,
                                  true,
                                  "fixed-function"}));

TEST_F(RealtimeApplicationTest, StartupLineNamesDriverContextAndSetUp)
{
    application.Open();
    EXPECT_EQ(mgImplementation::DescribeStartup(), "marrowgate: video driver \"scripted\", OpenGL \"3.2 "
                                                   "scripted\" on \"nothing\", renderer set-up: desktop "
                                                   "shaders");
    application.Close();
}

TEST_F(RealtimeApplicationTest, FailedReloadOfEntryPointsSkipsSwapIntervalAndClearing)
{
    QuorvaneTest::ErrorCapture errors;
    platform.loaderResults = {0, 7};
    application.Open();
    EXPECT_THAT(errors.messages, ElementsAre("mgInternalError: Could not reinitialize glew. Error code: 7"));
    EXPECT_TRUE(Matching("SetSwapInterval").empty());
    EXPECT_EQ(platform.clears, 0);
    application.Close();
}

TEST_F(RealtimeApplicationTest, RefusedVerticalSyncIsSilentAndPacesToTheRefreshRate)
{
    QuorvaneTest::ErrorCapture errors;
    platform.swapIntervalSupported = false;
    platform.refreshRate = 50;
    platform.script = {{0.005, {}}, {0.005, {}}, {0.005, {}}};
    OpenRunToEnd();
    EXPECT_FALSE(errors.Fired());
    // Each pass took 5 ms of a 20 ms frame; the first sleeps out the frame the open began.
    ASSERT_EQ(platform.sleeps.size(), 3u);
    for (double sleep : platform.sleeps) {
        EXPECT_NEAR(sleep, 0.015, 1e-6);
    }
}

TEST_F(RealtimeApplicationTest, VerticalSyncOffWithoutSwapControlIsReportedAndNotPaced)
{
    QuorvaneTest::ErrorCapture errors;
    platform.swapIntervalSupported = false;
    handler.properties.verticalSync = false;
    platform.script = {{0.005, {}}};
    OpenRunToEnd();
    EXPECT_THAT(errors.messages,
                ElementsAre("mgInternalError: Could not set GL to be free from vertical sync"));
    EXPECT_TRUE(platform.sleeps.empty());
}

TEST_F(RealtimeApplicationTest, WorkingVerticalSyncNeedsNoPacing)
{
    platform.script = {{0.001, {}}, {0.001, {}}};
    OpenRunToEnd();
    EXPECT_TRUE(platform.sleeps.empty());
}

TEST_F(RealtimeApplicationTest, WindowedClientAreaIsExactAndTheWindowIsCentred)
{
    platform.borderWidth = 8;
    platform.titleHeight = 30;
    application.Open();
    const mgImplementation::Resolution client = platform.GetClientSize();
    EXPECT_EQ(client, (mgImplementation::Resolution{1280, 720}));
    EXPECT_EQ(platform.outerWidth, 1296);
    EXPECT_EQ(platform.outerHeight, 758);
    EXPECT_EQ(platform.outerLeft, (1920 - 1296) / 2);
    EXPECT_EQ(platform.outerTop, (1080 - 758) / 2);
    EXPECT_EQ(Marrowgate::Graphics::ScreenWidth(), 1280);
    EXPECT_EQ(Marrowgate::Graphics::ScreenHeight(), 720);
    application.Close();
}

TEST_F(RealtimeApplicationTest, ScaledDesktopGivesScreenMetricsInDrawablePixels)
{
    platform.pixelScale = 2;
    application.Open();
    EXPECT_EQ(Marrowgate::Graphics::ScreenWidth(), 2560);
    EXPECT_EQ(Marrowgate::Graphics::ScreenHeight(), 1440);
    application.Close();
}

TEST_F(RealtimeApplicationTest, FullScreenWindowOfZeroSizeCoversTheDesktopWithoutChangingIt)
{
    handler.properties = {0, 0, 100, 100, WindowMode::kFullScreenWindow, true};
    application.Open();
    EXPECT_EQ(platform.createdWith.width, 1920);
    EXPECT_EQ(platform.createdWith.height, 1080);
    EXPECT_EQ(platform.outerLeft, 0);
    EXPECT_EQ(platform.outerTop, 0);
    EXPECT_TRUE(Matching("ChangeDisplayResolution").empty());
    EXPECT_EQ(platform.style, WindowMode::kFullScreenWindow);
    application.Close();
}

TEST_F(RealtimeApplicationTest, FullScreenChangesTheDisplayAndALaterWindowRestoresIt)
{
    handler.properties = {800, 600, 100, 100, WindowMode::kFullScreen, true};
    application.Open();
    application.Close();
    handler.properties = {};
    application.Open();
    application.Close();
    EXPECT_THAT(Matching("ChangeDisplayResolution"),
                ElementsAre("ChangeDisplayResolution 800x600", "ChangeDisplayResolution 1920x1080"));
    EXPECT_EQ(platform.style, WindowMode::kWindowed);
}

TEST_F(RealtimeApplicationTest, FailedDisplayChangeIsReportedAndKeepsTheCreationStyle)
{
    QuorvaneTest::ErrorCapture errors;
    platform.displayChangeResult = -3;
    handler.properties = {800, 600, 100, 100, WindowMode::kFullScreen, true};
    application.Open();
    EXPECT_THAT(errors.messages,
                ElementsAre("mgInternalError: The display settings did not change successfully. Error: -3"));
    EXPECT_TRUE(Matching("SetWindowStyle").empty());
    EXPECT_FALSE(application.IsFullScreen());
    application.Close();
}

TEST_F(RealtimeApplicationTest, SecondOpenWhileOpenIsRefused)
{
    application.Open();
    QuorvaneTest::ErrorCapture errors;
    QuorvaneTest::RecordingHandler otherHandler{log};
    RealtimeApplication other{otherHandler};
    other.Open();
    ASSERT_FALSE(errors.messages.empty());
    EXPECT_EQ(errors.messages.front(),
              "mgExternalError: Marrowgate currently supports only a single application at a time.");
    EXPECT_EQ(std::count(log.begin(), log.end(), "CreateWindow"), 1);
    application.Close();
}

TEST_F(RealtimeApplicationTest, KeyRepeatsChangeNothingAndButtonsCaptureTheMouse)
{
    using namespace Marrowgate::Application;
    mgImplementation::OnKeyDown(KeyB, false); // before the first pass: dropped
    platform.cursor = {12, 34};
    std::vector<std::string> seen;
    handler.onUpdate = [&](int) {
        seen.push_back(std::string(IsKeyDown(KeyA) ? "A" : "-") + (IsKeyReleased(KeyA) ? "r" : "-") +
                       (IsKeyDown(KeyB) ? "B" : "-") + (IsKeyDown(MouseLeft) ? "M" : "-") +
                       (platform.mouseCaptured ? "c" : "-"));
    };
    platform.script = {
        {0.01, {QuorvaneTest::KeyDownEvent(KeyA)}},
        {0.01, {QuorvaneTest::KeyDownEvent(KeyA, true)}},
        {0.01, {QuorvaneTest::KeyUpEvent(KeyA), QuorvaneTest::KeyDownEvent(KeyA, true)}},
        {0.01, {{QuorvaneTest::PlatformEventType::kButtonDown, MouseLeft}}},
        {0.01, {{QuorvaneTest::PlatformEventType::kButtonUp, MouseLeft}}},
    };
    OpenRunToEnd();
    EXPECT_THAT(seen, ElementsAre("A----", "A----", "-r---", "---Mc", "-----"));
    EXPECT_EQ(GetMousePosition().x, 12);
    EXPECT_EQ(GetMousePosition().y, 34);
}

TEST_F(RealtimeApplicationTest, MessageBoxTextAlsoGoesToStandardError)
{
    ::testing::internal::CaptureStderr();
    platform.messageBoxAnswer = false;
    EXPECT_FALSE(Marrowgate::Application::OpenMessageBox("Caption", "Body text", "Okay", "Cancel"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Caption\nBody text\n");
    EXPECT_THAT(log, ElementsAre("ShowMessageBox Caption with cancel"));
}

TEST_F(RealtimeApplicationTest, AHiddenWindowRunsNoFramesAndSleepsUntilItIsBack)
{
    using QuorvaneTest::WindowEvent;
    std::vector<int> updatesAtEachWait;
    platform.onWait = [&] { updatesAtEachWait.push_back(handler.updates); };
    platform.script = {
        {0.01, {}},
        {0.01, {WindowEvent(PlatformEventType::kHidden)}},
        // Minimising can also unmap the window: still one change for the handler.
        {0.01, {WindowEvent(PlatformEventType::kHidden)}},
        {5.00, {}},
        {0.01, {WindowEvent(PlatformEventType::kShown), WindowEvent(PlatformEventType::kShown)}},
        {0.01, {}}};
    OpenRunToEnd();
    EXPECT_EQ(handler.updates, 3);
    EXPECT_THAT(updatesAtEachWait, ElementsAre(1, 1, 1));
    EXPECT_THAT(Matching("OnWindow"),
                ElementsAre("OnWindowOpen", "OnWindowHidden", "OnWindowShown", "OnWindowClose"));
}

TEST_F(RealtimeApplicationTest, LosingTheFocusAloneKeepsFramesRunning)
{
    platform.script = {{0.01, {{PlatformEventType::kBecomeInactive}}}, {0.01, {}}, {0.01, {}}};
    OpenRunToEnd();
    EXPECT_EQ(handler.updates, 3);
    EXPECT_EQ(platform.waits, 0);
}

TEST_F(RealtimeApplicationTest, TheShortcutSwitchesFullScreenBackAndForthAndTheScreenFollows)
{
    using QuorvaneTest::WindowEvent;
    std::vector<std::pair<int, int>> screens;
    handler.onUpdate = [&](int) {
        screens.emplace_back(Marrowgate::Graphics::ScreenWidth(), Marrowgate::Graphics::ScreenHeight());
    };
    platform.script = {{0.01, {}},
                       {0.01, {WindowEvent(PlatformEventType::kToggleFullScreen)}},
                       {0.01, {WindowEvent(PlatformEventType::kToggleFullScreen)}}};
    OpenRunToEnd();
    EXPECT_THAT(screens, ElementsAre(std::pair(1280, 720), std::pair(1920, 1080), std::pair(1280, 720)));
    EXPECT_THAT(Matching("SetDesktopFullScreen"),
                ElementsAre("SetDesktopFullScreen on", "SetDesktopFullScreen off"));
}

// Opened in either full-screen mode, the window is in full screen: the first switch leaves it
// for the default window (and the desktop's own resolution), the second goes to full screen.
TEST_F(RealtimeApplicationTest, AWindowOpenedInFullScreenLeavesItAtTheFirstSwitch)
{
    using QuorvaneTest::WindowEvent;
    for (const WindowMode mode : {WindowMode::kFullScreenWindow, WindowMode::kFullScreen}) {
        log.clear();
        handler.updates = 0;
        platform.fullScreen = false; // the scripted window system's own state from the last round
        handler.properties = {800, 600, 100, 100, mode, true};
        std::vector<std::pair<int, int>> screens;
        handler.onUpdate = [&](int) {
            screens.emplace_back(Marrowgate::Graphics::ScreenWidth(), Marrowgate::Graphics::ScreenHeight());
        };
        platform.script = {{0.01, {}},
                           {0.01, {WindowEvent(PlatformEventType::kToggleFullScreen)}},
                           {0.01, {WindowEvent(PlatformEventType::kToggleFullScreen)}}};
        application.Open();
        EXPECT_TRUE(application.IsFullScreen());
        application.Run();
        EXPECT_THAT(screens, ElementsAre(std::pair(800, 600), std::pair(1280, 720), std::pair(1920, 1080)));
        EXPECT_EQ(platform.style, WindowMode::kWindowed);
        EXPECT_EQ(platform.desktop, (mgImplementation::Resolution{1920, 1080}));
        EXPECT_THAT(Matching("SetDesktopFullScreen"), ElementsAre("SetDesktopFullScreen on"));
    }
}

TEST_F(RealtimeApplicationTest, ARefusedSwitchKeepsTheWindowAndSaysWhyInOneLine)
{
    platform.fullScreenRefused = true;
    application.Open();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(application.SetFullScreen(true));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "marrowgate: could not switch to full screen: scripted refusal\n");
    EXPECT_FALSE(application.IsFullScreen());
    EXPECT_EQ(Marrowgate::Graphics::ScreenWidth(), 1280);
    application.Close();
}

TEST_F(RealtimeApplicationTest, ANewWindowStartsWindowedAfterOneClosedInFullScreen)
{
    application.Open();
    EXPECT_TRUE(application.SetFullScreen(true));
    EXPECT_TRUE(application.SetFullScreen(true)); // already there: nothing to do
    application.Close();
    application.Open();
    EXPECT_FALSE(application.IsFullScreen());
    EXPECT_EQ(Matching("SetDesktopFullScreen").size(), 1u);
    application.Close();
}

TEST_F(RealtimeApplicationTest, MultisamplingIsAskedForUnlessTheEnvironmentPinsItOff)
{
    unsetenv("MARROWGATE_MULTISAMPLING");
    application.Open();
    application.Close();
    EXPECT_TRUE(platform.createdWith.multisampling);
    setenv("MARROWGATE_MULTISAMPLING", "0", 1);
    application.Open();
    application.Close();
    unsetenv("MARROWGATE_MULTISAMPLING");
    EXPECT_FALSE(platform.createdWith.multisampling);
}

TEST_F(RealtimeApplicationTest, ASoftwareRasteriserGetsAWindowWithoutMultisamplingUnlessTheUserAsks)
{
    unsetenv("MARROWGATE_MULTISAMPLING");
    for (const char* renderer :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa swrast", "Google SwiftShader"}) {
        SCOPED_TRACE(renderer);
        log.clear();
        platform.rendererName = renderer;
        application.Open();
        application.Close();
        EXPECT_FALSE(platform.createdWith.multisampling);
        // The multisampled window goes before it is ever shown; the second is the one shown.
        EXPECT_THAT(Matching("CreateWindow"), ElementsAre("CreateWindow", "CreateWindow"));
        ASSERT_EQ(Matching("ShowWindow").size(), 1u);
        const auto firstDestroy = std::find(log.begin(), log.end(), "DestroyContext");
        EXPECT_LT(firstDestroy - log.begin(), std::find(log.begin(), log.end(), "ShowWindow") - log.begin());
    }
    setenv("MARROWGATE_MULTISAMPLING", "1", 1);
    log.clear();
    application.Open();
    application.Close();
    unsetenv("MARROWGATE_MULTISAMPLING");
    EXPECT_TRUE(platform.createdWith.multisampling) << "asked for in the environment";
    EXPECT_EQ(Matching("CreateWindow").size(), 1u);

    log.clear();
    platform.rendererName = "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)";
    application.Open();
    application.Close();
    EXPECT_TRUE(platform.createdWith.multisampling);
    EXPECT_EQ(Matching("CreateWindow").size(), 1u);
}

using RealtimeApplicationDeathTest = RealtimeApplicationTest;

TEST_F(RealtimeApplicationDeathTest, StartupFailuresSayWhyAndExitWithFailure)
{
    EXPECT_EXIT(
        {
            platform.hasDisplay = false;
            application.Open();
        },
        ::testing::ExitedWithCode(1), "marrowgate: scripted: no display\n");
    EXPECT_EXIT(
        {
            platform.legacyContextWorks = false;
            application.Open();
        },
        ::testing::ExitedWithCode(1), "no OpenGL context could be created");
    EXPECT_EXIT(
        {
            platform.loaderResults = {1};
            application.Open();
        },
        ::testing::ExitedWithCode(1), "GLEW error 1");
}

} // namespace
