#include "marrowgate/audio/implementation/mgi_event_variation.h"

#include "marrowgate/math/mg_random_numbers.h"

namespace mgImplementation {

std::size_t ChooseVariant(std::size_t variantCount, std::size_t lastIndex)
{
    if (variantCount < 2) {
        return 0;
    }
    const bool hasLast = lastIndex < variantCount;
    const std::size_t choices = hasLast ? variantCount - 1 : variantCount;
    // RandomDraw gives 0 to 32767; the modulo bias is far below what an ear could notice.
    std::size_t pick = static_cast<std::size_t>(Marrowgate::Core::RandomDraw()) % choices;
    if (hasLast && pick >= lastIndex) {
        ++pick; // skip the last one
    }
    return pick;
}

float VaryLevel(float level, float minimumLevel, float maximumLevel)
{
    if (!(minimumLevel < maximumLevel)) {
        return level;
    }
    return Marrowgate::Core::RandomFloat(minimumLevel, maximumLevel);
}

EventLevels VaryLevels(const Marrowgate::Audio::AudioEventInfo& variant)
{
    EventLevels levels;
    levels.volume = VaryLevel(variant.volume, variant.minVolume, variant.maxVolume);
    levels.pitch = VaryLevel(variant.pitch, variant.minPitch, variant.maxPitch);
    return levels;
}

} // namespace mgImplementation
