// The private display that the game's fault runs use: it must not drop a program that connects
// just as another client leaves, which an X server does when it resets after its last client.
#include "private_display.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using QuorvaneReliability::PrivateDisplay;

TEST(PrivateDisplay, KeepsEveryConnectionWhileAnotherClientComesAndGoes)
{
    const PrivateDisplay display(640, 480);
    ASSERT_FALSE(display.GetName().empty()) << "Xvfb did not start";
    const std::string client = "DISPLAY=" + display.GetName() + " xwininfo -root >/dev/null 2>&1";
    // Each time this client leaves it is the server's last one, as a driving tool often is.
    std::atomic<bool> finished = false;
    std::thread comingAndGoing([&client, &finished] {
        while (!finished) {
            [[maybe_unused]] const int status = std::system(client.c_str());
        }
    });
    int refused = 0;
    constexpr int kConnections = 200;
    for (int connection = 0; connection < kConnections; ++connection) {
        refused += std::system(client.c_str()) != 0 ? 1 : 0;
    }
    finished = true;
    comingAndGoing.join();
    EXPECT_EQ(refused, 0) << "of " << kConnections << " connections";
}

} // namespace
