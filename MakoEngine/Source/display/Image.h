#pragma once
// The picture resource of the engine: a 32-bit SDL surface (shared through the surface
// manager) plus the frame layout of a sprite sheet, a metadata table and the flags that
// decide how it is blended. Images loaded as resources are shared by references: each
// actor showing a picture has its own Image that refers to the loaded one's surface, with
// its own alpha and frame list. Images are also made blank, from other images (clones,
// frames, effects) and from rendered text.
//
// Pixel operations (Fade, Clip, CompositeOnto) work on the 0xAARRGGBB pixels directly.
// Main thread only.
#include "display/ShaderType.h"
#include "display/SurfaceHandle.h"
#include "geometry/Color.h"
#include "geometry/Point.h"
#include "geometry/Rect.h"
#include "resources/Resource.h"

#include <SDL.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class Poly;
struct SurfaceNode;

enum ImageFlags : std::uint32_t {
    IMAGE_OWNS_METADATA = 1,
    IMAGE_REFERENCE = 2,       // the surface belongs to another image
    IMAGE_HWSURFACE = 4,       // hardware surfaces: no longer supported
    IMAGE_COMBINEDALPHA = 8,   // drawn with SHADERTYPE_BLENDCOMBINEDALPHA
    IMAGE_SRCALPHA = 16,       // blank surfaces are made with the SDL source-alpha flag
    IMAGE_OPAQUE = 32,         // drawn with SHADERTYPE_COPY, SDL alpha blending off
    IMAGE_DIRECT_SURFACE = 64, // the SDL surface is held directly and never freed here
    IMAGE_INHERITED_FLAGS = 60 // the bits passed on to images made from another
};

class Image : public Resource
{
public:
    // A blank image of numFrames frames of frameWidth x height side by side.
    Image(int frameWidth, int height, int numFrames, std::uint32_t flags);
    // The same, filled with the colour.
    Image(int frameWidth, int height, int numFrames, std::uint32_t flags, const Color& color);
    // Over a surface, which the image takes (unless flag 64: then it is only held). A
    // surface not in the reference format is replaced by a converted copy. With metadata
    // (may be null), the metadata decides colour key, frames and blending. A null surface
    // raises ImageException; on any failure a taken surface is freed. `name` (the resource
    // name of a loaded picture, may be empty) names the image in metadata errors.
    Image(SDL_Surface* surface, std::uint32_t flags, const LuaPlus::LuaObject* metadata,
          const std::string& name = std::string());
    // The same over the handle's reference, which the image always takes (flag 64 does not
    // apply): freed with the image, or at once when the construction fails.
    Image(SurfaceHandle surface, std::uint32_t flags, const LuaPlus::LuaObject* metadata,
          const std::string& name = std::string());
    // The same, then numFrames frames of frameWidth x height laid out without a gap.
    Image(SDL_Surface* surface, std::uint32_t flags, int frameWidth, int height, int numFrames,
          const LuaPlus::LuaObject* metadata);
    // A reference to a loaded image resource (which must be an Image).
    explicit Image(Resource* resource);
    // A reference to the image resource of that name (acquired from the resource manager).
    explicit Image(const std::string& resourceName);
    // A reference to other.
    Image(const Image& other);
    Image& operator=(const Image&) = delete;
    ~Image() override;

    // A new reference to image (the caller owns it).
    static Image* CreateReference(Image* image);
    // A bare image over a surface record, holding one reference to it: no frames,
    // metadata, name or source. It draws the record's pixels as any image over it would,
    // and keeps them alive after the image that drew them is gone.
    static std::unique_ptr<Image> HoldSurfaceRecord(SurfaceNode* node);
    // Puts a new reference to image at the front of the list and returns its position.
    static std::list<Image*>::iterator PushImageReference(std::list<Image*>& images, Image* image);

    // Bytes of the picture; references count 0 unless countShared.
    int CalcMemoryUsage(bool countShared);
    int CalcMemoryUsage() override { return CalcMemoryUsage(false); }
    // The picture's bytes while no other image shares them (no reference made from it
    // lives); 0 otherwise and for an image that holds its surface directly.
    long long ReleasableBytes() override;

    SDL_Surface* GetSDLSurface() const;
    SurfaceNode* GetSurfaceNode() const { return m_SurfaceNode; }
    Point<int> GetSize() const;
    Point<int> GetFrameSize() const { return Point<int>(m_FrameWidth, m_FrameHeight); }
    int GetNumFrames() const;
    int GetFrameGap() const { return m_FrameGap; }
    // The frame's rectangle (frame < number of frames), or the whole image without a
    // frame list.
    SDL_Rect GetFrameRect(int frame) const;
    bool HasFrameRects() const { return m_FrameRects != nullptr; }
    void AddFrameRect(const SDL_Rect& rect);
    // Lays out numFrames frames left to right, wrapping to a new row (frameHeight + gapY
    // lower) when the next frame would not fit the surface's width.
    void BuildFrameRects(int frameWidth, int frameHeight, int numFrames, int gapY);
    void ClearFrameRects();

