#include "graphics/CSpriteSheet.h"

#include "browser/Browser.h"
#include "data/DataFile.h"
#include "graphics/CSpritePacker.h"
#include "graphics/Texture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_opengl.h>

#include <cstring>

namespace {

// Atlas pixels are R, G, B, A bytes in memory, as glTexImage2D reads them.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
const Uint32 kRedMask = 0x000000FF, kGreenMask = 0x0000FF00, kBlueMask = 0x00FF0000, kAlphaMask = 0xFF000000;
#else
const Uint32 kRedMask = 0xFF000000, kGreenMask = 0x00FF0000, kBlueMask = 0x0000FF00, kAlphaMask = 0x000000FF;
#endif

SDL_Surface* CreateRgbaSurface(int width, int height)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, 32, kRedMask, kGreenMask, kBlueMask, kAlphaMask);
    if (surface)
        browser::ClearSurface(surface);   // transparent black
    return surface;
}

// Copies the RGBA pixels of `from` into their place at (x, y), upright or
// turned a quarter clockwise, the image's top row becoming the place's right
// column.
void CopyPixels(const SDL_Surface* from, SDL_Surface* atlas, int x, int y, bool turned)
{
    for (int iy = 0; iy < from->h; ++iy) {
        const Uint8* src = static_cast<const Uint8*>(from->pixels) + iy * from->pitch;
        Uint8* dst = static_cast<Uint8*>(atlas->pixels);
        if (!turned) {
            std::memcpy(dst + (y + iy) * atlas->pitch + x * 4, src, size_t(from->w) * 4);
            continue;
        }
        for (int ix = 0; ix < from->w; ++ix)
            std::memcpy(dst + (y + ix) * atlas->pitch + (x + from->h - 1 - iy) * 4, src + ix * 4, 4);
    }
}

// Copies an image that was placed turned: blitted upright into a scratch
// surface first (so alpha and colour key act as for any other image), then
// turned into its place.
void CopyTurned(SDL_Surface* image, SDL_Surface* atlas, int x, int y)
{
    SDL_Surface* upright = CreateRgbaSurface(image->w, image->h);
    if (!upright)
        return;
    SDL_UpperBlit(image, nullptr, upright, nullptr);
    if (SDL_LockSurface(upright) == 0) {
        if (SDL_LockSurface(atlas) == 0) {
            CopyPixels(upright, atlas, x, y, true);
            SDL_UnlockSurface(atlas);
        }
        SDL_UnlockSurface(upright);
    }
    SDL_FreeSurface(upright);
}

// Loads every image the list names; `surfaces` follows the list's order.
void LoadImages(const std::string& listPath, std::vector<SpriteImage>& images,
                std::vector<SDL_Surface*>& surfaces)
{
    // A missing list leaves no entries; loading goes on to a 1 by 1 atlas.
    std::vector<std::string> lines;
    ReadListFile(listPath, lines);

    for (size_t i = 0; i < lines.size(); ++i) {
        SpriteImage image;
        image.name = lines[i];
        image.entry = i;
        SDL_Surface* surface = image.name.empty() ? nullptr : IMG_Load(HostPath(image.name).c_str());
        if (surface) {
            // Copy pixels, alpha included, instead of blending them.
            SDL_SetAlpha(surface, 0, 0);
            image.loaded = true;
            image.w = surface->w;
            image.h = surface->h;
        }
        images.push_back(image);
        surfaces.push_back(surface);
    }
}

void CopyImage(SDL_Surface* surface, const SpriteImage& image, SDL_Surface* atlas)
{
    if (browser::kRgbaSurfaces) {
        if (surface->pixels && atlas->pixels)
            CopyPixels(surface, atlas, image.x, image.y, image.turned);
        return;
    }
    if (image.turned) {
        CopyTurned(surface, atlas, image.x, image.y);
        return;
    }
    SDL_Rect place;
    place.x = static_cast<Sint16>(image.x);
    place.y = static_cast<Sint16>(image.y);
    place.w = static_cast<Uint16>(image.w);
    place.h = static_cast<Uint16>(image.h);
    SDL_UpperBlit(surface, nullptr, atlas, &place);
}

} // namespace

CSpriteSheet* CSpriteSheet::GetInstance()
{
    static CSpriteSheet* instance = new CSpriteSheet();
    return instance;
}

void CSpriteSheet::Load()
{
    Load("Data\\sprites.dat");
}

void CSpriteSheet::Unload()
{
}

CSprite& CSpriteSheet::GetSprite(unsigned index)
{
    if (index < m_Sprites.size())
        return m_Sprites[index];
    // A missing or short sprite list must not stop the game: beyond the
    // table there is a sprite of no size, reset in case a caller changed it.
    m_EmptySprite = CSprite();
    return m_EmptySprite;
}

void CSpriteSheet::Load(const std::string& listPath)
{
    m_Sprites.clear();
    std::vector<SpriteImage> images;
    std::vector<SDL_Surface*> surfaces;
    LoadImages(listPath, images, surfaces);

    CSpritePacker packer;
    m_AtlasSide = packer.PackSprites(images);
    const float side = static_cast<float>(m_AtlasSide);
    SDL_Surface* atlas = CreateRgbaSurface(m_AtlasSide, m_AtlasSide);

    for (const SpriteImage& image : images) {
        SDL_Surface* surface = surfaces[image.entry];
        if (!surface)
            continue;
        if (image.placed && atlas)
            CopyImage(surface, image, atlas);
        SDL_FreeSurface(surface);

        // An image that found no room is left out rather than drawn over
        // another; the ones after it keep their relative order. An image
        // without extent has no pixels to overwrite: placed or not, it keeps
        // its number and draws nothing.
        if (!image.placed && image.w > 0 && image.h > 0)
            continue;
        CSprite sprite;
        if (image.placed) {
            sprite.m_u0 = image.x / side;
            sprite.m_u1 = (image.x + image.w) / side;
            sprite.m_v0 = image.y / side;
            sprite.m_v1 = (image.y + image.h) / side;
        }
        // The sprite keeps the image's own size, also when its place is turned.
        sprite.m_halfHeight = (image.turned ? image.w : image.h) * 0.5f;
        sprite.m_halfWidth = (image.turned ? image.h : image.w) * 0.5f;
        sprite.m_turned = image.turned;
        m_Sprites.push_back(sprite);
    }

    m_TexId = 0;
    if (atlas && browser::LockSurface(atlas) == 0) {
        m_TexId = UploadTexture(m_AtlasSide, 4, GL_RGBA, atlas->pixels);
        browser::UnlockSurface(atlas);
    }
    if (atlas)
        SDL_FreeSurface(atlas);
    for (CSprite& sprite : m_Sprites)
        sprite.m_texId = m_TexId;
}
