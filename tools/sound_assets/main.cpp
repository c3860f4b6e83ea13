// Writes the framework's logo sound, the game's own sounds and the examples' into the source
// tree (the examples' streamed track as Ogg Vorbis, everything else as WAV):
//   quorvane_sound_assets <repository root>
// The output is committed; run this again only to change the sounds.

#include "ogg_vorbis_writer.h"
#include "sounds.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argumentCount, char** arguments)
{
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: %s <repository root>\n", arguments[0]);
        return EXIT_FAILURE;
    }
    const std::filesystem::path root = arguments[1];
    const std::filesystem::path logoFolder = root / "source/marrowgate/audio/sounds";
    const std::filesystem::path gameFolder = root / "data/audio";
    std::filesystem::create_directories(logoFolder);
    const std::filesystem::path exampleFolder = root / "examples/data/audio";
    std::filesystem::create_directories(gameFolder);
    std::filesystem::create_directories(exampleFolder);

    using namespace SoundAssets;
    const bool written = WriteWave16(logoFolder / "marrowgate_logo.wav", MakeLogoSound()) &&
                         WriteWave16(gameFolder / "chip_collected.wav", MakeChipCollected(0.0)) &&
                         WriteWave16(gameFolder / "chip_collected_high.wav", MakeChipCollected(3.0)) &&
                         WriteWave16(gameFolder / "car_reset.wav", MakeCarReset()) &&
                         WriteWave16(gameFolder / "engine_loop.wav", MakeEngineLoop()) &&
                         WriteWave16(exampleFolder / "blip.wav", MakeChipCollected(-5.0)) &&
                         WriteWave16(exampleFolder / "blip_high.wav", MakeChipCollected(2.0)) &&
                         WriteWave16(exampleFolder / "whoosh.wav", MakeCarReset()) &&
                         WriteWave16(exampleFolder / "music_loop.wav", MakeMusicLoop()) &&
                         WriteWave16(exampleFolder / "orbit_hum.wav", MakeEngineLoop()) &&
                         WriteOggVorbis(exampleFolder / "theme.ogg", MakeStreamedTheme());
    if (!written) {
        std::fprintf(stderr, "could not write the sounds under %s\n", root.string().c_str());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
