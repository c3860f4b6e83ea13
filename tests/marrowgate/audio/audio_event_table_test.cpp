#include "marrowgate/audio/implementation/mgi_audio_event_table.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"
#include "marrowgate/core/mg_json_parser.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

using Marrowgate::Audio::AudioEventInfo;
using Marrowgate::Audio::AudioHandle;
using Marrowgate::Audio::EventTable;
using Marrowgate::Audio::theAudioManager;
using QuorvaneTest::ErrorCapture;

namespace {

// Reads a table from JSON text with a loader that hands out a handle per distinct path, as the
// manager does, and remembers the paths it was asked for.
class TableReading : public ::testing::Test
{
protected:
    bool Read(const std::string& json)
    {
        table.clear();
        const auto loader = [this](const std::string& path, bool streaming) -> AudioHandle {
            requestedPaths.push_back(path);
            if (streaming) {
                streamedPaths.push_back(path);
            }
            const auto found = std::find(knownPaths.begin(), knownPaths.end(), path);
            if (found != knownPaths.end()) {
                return static_cast<AudioHandle>(found - knownPaths.begin() + 1);
            }
            if (path == "refused.wav") {
                return Marrowgate::Audio::kInvalidAudioHandle;
            }
            knownPaths.push_back(path);
            return static_cast<AudioHandle>(knownPaths.size());
        };
        return mgImplementation::ReadEventTable(Marrowgate::Core::ParseJson(json), "test_table",
                                                "events.json", loader, table);
    }

    EventTable table;
    std::vector<std::string> knownPaths;
    std::vector<std::string> requestedPaths;
    std::vector<std::string> streamedPaths;
};

} // namespace

TEST_F(TableReading, MissingMembersTakeTheirDefaults)
{
    ErrorCapture errors;
    ASSERT_TRUE(Read(R"({"audio_events": [{"name": "hit", "file": "hit.wav"}], "comment": "ignored"})"));
    EXPECT_FALSE(errors.Fired());
    ASSERT_EQ(table.size(), 1u);
    ASSERT_EQ(table["hit"].size(), 1u);
    const AudioEventInfo& info = table["hit"][0];
    EXPECT_EQ(info.handle, 1u);
    EXPECT_FALSE(info.looping || info.music || info.streaming);
    for (const float level :
         {info.volume, info.minVolume, info.maxVolume, info.pitch, info.minPitch, info.maxPitch}) {
        EXPECT_FLOAT_EQ(level, 1.0f);
    }
}

TEST_F(TableReading, ValuesConvertImplicitly)
{
    ErrorCapture errors;
    ASSERT_TRUE(Read(R"({"audio_events": [
        {"name": "a", "file": "a.wav", "looping": 1, "music": "true", "streaming": false, "volume": "0.25", "pitch": 2},
        {"name": "b", "file": "b.wav", "looping": "true", "volume": null}]})"));
    EXPECT_FALSE(errors.Fired());
    const AudioEventInfo& first = table["a"][0];
    EXPECT_TRUE(first.looping);
    EXPECT_TRUE(first.music);
    EXPECT_FALSE(first.streaming);
    EXPECT_FLOAT_EQ(first.volume, 0.25f);
    EXPECT_FLOAT_EQ(first.pitch, 2.0f);
    EXPECT_TRUE(table["b"][0].looping);
    EXPECT_FLOAT_EQ(table["b"][0].volume, 1.0f);
}

