#include "marrowgate/core/mg_error.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace Marrowgate::Core::Error;
using QuorvaneTest::ErrorCapture;

constexpr char kUnitName[] = "mg_error_test";

TEST(ErrorReporting, FalseConditionChangesNothing)
{
    TriggerError("mg_previous", 7, "mgError: earlier");
    ErrorCapture errors;
    TriggerErrorIf(false, "mg_other", 99, "mgError: %d", 1);
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(GetLastErrorFile(), "mg_previous");
    EXPECT_EQ(GetLastErrorLine(), 7);
}

TEST(ErrorReporting, WithoutHandlersTheLocationIsRecordedAndTheCallerCarriesOn)
{
    MG_ERROR("mgDataError: value %d of %s", 3, "five");
    const int line = __LINE__ - 1;
    EXPECT_EQ(GetLastErrorFile(), "mg_error_test");
    EXPECT_EQ(GetLastErrorLine(), line);
    TriggerError("mgError: no location");
    EXPECT_EQ(GetLastErrorFile(), "unknown file");
    EXPECT_EQ(GetLastErrorLine(), 0);
}

TEST(ErrorReporting, HandlersReceiveTheFormattedMessageInRegistrationOrder)
{
    std::vector<std::string> order;
    struct Recorder : ErrorHandlerInterface
    {
        Recorder(std::vector<std::string>& log, std::string tag) : mLog(log), mTag(std::move(tag)) {}
        void OnErrorFired(const std::string& message) override { mLog.push_back(mTag + message); }
        std::vector<std::string>& mLog;
        std::string mTag;
    };
    Recorder first(order, "first:");
    Recorder second(order, "second:");
    AddErrorHandler(&first);
    AddErrorHandler(&second);
    MG_ERROR_IF(true, "mgExternalError: Expected %s to be %.1f.", "size", 2.5);
    RemoveErrorHandler(&first);
    RemoveErrorHandler(&second);
    EXPECT_EQ(order, (std::vector<std::string>{"first:mgExternalError: Expected size to be 2.5.",
                                               "second:mgExternalError: Expected size to be 2.5."}));
}

TEST(ErrorReporting, RemovingAHandlerRemovesEveryEntryOfIt)
{
    ErrorCapture kept;
    ErrorCapture removed;
    AddErrorHandler(&removed);
    RemoveErrorHandler(&removed);
    TriggerError("x", 1, "mgError: once");
    EXPECT_TRUE(kept.Fired());
    EXPECT_FALSE(removed.Fired());
}

TEST(ErrorReporting, AHandlerMayRemoveItselfWhileBeingCalled)
{
    struct OneShot : ErrorHandlerInterface
    {
        void OnErrorFired(const std::string&) override
        {
            ++calls;
            RemoveErrorHandler(this);
        }
        int calls = 0;
    };
    OneShot oneShot;
    ErrorCapture after;
    AddErrorHandler(&oneShot);
    TriggerError("x", 1, "mgError: first");
    TriggerError("x", 2, "mgError: second");
    EXPECT_EQ(oneShot.calls, 1);
    EXPECT_EQ(after.messages.size(), 2u);
}

TEST(ErrorReporting, OverlongMessagesAreCutAt4095Characters)
{
    ErrorCapture errors;
    const std::string longText(10000, 'x');
    TriggerError("x", 1, "mgDataError: %s", longText.c_str());
    ASSERT_EQ(errors.Last().size(), 4095u);
    EXPECT_EQ(errors.Last().substr(0, 13), "mgDataError: ");
    const std::string exact(4095 - 2, 'y');
    TriggerError("x", 1, "a:%s", exact.c_str());
    EXPECT_EQ(errors.Last().size(), 4095u);
    EXPECT_EQ(errors.Last().back(), 'y');
}

// The throw switch can never be turned off again, so it is exercised in a child process.
TEST(ErrorReporting, ReportsDuringASubjectNameItsFileOnceAndOnlyWhileItLasts)
{
    ErrorCapture errors;
    {
        const ReportSubject table("data/table.json");
        MG_ERROR("mgDataError: Table is damaged.\n");
        {
            const ReportSubject sound("data/sound.wav");
            MG_ERROR("mgDataError: Sound is damaged.");
            MG_ERROR("mgDataError: Sound \"%s\" is damaged.", "data/sound.wav");
        }
        MG_ERROR("mgDataError: Table again.");
    }
    MG_ERROR("mgDataError: No file.");
    const std::vector<std::string> expected = {
        "mgDataError: Table is damaged. File: \"data/table.json\"",
        "mgDataError: Sound is damaged. File: \"data/sound.wav\"",
        "mgDataError: Sound \"data/sound.wav\" is damaged.",
        "mgDataError: Table again. File: \"data/table.json\"",
        "mgDataError: No file.",
    };
    EXPECT_EQ(errors.messages, expected);
}

TEST(ErrorReportingDeathTest, ThrowSwitchThrowsTheMessageAndSkipsTheHandlers)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto throwingRun = [] {
        ErrorCapture errors;
        EnableThrowingErrors();
        try {
            TriggerError("mg_game_timer", 42, "mgExternalError: Expected %s to be a non-zero time value.",
                         "timeValue");
        } catch (const mgImplementation::ExceptionalErrorHandler::ErroredException& exception) {
            const bool right = std::string(exception.what()) ==
                                   "mgExternalError: Expected timeValue to be a non-zero time value." &&
                               !errors.Fired() && GetLastErrorLine() == 42 &&
                               GetLastErrorFile() == "mg_game_timer";
            std::exit(right ? 0 : 2);
        }
        std::exit(1);
    };
    EXPECT_EXIT(throwingRun(), ::testing::ExitedWithCode(0), "");
}

} // namespace
