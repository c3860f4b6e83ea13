#pragma once
// Builds an audio event table from the value read out of an event-table JSON file: each event
// has a "name" and a "file" (one path, or an array of variants: paths or objects with their
// own "name" path and levels), plus optional flags and levels with fixed defaults. Every value
// is read with implicit conversion, so 1 and "true" are true and "0.5" is 0.5.
//
// Depends on the core layer's DynamicStructure and on the manager's types; sounds are loaded
// through the function the caller passes, so the table logic needs no device.

#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/core/mg_dynamic_structure.h"

#include <functional>
#include <string>

namespace mgImplementation {

// Loads one sound of the table; `streaming` is the event's "streaming" flag.
using SoundLoader =
    std::function<Marrowgate::Audio::AudioHandle(const std::string& soundPath, bool streaming)>;

// Fills `table` from `document`. On any failure it reports (naming filePath or tableName, as
// each message says) and returns false; sounds loaded up to then stay loaded, and the caller
// must discard the partial table.
bool ReadEventTable(const Marrowgate::Core::DynamicStructure& document, const std::string& tableName,
                    const std::string& filePath, const SoundLoader& loadSound,
                    Marrowgate::Audio::EventTable& table);

} // namespace mgImplementation