    std::uint32_t GetFlags() const { return m_Flags; }
    void SetFlags(std::uint32_t flags) { m_Flags = flags; }
    bool IsOpaque() const { return (m_Flags & IMAGE_OPAQUE) != 0; }
    std::uint8_t GetAlpha() const { return m_Alpha; }
    void SetAlpha(std::uint8_t alpha) { m_Alpha = alpha; }
    Image* GetSource() const { return m_Source; }
    const std::vector<Image*>& GetDependents() const MAKO_LIFETIMEBOUND { return m_Dependents; }

    // The metadata table (nil when none).
    LuaPlus::LuaObject GetMetadata() const;
    bool HasMetadata() const { return m_Metadata != nullptr; }
    void SetMetadata(const LuaPlus::LuaObject* metadata);

    // SDL per-surface alpha and colour key; SDL failures raise ImageException.
    void SetAlphaProperties(std::uint32_t flag, std::uint8_t alpha);
    void SetColorKey(std::uint32_t flag, std::uint32_t key);
    void SetColorKeyFromFirstPixel();
    void SetOpaque();

    // Drawing through an image renderer over this image or the target.
    void Fill(const Color& color, const SDL_Rect* rect = nullptr);
    void DrawOnto(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect);
    void CopyOnto(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect);
    // Per-pixel "over" compositing onto the target (SoftwareBlend::CompositePixel). The
    // target's hardware copy is left alone: callers that show it refresh it.
    void CompositeOnto(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect);
    // Composites a frame (all of the image when frame < 0) with its top-left at (x, y).
    void CompositeFrameOnto(Image* target, int x, int y, int frame);

    // Pixel operations; each drops the hardware copy.
    // Every pixel's alpha becomes at most maxAlpha.
    void Fade(std::uint8_t maxAlpha);
    // Keeps only what the mask's alpha lets through: pixels outside the mask or under a
    // transparent mask pixel become 0, others take the smaller of the two alphas.
    void Clip(Image* mask);
    // Keeps the disc of the radius centred at (radius, radius): the circle inscribed in
    // the 2 radius square at the top left. The point is not used.
    void ClipToCircle(const Point<int>& point, float radius);
    // Keeps the inside of the polygon.
    void ClipToPoly(const Poly& poly);

    // A new image with its own copy of the pixels, frames, metadata, alpha and colour key.
    Image* Clone() const;
    // A new one-frame image holding a copy of the frame.
    Image* ExtractFrame(int frame) const;
    // Rebuilds the hardware copy (deleting the old one first when asked).
    void RefreshHWSurface(bool deleteFirst);

    // Applies the metadata's colorKey, numFrames/width/height/gap_y, combinedAlpha and
    // noAlpha entries. Bad entries (a frame layout the sheet cannot hold, negative sizes or
    // gaps, sizes that contradict the picture) raise assertion failures naming the image.
    void ExtractRelevantMetadata();

    // The resource name the image was loaded under (references share it); empty for
    // images made in code.
    const std::string& GetName() const MAKO_LIFETIMEBOUND { return m_Name; }

    // Diagnostics: Image objects alive now.
    static int GetLiveCount();

private:
    Image();
    void InitFromSize(int frameWidth, int height, int numFrames);
    void InitFromSurface(SDL_Surface* surface, const LuaPlus::LuaObject* metadata);
    void InitAsReference(Image* source);
    void ApplyAlphaStep();
    void ReleaseSurface();
    void DropHWSurface();
    void Draw(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect,
              ShaderType shader) const;
    SDL_Surface* RequirePixelSurface() const;
    // The image as metadata errors name it: (image "Ball.png"), or its size when unnamed.
    std::string DescribeForMetadata() const;
    // Checks numFrames frames of width x height with the gap fit the sheet.
    void CheckFrameMetadata(int numFrames, int width, int height, int gapY) const;

    SurfaceNode* m_SurfaceNode = nullptr;
    SDL_Surface* m_Surface = nullptr; // held directly under IMAGE_DIRECT_SURFACE
    std::uint32_t m_Flags = 0;
    std::unique_ptr<LuaPlus::LuaObject> m_Metadata;
    std::unique_ptr<std::vector<SDL_Rect>> m_FrameRects;
    int m_FrameWidth = 0;
    int m_FrameHeight = 0;
    int m_FrameGap = 0;
    Image* m_Source = nullptr;
    std::vector<Image*> m_Dependents;
    std::string m_Name;
    std::uint8_t m_Alpha = 255;
};