TEST_F(TableReading, AFileArrayGivesOneVariantPerEntry)
{
    ErrorCapture errors;
    ASSERT_TRUE(Read(R"({"audio_events": [
        {"name": "step", "file": ["left.wav", "right.wav"], "pitch": 1.5, "looping": true},
        {"name": "hit", "file": ["hit.wav", {"name": "soft.wav", "volume": 0.5, "max_pitch": 3}], "min_volume": 0.2}]})"));
    EXPECT_FALSE(errors.Fired());

    ASSERT_EQ(table["step"].size(), 2u);
    const AudioEventInfo& left = table["step"][0];
    const AudioEventInfo& right = table["step"][1];
    EXPECT_NE(left.handle, right.handle);
    EXPECT_FLOAT_EQ(right.pitch, left.pitch);
    EXPECT_EQ(right.looping, left.looping);

    ASSERT_EQ(table["hit"].size(), 2u);
    const AudioEventInfo& soft = table["hit"][1];
    EXPECT_FLOAT_EQ(soft.volume, 0.5f);
    EXPECT_FLOAT_EQ(soft.maxPitch, 3.0f);
    EXPECT_FLOAT_EQ(soft.minVolume, 0.2f); // from the event
    EXPECT_FLOAT_EQ(table["hit"][0].volume, 1.0f);
    EXPECT_EQ(requestedPaths, (std::vector<std::string>{"left.wav", "right.wav", "hit.wav", "soft.wav"}));
}

TEST_F(TableReading, EventsOfTheSameNameShareOneSequenceAndFilesShareHandles)
{
    ErrorCapture errors;
    ASSERT_TRUE(Read(R"({"audio_events": [
        {"name": "hit", "file": "hit.wav"}, {"name": "bump", "file": "hit.wav"}, {"name": "hit", "file": "hit2.wav"}]})"));
    EXPECT_FALSE(errors.Fired());
    ASSERT_EQ(table["hit"].size(), 2u);
    EXPECT_EQ(table["bump"][0].handle, table["hit"][0].handle);
    EXPECT_NE(table["hit"][1].handle, table["hit"][0].handle);
}

TEST_F(TableReading, AVariantObjectWithoutAPathIsReportedAndTheLoadCarriesOn)
{
    ErrorCapture errors;
    ASSERT_TRUE(Read(R"({"audio_events": [{"name": "hit", "file": [{"volume": 0.5}, "ok.wav"]}]})"));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(
        errors.Last(),
        "mgDataError: Expected each event to have a \"name\" of file. \"hit\" on Table: \"test_table\"");
    EXPECT_EQ(table["hit"].size(), 2u);
}

TEST_F(TableReading, BrokenTablesAreReportedAndFail)
{
    struct Case
    {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {R"([1, 2])",
         "mgDataError: Expected event table data to be a structure of information. Table: \"events.json\""},
        {"not json",
         "mgDataError: Expected event table data to be a structure of information. Table: \"events.json\""},
        {R"({"audio_events": {"name": "hit"}})",
         "mgDataError: Expected event table to have an array named: audio_events. Table: \"events.json\""},
        {R"({"events": [{"name": "hit", "file": "hit.wav"}]})",
         "mgDataError: Expected event table to have an array named: audio_events. Table: \"events.json\""},
        {R"({"audio_events": [{"name": "hit", "file": "hit.wav"}, {"file": "miss.wav"}]})",
         "mgDataError: Expected each audio_event object to have a \"name\". Table: \"events.json\""},
        {R"({"audio_events": [{"name": "hit", "file": "hit.wav"}, {"name": "miss"}]})",
         "mgDataError: Expected each audio_event object to have a \"file\". Table: \"events.json\""},
        {R"({"audio_events": [{"name": "hit", "file": ["hit.wav", "refused.wav"]}]})",
         "mgDataError: Expected to load audio file: \"refused.wav\" on Table: \"test_table\""},
    };
    for (const Case& broken : cases) {
        SCOPED_TRACE(broken.json);
        ErrorCapture errors;
        EXPECT_FALSE(Read(broken.json));
        ASSERT_FALSE(errors.messages.empty());
        EXPECT_EQ(errors.Last(), broken.message);
    }
}

// The manager's side: registration, the duplicate check, sounds kept after a failed load.
class EventTableLoading : public ::testing::Test
{
protected:
    void SetUp() override { theAudioManager.Restart(); }

