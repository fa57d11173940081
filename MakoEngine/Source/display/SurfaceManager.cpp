#include "display/SurfaceManager.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "perf/PerformanceCounterManager.h"
#include "resources/MemoryBudget.h"
#include "resources/ResourceMemory.h"

namespace {

constexpr Uint32 kRedMask = 0x00FF0000;
constexpr Uint32 kGreenMask = 0x0000FF00;
constexpr Uint32 kBlueMask = 0x000000FF;
constexpr Uint32 kAlphaMask = 0xFF000000;

long long SurfaceBytes(const SDL_Surface* surface)
{
    return static_cast<long long>(surface->format->BytesPerPixel) * surface->h * surface->w;
}

} // namespace

DisplayBlitSurface::DisplayBlitSurface(SurfaceHandle surface, bool opaque)
    : m_Surface(std::move(surface)), m_Opaque(opaque), m_HeldBytes(SurfaceBytes(m_Surface.get()))
{
    MemoryBudget::Hold(m_HeldBytes);
}

DisplayBlitSurface::~DisplayBlitSurface()
{
    MemoryBudget::Hold(-m_HeldBytes);
}

SDL_Surface* SurfaceNode::GetSDLSurface() const
{
    auto* s = static_cast<SDLSurface*>(surfaces[SURFACETYPE_SDL].get());
    return s ? s->GetSurface() : nullptr;
}

D3DSurface* SurfaceNode::GetD3DSurface() const
{
    return static_cast<D3DSurface*>(surfaces[SURFACETYPE_D3D].get());
}

DisplayBlitSurface* SurfaceNode::GetDisplayBlitSurface() const
{
    return static_cast<DisplayBlitSurface*>(surfaces[SURFACETYPE_SDL_DISPLAY].get());
}

SurfaceManager& SurfaceManager::GetInstance()
{
    // Never destroyed: images may outlive any static teardown order.
    static SurfaceManager* instance = new SurfaceManager();
    return *instance;
}

namespace {

// The reference format without its alpha: what the display copies of opaque pictures are
// held in (a 1 x 1 surface made on first need, kept for the process).
SDL_PixelFormat* GetOpaqueDisplayFormat()
{
    static SDL_Surface* format =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, kRedMask, kGreenMask, kBlueMask, 0);
    MAKO_ASSERT(format != 0);
    return format->format;
}

} // namespace

SDL_PixelFormat* SurfaceManager::GetReferenceFormat()
{
    static SDL_Surface* reference =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, kRedMask, kGreenMask, kBlueMask, kAlphaMask);
    MAKO_ASSERT(reference != 0);
    return reference->format;
}

SDL_Surface* SurfaceManager::CreateSurface(int width, int height, bool withAlpha)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, kRedMask,
                                                kGreenMask, kBlueMask, kAlphaMask);
    if (surface && withAlpha)
        SDL_SetAlpha(surface, SDL_SRCALPHA, 0);
    return surface;
}

bool SurfaceManager::SameFormat(const SDL_PixelFormat* a, const SDL_PixelFormat* b)
{
    return a->BitsPerPixel == b->BitsPerPixel && a->BytesPerPixel == b->BytesPerPixel &&
           a->Rmask == b->Rmask && a->Gmask == b->Gmask && a->Bmask == b->Bmask &&
           a->Amask == b->Amask && a->Rshift == b->Rshift && a->Gshift == b->Gshift &&
           a->Bshift == b->Bshift && a->Ashift == b->Ashift && a->Rloss == b->Rloss &&
           a->Gloss == b->Gloss && a->Bloss == b->Bloss && a->Aloss == b->Aloss;
}

SDL_Surface* SurfaceManager::ConvertToReferenceFormat(SDL_Surface* surface)
{
    SDL_PixelFormat* reference = GetReferenceFormat();
    SDL_Surface* copy = SDL_ConvertSurface(surface, reference, 0);
    if (!copy)
        return nullptr;
    if (surface->flags & SDL_SRCCOLORKEY) {
        // The key is a pixel value of the source's format (a palette index for 8-bit
        // pictures); the copy needs the same colour in its own format.
        Uint8 r, g, b;
        SDL_GetRGB(surface->format->colorkey, surface->format, &r, &g, &b);
        SDL_SetColorKey(copy, SDL_SRCCOLORKEY, SDL_MapRGB(copy->format, r, g, b));
    }
    if (surface->flags & SDL_SRCALPHA)
        SDL_SetAlpha(copy, SDL_SRCALPHA, surface->format->alpha);
    return copy;
}

SurfaceNode* SurfaceManager::CreateNode(SurfaceHandle surface)
{
    MAKO_ASSERT(surface != 0);
    auto node = std::make_unique<SurfaceNode>();
    if (!(surface->flags & SDL_HWSURFACE)) {
        if (!SameFormat(surface->format, GetReferenceFormat())) {
            SurfaceHandle copy(ConvertToReferenceFormat(surface.get()));
            surface.reset();
            if (!copy)
                MAKO_THROW(ImageException,
                           std::string("SDL_ConvertSurface failed: ") + SDL_GetError());
            surface = std::move(copy);
        }
        SDL_Surface* pixels = surface.get();
        node->surfaces[SURFACETYPE_SDL] = std::make_unique<SDLSurface>(std::move(surface));
        CountImageBytes(pixels, +1);
    }
    node->refCount = 1;
    node->pixelVersion = ++m_LastPixelVersion;
    node->next = m_Head;
    if (m_Head)
        m_Head->prev = node.get();
    m_Head = node.get();
    ++m_NodeCount;
    // Linked in: the list owns the record from here until DeleteNode.
    return node.release();
}

