#include "kit/TextMask.h"

#include <SDL_ttf.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace assetgen {

Canvas TextMask(const std::filesystem::path& face, int pointSize, const std::string& text)
{
    if (!TTF_WasInit() && TTF_Init() != 0)
        throw std::runtime_error(std::string("cannot start the font renderer: ") + TTF_GetError());
    std::unique_ptr<TTF_Font, void (*)(TTF_Font*)> font(TTF_OpenFont(face.c_str(), pointSize),
                                                        TTF_CloseFont);
    if (!font)
        throw std::runtime_error("cannot open the face " + face.string());
    const SDL_Color white = {255, 255, 255, 0};
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> drawn(
        TTF_RenderUTF8_Blended(font.get(), text.c_str(), white), SDL_FreeSurface);
    if (!drawn || drawn->format->BytesPerPixel != 4)
        throw std::runtime_error("cannot draw the text \"" + text + "\"");
    Canvas mask(drawn->w, drawn->h);
    const SDL_PixelFormat& format = *drawn->format;
    for (int y = 0; y < drawn->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(drawn->pixels) + y * drawn->pitch);
        for (int x = 0; x < drawn->w; ++x) {
            const std::uint32_t alpha = (row[x] & format.Amask) >> format.Ashift;
            if (alpha > 0)
                mask.Set(x, y, Rgba::Bytes(255, 255, 255, static_cast<int>(alpha)));
        }
    }
    return mask;
}

} // namespace assetgen
