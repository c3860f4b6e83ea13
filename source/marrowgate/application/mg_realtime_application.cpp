#include "marrowgate/application/mg_realtime_application.h"

#include "marrowgate/application/implementation/mgi_platform.h"
#include "marrowgate/application/implementation/sdl/mgi_full_screen.h"
#include "marrowgate/application/implementation/sdl/mgi_realtime_sdl_application.h"
#include "marrowgate/graphics/implementation/mgi_image_decoder.h"

#include <cstdio>
#include <optional>

namespace Marrowgate::Application {

RealtimeApplication::RealtimeApplication(ApplicationHandlerInterface& applicationHandler)
    : mApplicationHandler(applicationHandler)
{}

void RealtimeApplication::Open()
{
    mgImplementation::OpenApplication(mApplicationHandler);
}

void RealtimeApplication::Run()
{
    mgImplementation::RunApplication(mApplicationHandler);
}

void RealtimeApplication::Close()
{
    mgImplementation::CloseApplication(mApplicationHandler);
}

void RealtimeApplication::SetWindowTitle(const std::string& title)
{
    mgImplementation::SetApplicationWindowTitle(title);
}

void RealtimeApplication::SetWindowIcon(std::span<const unsigned char> imageFile)
{
    if (const std::optional<mgImplementation::DecodedImage> image =
            mgImplementation::DecodeImageData(imageFile)) {
        mgImplementation::GetPlatform().SetWindowIcon(image->width, image->height, image->pixels);
    }
}

bool RealtimeApplication::SetFullScreen(bool fullScreen)
{
    return mgImplementation::SetFullScreen(fullScreen);
}

void RealtimeApplication::SetFrameRateCap(int framesPerSecond)
{
    mgImplementation::SetFrameRateCap(framesPerSecond);
}

bool RealtimeApplication::IsFullScreen() const
{
    return mgImplementation::IsFullScreen();
}

void ClearFrame(const Graphics::Color& color)
{
    mgImplementation::GetPlatform().ClearFrame(color.GetRed(), color.GetGreen(), color.GetBlue(),
                                               color.GetAlpha());
}

bool OpenMessageBox(const std::string& title, const std::string& message, const std::string& /*okayText*/,
                    const std::string& cancelText)
{
    // The box may not be seen (no display, a test run), so the text always reaches stderr too.
    std::fprintf(stderr, "%s\n%s\n", title.c_str(), message.c_str());
    std::fflush(stderr);
    return mgImplementation::GetPlatform().ShowMessageBox(title, message, !cancelText.empty());
}

} // namespace Marrowgate::Application
