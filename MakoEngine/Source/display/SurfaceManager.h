#pragma once
// The shared pixel store of all images. Every distinct picture has one record holding up
// to one surface per type: type 1 is the SDL surface in system memory (the master copy,
// always in the reference format below), type 2 the texture the hardware backend made
// from it (made lazily, flushed whenever video memory must be given up), type 3 the copy
// the software backend blits onto the display (made lazily, dropped whenever the master's
// pixels change). Images share a record through its reference count; the last one to go
// deletes it.
//
// Reference format: 32 bits per pixel, alpha 0xFF000000, red 0x00FF0000, green
// 0x0000FF00, blue 0x000000FF. Every pixel loop of the display code assumes it.
//
// Main thread only.
#include "display/SurfaceHandle.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>

enum SurfaceType {
    SURFACETYPE_SDL = 1,
    SURFACETYPE_D3D = 2,
    SURFACETYPE_SDL_DISPLAY = 3,
};

class Surface
{
public:
    virtual ~Surface() = default;
};

// Owns a reference to an SDL surface and frees it.
class SDLSurface : public Surface
{
public:
    explicit SDLSurface(SurfaceHandle surface) : m_Surface(std::move(surface)) {}
    SDL_Surface* GetSurface() const MAKO_LIFETIMEBOUND { return m_Surface.get(); }

private:
    SurfaceHandle m_Surface;
};

// A texture object of the hardware backend; deleted through its virtual destructor.
class SurfaceTexture
{
public:
    virtual ~SurfaceTexture() = default;
};

// Owns a hardware texture.
class D3DSurface : public Surface
{
public:
    explicit D3DSurface(std::unique_ptr<SurfaceTexture> texture) : m_Texture(std::move(texture)) {}
    SurfaceTexture* GetTexture() const MAKO_LIFETIMEBOUND { return m_Texture.get(); }

private:
    std::unique_ptr<SurfaceTexture> m_Texture;
};

// The master copy as SDL blits it onto the display fastest. A picture with translucent
// or clear pixels: the same pixels with SDL's run-length acceleration, which SDL encodes
// against the display's format on the first blit (freeing the plain pixels), so that
// opaque runs are copied, clear runs skipped and only the translucent pixels blended. An
// opaque picture (every pixel's alpha 255): its colours without alpha, blitted as plain
// memory copies. Drawing through it gives the very pixels a per-pixel alpha blit of the
// master gives; an opaque one also stands for the master copied without blending.
// Its bytes are held against the budget of decoded memory (MemoryBudget) while it lives.
class DisplayBlitSurface : public Surface
{
public:
    DisplayBlitSurface(SurfaceHandle surface, bool opaque);
    ~DisplayBlitSurface() override;
    SDL_Surface* GetSurface() const MAKO_LIFETIMEBOUND { return m_Surface.get(); }
    bool IsOpaque() const { return m_Opaque; }

private:
    SurfaceHandle m_Surface;
    bool m_Opaque;
    long long m_HeldBytes;
};

// One picture's surfaces. Owned by the manager; images hold pointers to it.
struct SurfaceNode
{
    static constexpr int kNumTypes = 4; // index 0 unused

    std::unique_ptr<Surface> surfaces[kNumTypes];
    int refCount = 0;
    // Times the display asked for the type-3 copy since the pixels last changed.
    int displayRequests = 0;
    // Names the record's pixels as they are now: set when the record is made and each
    // time they change, from one counter for all records, so no two pictures (nor two
    // states of one) ever share a value.
    std::uint64_t pixelVersion = 0;
    SurfaceNode* prev = nullptr;
    SurfaceNode* next = nullptr;

    // The type-1 SDL surface, or null.
    SDL_Surface* GetSDLSurface() const;
    // The type-2 surface, or null.
    D3DSurface* GetD3DSurface() const;
    // The type-3 surface, or null.
    DisplayBlitSurface* GetDisplayBlitSurface() const;
};

class SurfaceManager
{
public:
    // Makes a hardware texture from a record's SDL surface. Set by the hardware backend
    // while it is the current backend; without a maker, texture refreshes do nothing.
    using TextureMaker = std::function<SurfaceTexture*(SDL_Surface* source)>;

    static SurfaceManager& GetInstance();

    // A new software surface in the reference format; with withAlpha the SDL source-alpha
    // flag is on. Null when SDL fails (the caller reports SDL_GetError).
    static SDL_Surface* CreateSurface(int width, int height, bool withAlpha);
    // A copy of the surface in the reference format, keeping its colour key (mapped into
    // the new format) and per-surface alpha settings. Null when SDL fails.
    static SDL_Surface* ConvertToReferenceFormat(SDL_Surface* surface);
    static bool SameFormat(const SDL_PixelFormat* a, const SDL_PixelFormat* b);
    // The reference format (of a 1 x 1 surface made on first need, kept for the process).
    static SDL_PixelFormat* GetReferenceFormat();

    // A new record with reference count 1 for the surface, whose reference the manager
    // now owns. A software surface not in the reference format is replaced by a converted
    // copy and its reference freed; a conversion that fails frees it too and raises
    // ImageException.
    SurfaceNode* CreateNode(SurfaceHandle surface);
    // Unlinks and frees the record with all its surfaces.
    void DeleteNode(SurfaceNode* node);
    void DeleteSurfaceOfType(SurfaceNode* node, int type);
    // Deletes the surfaces of one type of every record (type 2: "flushing vidmem").
    void All_DeleteSurfacesOfType(int type);
    // Rebuilds the record's type-2 texture from its type-1 surface (the only supported
    // pair) when a texture maker is set.
    void Node_RefreshSurfaceType(SurfaceNode* node, int type, int sourceType);

    // The record's type-3 copy, made from its type-1 surface when there is none yet; null
    // when the record has no type-1 surface in the reference format, SDL fails or the
    // budget of decoded memory has no room for it (the master is drawn instead), and on
    // the first request after the pixels changed: a picture redrawn every frame (a canvas
    // composed anew each pass) is never worth encoding.
    DisplayBlitSurface* Node_GetDisplayBlitSurface(SurfaceNode* node);
    // The record's pixels changed: its pixel version moves on and its copies made from
    // them (types 2 and 3) go. The texture is only dropped when dropTexture: the
    // hardware backend's callers refresh it themselves where they change pixels it shows.
    void Node_PixelsChanged(SurfaceNode* node, bool dropTexture);

    void SetTextureMaker(TextureMaker maker) { m_TextureMaker = std::move(maker); }
    bool HasTextureMaker() const { return static_cast<bool>(m_TextureMaker); }

    // Diagnostics: live records, and bytes of type-1 surfaces.
    int GetNodeCount() const { return m_NodeCount; }
    long long GetSystemMemoryBytes() const { return m_SystemBytes; }
    // Number of textures made since start.
    int GetUploadCount() const { return m_Uploads; }

private:
    SurfaceManager() = default;
    void CountImageBytes(SDL_Surface* surface, int sign);

    SurfaceNode* m_Head = nullptr;
    int m_NodeCount = 0;
    long long m_SystemBytes = 0;
    int m_Uploads = 0;
    std::uint64_t m_LastPixelVersion = 0;
    TextureMaker m_TextureMaker;
};
