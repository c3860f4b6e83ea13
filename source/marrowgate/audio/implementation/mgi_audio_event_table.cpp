#include "marrowgate/audio/implementation/mgi_audio_event_table.h"

#include "marrowgate/core/mg_error.h"

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_audio_event_table";

using Marrowgate::Audio::AudioEventInfo;
using Marrowgate::Audio::EventTable;
using Marrowgate::Audio::kInvalidAudioHandle;
using Marrowgate::Core::DynamicStructure;

// The six levels an event sets and a variant may override; whatever `source` lacks keeps the
// value `info` already has.
void ReadLevels(const DynamicStructure& source, AudioEventInfo& info)
{
    info.volume = source.GetMember("volume").AsFloatWithDefault(info.volume, true);
    info.minVolume = source.GetMember("min_volume").AsFloatWithDefault(info.minVolume, true);
    info.maxVolume = source.GetMember("max_volume").AsFloatWithDefault(info.maxVolume, true);
    info.pitch = source.GetMember("pitch").AsFloatWithDefault(info.pitch, true);
    info.minPitch = source.GetMember("min_pitch").AsFloatWithDefault(info.minPitch, true);
    info.maxPitch = source.GetMember("max_pitch").AsFloatWithDefault(info.maxPitch, true);
}

AudioEventInfo ReadEventInfo(const DynamicStructure& event)
{
    AudioEventInfo info;
    info.looping = event.GetMember("looping").AsBooleanWithDefault(false, true);
    info.music = event.GetMember("music").AsBooleanWithDefault(false, true);
    info.streaming = event.GetMember("streaming").AsBooleanWithDefault(false, true);
    ReadLevels(event, info);
    return info;
}

struct TableContext
{
    const std::string& tableName;
    const SoundLoader& loadSound;
    EventTable& table;
};

bool AddVariant(const TableContext& context, const std::string& eventName, const std::string& soundPath,
                AudioEventInfo variant)
{
    variant.handle = context.loadSound(soundPath, variant.streaming);
    if (variant.handle == kInvalidAudioHandle) {
        MG_ERROR("mgDataError: Expected to load audio file: \"%s\" on Table: \"%s\"", soundPath.c_str(),
                 context.tableName.c_str());
        return false;
    }
    context.table[eventName].push_back(variant);
    return true;
}

bool ReadVariants(const TableContext& context, const std::string& eventName, const DynamicStructure& files,
                  const AudioEventInfo& base)
{
    for (std::size_t index = 0; index < files.size(); ++index) {
        const DynamicStructure& file = files[index];
        AudioEventInfo variant = base;
        std::string soundPath;
        if (file.IsStructure()) {
            soundPath = file.GetMember("name").AsString(true);
            MG_ERROR_IF(
                soundPath.empty(),
                "mgDataError: Expected each event to have a \"name\" of file. \"%s\" on Table: \"%s\"",
                eventName.c_str(), context.tableName.c_str());
            ReadLevels(file, variant);
        } else {
            soundPath = file.AsString(true);
        }
        if (!AddVariant(context, eventName, soundPath, variant)) {
            return false;
        }
    }
    return true;
}

bool ReadEvent(const TableContext& context, const DynamicStructure& event, const std::string& filePath)
{
    const DynamicStructure& name = event.GetMember("name");
    if (name.IsNil()) {
        MG_ERROR("mgDataError: Expected each audio_event object to have a \"name\". Table: \"%s\"",
                 filePath.c_str());
        return false;
    }
    const DynamicStructure& files = event.GetMember("file");
    if (files.IsNil()) {
        MG_ERROR("mgDataError: Expected each audio_event object to have a \"file\". Table: \"%s\"",
                 filePath.c_str());
        return false;
    }
    const AudioEventInfo base = ReadEventInfo(event);
    const std::string eventName = name.AsString(true);
    if (files.IsArray()) {
        return ReadVariants(context, eventName, files, base);
    }
    return AddVariant(context, eventName, files.AsString(true), base);
}

} // namespace

bool ReadEventTable(const DynamicStructure& document, const std::string& tableName,
                    const std::string& filePath, const SoundLoader& loadSound, EventTable& table)
{
    if (!document.IsStructure()) {
        MG_ERROR("mgDataError: Expected event table data to be a structure of information. Table: \"%s\"",
                 filePath.c_str());
        return false;
    }
    const DynamicStructure& events = document.GetMember("audio_events");
    if (!events.IsArray()) {
        MG_ERROR("mgDataError: Expected event table to have an array named: audio_events. Table: \"%s\"",
                 filePath.c_str());
        return false;
    }
    const TableContext context{tableName, loadSound, table};
    for (std::size_t index = 0; index < events.size(); ++index) {
        if (!ReadEvent(context, events[index], filePath)) {
            return false;
        }
    }
    return true;
}

} // namespace mgImplementation