void SurfaceManager::DeleteNode(SurfaceNode* node)
{
    if (node->prev)
        node->prev->next = node->next;
    else if (m_Head == node)
        m_Head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    for (int type = 1; type < SurfaceNode::kNumTypes; ++type)
        DeleteSurfaceOfType(node, type);
    delete node;
    --m_NodeCount;
}

void SurfaceManager::DeleteSurfaceOfType(SurfaceNode* node, int type)
{
    MAKO_ASSERT(type > 0 && type < SurfaceNode::kNumTypes);
    std::unique_ptr<Surface>& surface = node->surfaces[type];
    if (!surface)
        return;
    if (type == SURFACETYPE_SDL)
        CountImageBytes(static_cast<SDLSurface*>(surface.get())->GetSurface(), -1);
    surface.reset();
}

void SurfaceManager::All_DeleteSurfacesOfType(int type)
{
    if (type == SURFACETYPE_D3D)
        LogAtLevel(3, "SurfaceManager::All_DeleteSurfacesOfType: Flushing vidmem.\n");
    for (SurfaceNode* node = m_Head; node; node = node->next)
        DeleteSurfaceOfType(node, type);
}

void SurfaceManager::Node_RefreshSurfaceType(SurfaceNode* node, int type, int sourceType)
{
    // Only software surfaces are ever turned into textures.
    MAKO_ASSERT_MSG(type == SURFACETYPE_D3D && sourceType == SURFACETYPE_SDL,
                    "An unsupported image conversion was attempted.");
    if (!m_TextureMaker)
        return;
    ++m_Uploads;
    PerformanceCounterManager::AddToIntCounter("Images Uploaded", 1);
    DeleteSurfaceOfType(node, SURFACETYPE_D3D);
    SDL_Surface* source = node->GetSDLSurface();
    if (!source)
        return;
    std::unique_ptr<SurfaceTexture> texture(m_TextureMaker(source));
    if (texture)
        node->surfaces[SURFACETYPE_D3D] = std::make_unique<D3DSurface>(std::move(texture));
}

DisplayBlitSurface* SurfaceManager::Node_GetDisplayBlitSurface(SurfaceNode* node)
{
    if (DisplayBlitSurface* made = node->GetDisplayBlitSurface())
        return made;
    if (++node->displayRequests < 2)
        return nullptr;
    SDL_Surface* master = node->GetSDLSurface();
    if (!master || !SameFormat(master->format, GetReferenceFormat()))
        return nullptr;
    // The copy is a speed-up: without room in the budget the master is drawn as it is.
    if (!MemoryBudget::TryCharge(SurfaceBytes(master), "a display copy of a picture", false)
             .empty())
        return nullptr;
    bool opaque = true;
    if (SDL_LockSurface(master) != 0)
        return nullptr;
    for (int y = 0; y < master->h && opaque; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(master->pixels) + y * master->pitch);
        for (int x = 0; x < master->w; ++x)
            if ((row[x] & kAlphaMask) != kAlphaMask) {
                opaque = false;
                break;
            }
    }
    SDL_UnlockSurface(master);
    // An opaque picture's copy has the display's own format without alpha, so SDL blits
    // it as rows of plain memory copies, which also cut cheaply to a clip rectangle.
    SurfaceHandle copy(SDL_ConvertSurface(
        master, opaque ? GetOpaqueDisplayFormat() : master->format, SDL_SWSURFACE));
    if (!copy)
        return nullptr;
    SDL_SetColorKey(copy.get(), 0, 0);
    const Uint32 alphaFlags = opaque ? 0 : (SDL_SRCALPHA | SDL_RLEACCEL);
    if (SDL_SetAlpha(copy.get(), alphaFlags, SDL_ALPHA_OPAQUE) != 0)
        return nullptr;
    auto* made = new DisplayBlitSurface(std::move(copy), opaque);
    node->surfaces[SURFACETYPE_SDL_DISPLAY].reset(made);
    return made;
}

void SurfaceManager::Node_PixelsChanged(SurfaceNode* node, bool dropTexture)
{
    node->pixelVersion = ++m_LastPixelVersion;
    node->surfaces[SURFACETYPE_SDL_DISPLAY].reset();
    node->displayRequests = 0;
    if (dropTexture)
        DeleteSurfaceOfType(node, SURFACETYPE_D3D);
}

void SurfaceManager::CountImageBytes(SDL_Surface* surface, int sign)
{
    const long long bytes = sign * SurfaceBytes(surface);
    m_SystemBytes += bytes;
    AddResourceMemoryUsage(static_cast<int32_t>(bytes), "Image");
}