    static std::string WriteTable(const std::string& name, const std::string& json)
    {
        return AudioTest::WriteTemporaryFile(name, AudioTest::Bytes(json.begin(), json.end()));
    }
};

TEST_F(EventTableLoading, TheGamesTableLoadsWithEverySound)
{
    ErrorCapture errors;
    ASSERT_TRUE(theAudioManager.LoadEventTable("audio_events", "data/audio/audio_events.json"));
    EXPECT_FALSE(errors.Fired());
    const EventTable* table = theAudioManager.FindEventTable("audio_events");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->size(), 3u);
    for (const auto& [name, variants] : *table) {
        for (const AudioEventInfo& variant : variants) {
            SCOPED_TRACE(name);
            EXPECT_GT(theAudioManager.FindSound(variant.handle)->audioData->GetDataSize(), 0u);
        }
    }
}

TEST_F(EventTableLoading, ATableNameLoadsOnlyOnceButAFileMayLoadUnderAnotherName)
{
    const std::string sound =
        AudioTest::WriteTemporaryFile("hit.wav", AudioTest::SimpleWave(1, 22050, 16, 20));
    const std::string path =
        WriteTable("once.json", R"({"audio_events": [{"name": "hit", "file": ")" + sound + "\"}]}");
    ASSERT_TRUE(theAudioManager.LoadEventTable("effects", path));

    ErrorCapture errors;
    EXPECT_FALSE(theAudioManager.LoadEventTable("effects", path));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "EventTable \"effects\" has already been loaded.");
    EXPECT_EQ(theAudioManager.FindEventTable("effects")->size(), 1u);

    errors.messages.clear();
    EXPECT_TRUE(theAudioManager.LoadEventTable("more_effects", path));
    EXPECT_FALSE(errors.Fired());
    // The second table shares the sound: one handle, counted twice.
    const AudioHandle handle = theAudioManager.FindEventTable("more_effects")->at("hit")[0].handle;
    EXPECT_EQ(handle, theAudioManager.FindEventTable("effects")->at("hit")[0].handle);
    EXPECT_EQ(theAudioManager.FindSound(handle)->referenceCount, 2u);
}

TEST_F(EventTableLoading, AFailedLoadRegistersNothingAndKeepsItsSounds)
{
    const std::string sound =
        AudioTest::WriteTemporaryFile("kept.wav", AudioTest::SimpleWave(1, 22050, 16, 20));
    const std::string path = WriteTable("broken.json", R"({"audio_events": [{"name": "kept", "file": ")" +
                                                           sound + R"("}, {"name": "no_file"}]})");
    ErrorCapture errors;
    EXPECT_FALSE(theAudioManager.LoadEventTable("broken", path));
    EXPECT_EQ(theAudioManager.FindEventTable("broken"), nullptr);
    EXPECT_NE(theAudioManager.FindSound(1), nullptr);
    EXPECT_EQ(theAudioManager.FindSound(1)->filePath, sound);

    errors.messages.clear();
    EXPECT_FALSE(theAudioManager.LoadEventTable("missing", "no/such/table.json"));
    ASSERT_EQ(errors.messages.size(), 3u); // the file's and the JSON reader's reports, then the table's
    EXPECT_EQ(errors.Last(), "mgDataError: Expected event table data to be a structure of information. "
                             "Table: \"no/such/table.json\"");
}

TEST_F(TableReading, OnlyTheSoundsOfStreamingEventsAreAskedForAsStreams)
{
    ASSERT_TRUE(Read(R"({"audio_events": [
        {"name": "theme", "file": ["theme.ogg", {"name": "theme_b.ogg"}], "streaming": "true", "music": 1},
        {"name": "blip", "file": "blip.wav"}]})"));
    EXPECT_EQ(streamedPaths, (std::vector<std::string>{"theme.ogg", "theme_b.ogg"}));
    EXPECT_EQ(requestedPaths.size(), 3u);
}
