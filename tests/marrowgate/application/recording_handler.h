#pragma once
// An application handler that logs its callbacks into the same log as the scripted platform.

#include "marrowgate/application/mg_application_handler_interface.h"

#include <functional>
#include <string>
#include <vector>

namespace QuorvaneTest {

class RecordingHandler : public Marrowgate::Application::ApplicationHandlerInterface
{
public:
    explicit RecordingHandler(std::vector<std::string>& sharedLog) : log(sharedLog) {}

    void OnWindowOpen() override { log.push_back("OnWindowOpen"); }
    void OnWindowClose() override { log.push_back("OnWindowClose"); }
    void OnBecomeActive() override { log.push_back("OnBecomeActive"); }
    void OnBecomeInactive() override { log.push_back("OnBecomeInactive"); }
    void OnRealtimeUpdate() override
    {
        log.push_back("OnRealtimeUpdate");
        ++updates;
        if (onUpdate) {
            onUpdate(updates);
        }
    }
    void CollectWindowProperties(Marrowgate::Application::WindowProperties& collected) override
    {
        log.push_back("CollectWindowProperties");
        collected = properties;
    }
    void OnGraphicsContextCreated() override { log.push_back("OnGraphicsContextCreated"); }
    void OnGraphicsContextDestroyed() override { log.push_back("OnGraphicsContextDestroyed"); }
    void OnWindowHidden() override { log.push_back("OnWindowHidden"); }
    void OnWindowShown() override { log.push_back("OnWindowShown"); }

    std::vector<std::string>& log;
    Marrowgate::Application::WindowProperties properties;
    // Called with the number of the update, from 1.
    std::function<void(int)> onUpdate;
    int updates = 0;
};

} // namespace QuorvaneTest
