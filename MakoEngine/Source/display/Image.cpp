#include "display/Image.h"

#include "core/Exception.h"
#include "display/Canvas.h"
#include "display/SDLImageRenderer.h"
#include "display/SoftwareBlend.h"
#include "display/SurfaceHandle.h"
#include "display/SurfaceManager.h"
#include "geometry/Colors.h"
#include "geometry/Poly.h"
#include "perf/BlitPerformanceManager.h"
#include "resources/ImageFactory.h"
#include "resources/MemoryBudget.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"

#include <boost/format.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>

using LuaPlus::LuaObject;

namespace {

int gLiveImages = 0;

// Locks a surface for the lifetime of the guard.
class PixelLock
{
public:
    explicit PixelLock(SDL_Surface* surface) : m_Surface(surface)
    {
        if (SDL_LockSurface(surface) != 0)
            MAKO_THROW(ImageException, std::string("SDL_LockSurface failed: ") + SDL_GetError());
    }
    ~PixelLock() { SDL_UnlockSurface(m_Surface); }

private:
    SDL_Surface* m_Surface;
};

// The value of the first pixel of a surface, whatever its depth.
Uint32 FirstPixel(SDL_Surface* surface)
{
    if (surface->w == 0 || surface->h == 0)
        return 0;
    PixelLock lock(surface);
    const Uint8* p = static_cast<const Uint8*>(surface->pixels);
    switch (surface->format->BytesPerPixel) {
    case 1:
        return *p;
    case 2:
        return *reinterpret_cast<const Uint16*>(p);
    case 3:
        return SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2])
                                               : (p[0] | p[1] << 8 | p[2] << 16);
    default:
        return *reinterpret_cast<const Uint32*>(p);
    }
}

// The metadata table as the checks below read it: entries that know whether they are
// integers.
struct MetadataEntry
{
    LuaObject value;
    bool IsNil() const { return value.IsNil(); }
    bool IsInteger() const
    {
        if (!value.IsNumber())
            return false;
        const double d = value.GetNumber();
        return std::floor(d) == d && d >= -2147483648.0 && d <= 2147483647.0;
    }
    int ToInteger() const { return value.GetInteger(); }
    bool IsTrue() const { return value.IsBoolean() && value.GetBoolean(); }
};

struct MetadataView
{
    const LuaObject& table;
    MetadataEntry operator[](const char* key) const { return MetadataEntry{table[key]}; }
};

// Runs a pixel pass; while blit logging is on, records its time under its category.
template <typename Pass>
void TimedPass(void (BlitPerformanceManager::*record)(int, int, double), int w, int h, Pass pass)
{
    if (!BlitPerformanceManager::IsBlitLoggingEnabled()) {
        pass();
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    pass();
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
    if (BlitPerformanceManager* manager = BlitPerformanceManager::GetCurrent())
        (manager->*record)(w, h, ms.count());
}

// The image loader's way of making an image resource from a decoded surface. The loader
// frees the surface itself when this throws, so the image is given a reference of its own
// (which it frees however its construction ends); once the image stands, the loader's
// reference passes to the resource and is given back, leaving the image's.
Resource* MakeImageResource(SDL_Surface* surface, int flags, const LuaObject& metadata,
                            const std::string& name)
{
    auto image =
        std::make_unique<Image>(SurfaceHandle::Share(surface), static_cast<std::uint32_t>(flags),
                                metadata.IsNil() ? nullptr : &metadata, name);
    SurfaceHandle loaderReference(surface);
    return image.release();
}

const ImageFactoryRegistrar gImageFactoryRegistrar(&MakeImageResource);

} // namespace

Image::Image()
{
    ++gLiveImages;
}

// Every constructor delegates to the default one first, so a constructor that fails
// later runs the destructor, which gives back the surface record.
Image::Image(int frameWidth, int height, int numFrames, std::uint32_t flags) : Image()
{
    m_Flags = flags;
    InitFromSize(frameWidth, height, numFrames);
    ApplyAlphaStep();
}

Image::Image(int frameWidth, int height, int numFrames, std::uint32_t flags, const Color& color)
    : Image()
{
    m_Flags = flags;
    InitFromSize(frameWidth, height, numFrames);
    Fill(color, nullptr);
    ApplyAlphaStep();
}

Image::Image(SDL_Surface* surface, std::uint32_t flags, const LuaObject* metadata,
             const std::string& name)
    : Image()
{
    m_Name = name;
    m_Flags = flags;
    InitFromSurface(surface, metadata);
    if (!m_FrameRects)
        BuildFrameRects(GetSize().x, GetSize().y, 1, 0);
}

Image::Image(SurfaceHandle surface, std::uint32_t flags, const LuaObject* metadata,
             const std::string& name)
    : Image(surface.release(), flags & ~IMAGE_DIRECT_SURFACE, metadata, name)
{
}

Image::Image(SDL_Surface* surface, std::uint32_t flags, int frameWidth, int height, int numFrames,
             const LuaObject* metadata)
    : Image()
{
    m_Flags = flags;
    InitFromSurface(surface, metadata);
    BuildFrameRects(frameWidth, height, numFrames, 0);
}

Image::Image(Resource* resource) : Image()
{
    // clang-format off
    MAKO_ASSERT(dynamic_cast<Image *>(resource) != 0);
    // clang-format on
    InitAsReference(dynamic_cast<Image*>(resource));
}

Image::Image(const std::string& resourceName) : Image()
{
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT(manager != 0);
    InitAsReference(static_cast<Image*>(manager->AcquireOfKind(resourceName, RESOURCE_IMAGE)));
}

Image::Image(const Image& other) : Image()
{
    InitAsReference(const_cast<Image*>(&other));
}

Image::~Image()
{
    // References and their source forget each other, whichever goes first.
    if (m_Source) {
        auto& list = m_Source->m_Dependents;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    for (Image* dependent : m_Dependents)
        dependent->m_Source = nullptr;
    ReleaseSurface();
    --gLiveImages;
}

int Image::GetLiveCount()
{
    return gLiveImages;
}

Image* Image::CreateReference(Image* image)
{
    return new Image(*image);
}

std::unique_ptr<Image> Image::HoldSurfaceRecord(SurfaceNode* node)
{
    MAKO_ASSERT(node != 0);
    std::unique_ptr<Image> image(new Image());
    image->m_SurfaceNode = node;
    ++node->refCount;
    image->m_Flags = IMAGE_REFERENCE;
    return image;
}

std::list<Image*>::iterator Image::PushImageReference(std::list<Image*>& images, Image* image)
{
    images.push_front(CreateReference(image));
    return images.begin();
}

void Image::InitFromSize(int frameWidth, int height, int numFrames)
{
    // Made by the program at a size it chose: room is made for it, and it is not refused.
    const long long width = static_cast<long long>(frameWidth) * numFrames;
    if (width > 0 && height > 0)
        MemoryBudget::MakeRoom(width * height * 4);
    SurfaceHandle surface(SurfaceManager::CreateSurface(frameWidth * numFrames, height,
                                                        (m_Flags & IMAGE_SRCALPHA) != 0));
    if (!surface)
        MAKO_THROW(ImageException,
                   boost::str(boost::format("SDL_CreateRGBSurface failed: %1%") % SDL_GetError()));
    m_SurfaceNode = SurfaceManager::GetInstance().CreateNode(std::move(surface));
    BuildFrameRects(frameWidth, height, numFrames, 0);
}

void Image::InitFromSurface(SDL_Surface* surface, const LuaObject* metadata)
{
    // A surface held directly stays its owner's; any other is the image's from here, so a
    // failure below frees it (with the record, once there is one).
    SurfaceHandle taken((m_Flags & IMAGE_DIRECT_SURFACE) ? nullptr : surface);
    if (!surface)
        MAKO_THROW(ImageException, "The image was given no surface.");
    if (m_Flags & IMAGE_DIRECT_SURFACE)
        m_Surface = surface;
    else
        m_SurfaceNode = SurfaceManager::GetInstance().CreateNode(std::move(taken));
    if (metadata) {
        SetMetadata(metadata);
        ExtractRelevantMetadata();
    }
    ApplyAlphaStep();
}

void Image::InitAsReference(Image* source)
{
    m_Source = source;
    m_Name = source->m_Name;
    source->m_Dependents.push_back(this);
    // A source holding its surface directly has no record to share: the reference holds
    // the same surface directly too (and never frees it).
    if (source->m_Flags & IMAGE_DIRECT_SURFACE) {
        m_Surface = source->m_Surface;
        m_Flags = (source->m_Flags & IMAGE_INHERITED_FLAGS) | IMAGE_DIRECT_SURFACE;
    } else {
        m_SurfaceNode = source->m_SurfaceNode;
        ++m_SurfaceNode->refCount;
        m_Flags = 0;
    }
    m_Flags |= (source->m_Flags & IMAGE_INHERITED_FLAGS) | IMAGE_OWNS_METADATA | IMAGE_REFERENCE;
    if (!IsOpaque())
        SetAlphaProperties(SDL_SRCALPHA, 255);
    else
        SetOpaque();
    if (source->m_Metadata)
        m_Metadata.reset(new LuaObject(*source->m_Metadata));
    if (source->m_FrameRects) {
        m_FrameRects.reset(new std::vector<SDL_Rect>(*source->m_FrameRects));
        m_FrameWidth = source->m_FrameWidth;
        m_FrameHeight = source->m_FrameHeight;
        m_FrameGap = source->m_FrameGap;
    } else {
        BuildFrameRects(GetSize().x, GetSize().y, 1, source->m_FrameGap);
    }
}

void Image::ApplyAlphaStep()
{
    if (m_Flags & IMAGE_HWSURFACE) {
        // The image is refused, so the surface's pixel format is left as it was: a surface
        // held directly stays its owner's, unchanged.
        m_Flags = (m_Flags & ~(IMAGE_COMBINEDALPHA | IMAGE_OPAQUE)) | IMAGE_HWSURFACE;
        MAKO_THROW(ImageException, "Image::GetHWSurface() is no longer supported.");
    }
    if (m_Flags & IMAGE_OPAQUE) {
        SetOpaque();
    } else {
        SetAlphaProperties(SDL_SRCALPHA, 255);
        m_Flags &= ~IMAGE_OPAQUE;
    }
}

void Image::ReleaseSurface()
{
    if (m_SurfaceNode) {
        if (--m_SurfaceNode->refCount <= 0)
            SurfaceManager::GetInstance().DeleteNode(m_SurfaceNode);
        m_SurfaceNode = nullptr;
    }
    m_Surface = nullptr;
}

SDL_Surface* Image::GetSDLSurface() const
{
    if (m_Flags & IMAGE_DIRECT_SURFACE)
        return m_Surface;
    return m_SurfaceNode ? m_SurfaceNode->GetSDLSurface() : nullptr;
}

Point<int> Image::GetSize() const
{
    SDL_Surface* surface = GetSDLSurface();
    return surface ? Point<int>(surface->w, surface->h) : Point<int>(0, 0);
}

int Image::GetNumFrames() const
{
    return m_FrameRects ? static_cast<int>(m_FrameRects->size()) : 1;
}

SDL_Rect Image::GetFrameRect(int frame) const
{
    if (!m_FrameRects)
        return MakeRect(0, 0, GetSize().x, GetSize().y);
    MAKO_ASSERT(frame < (int)m_FrameRects->size());
    MAKO_ASSERT(frame >= 0);
    return (*m_FrameRects)[frame];
}

void Image::AddFrameRect(const SDL_Rect& rect)
{
    if (!m_FrameRects) {
        m_FrameRects.reset(new std::vector<SDL_Rect>());
        m_FrameWidth = rect.w;
        m_FrameHeight = rect.h;
    } else if (rect.w != m_FrameWidth || rect.h != m_FrameHeight) {
        m_FrameWidth = 0;
        m_FrameHeight = 0;
    }
    m_FrameRects->push_back(rect);
}

void Image::BuildFrameRects(int frameWidth, int frameHeight, int numFrames, int gapY)
{
    MAKO_ASSERT(numFrames > 0);
    ClearFrameRects();
    m_FrameGap = gapY;
    const int surfaceWidth = GetSize().x;
    int x = 0;
    int y = 0;
    for (int i = 0; i < numFrames; ++i) {
        if (surfaceWidth - frameWidth < x) {
            x = 0;
            y += frameHeight + gapY;
        }
        AddFrameRect(MakeRect(x, y, frameWidth, frameHeight));
        x += frameWidth;
    }
}

void Image::ClearFrameRects()
{
    m_FrameRects.reset();
    m_FrameWidth = GetSize().x;
    m_FrameHeight = GetSize().y;
}

LuaObject Image::GetMetadata() const
{
    return m_Metadata ? *m_Metadata : LuaObject();
}

void Image::SetMetadata(const LuaObject* metadata)
{
    if (metadata)
        m_Metadata.reset(new LuaObject(*metadata));
    else
        m_Metadata.reset();
}

void Image::SetAlphaProperties(std::uint32_t flag, std::uint8_t alpha)
{
    if (SDL_SetAlpha(GetSDLSurface(), flag, alpha) != 0)
        MAKO_THROW(
            ImageException,
            boost::str(boost::format("SetAlpha failed:\nflag = %1%\nalpha = %2%\nerror = %3%") %
                       flag % static_cast<int>(alpha) % SDL_GetError()));
}

void Image::SetColorKey(std::uint32_t flag, std::uint32_t key)
{
    if (SDL_SetColorKey(GetSDLSurface(), flag, key) != 0)
        MAKO_THROW(
            ImageException,
            boost::str(boost::format("SetColorKey failed:\nflag = %1%\nkey = %2%\nerror = %3%") %
                       flag % key % SDL_GetError()));
}

void Image::SetColorKeyFromFirstPixel()
{
    SetColorKey(SDL_SRCCOLORKEY, FirstPixel(GetSDLSurface()));
}

void Image::SetOpaque()
{
    SetAlphaProperties(0, 0);
    m_Flags = (m_Flags & ~(IMAGE_HWSURFACE | IMAGE_COMBINEDALPHA)) | IMAGE_OPAQUE;
}

long long Image::ReleasableBytes()
{
    if ((m_Flags & IMAGE_DIRECT_SURFACE) || !m_SurfaceNode || m_SurfaceNode->refCount != 1 ||
        !m_Dependents.empty())
        return 0;
    const SDL_Surface* surface = m_SurfaceNode->GetSDLSurface();
    return surface ? static_cast<long long>(surface->pitch) * surface->h : 0;
}

int Image::CalcMemoryUsage(bool countShared)
{
    if ((m_Flags & IMAGE_REFERENCE) && !countShared)
        return 0;
    SDL_Surface* surface = GetSDLSurface();
    if (!surface)
        return 0;
    int bytes = surface->format->BytesPerPixel * surface->h * surface->w;
    if ((m_Flags & IMAGE_DIRECT_SURFACE) && (surface->flags & SDL_HWSURFACE))
        bytes *= 2;
    return bytes;
}

void Image::Fill(const Color& color, const SDL_Rect* rect)
{
    SDLImageRenderer renderer(this);
    renderer.DrawRect(rect, color, true);
}

void Image::Draw(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect,
                 ShaderType shader) const
{
    SDLImageRenderer renderer(target);
    renderer.DrawImage(const_cast<Image*>(this), shader, dstRect, srcRect, 255, 0.0, 0);
}

void Image::DrawOnto(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect)
{
    ShaderType shader = SHADERTYPE_BLENDPIXELALPHA;
    if (m_Flags & IMAGE_OPAQUE)
        shader = SHADERTYPE_COPY;
    else if (m_Flags & IMAGE_COMBINEDALPHA)
        shader = SHADERTYPE_BLENDCOMBINEDALPHA;
    Draw(srcRect, target, dstRect, shader);
}

void Image::CopyOnto(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect)
{
    Draw(srcRect, target, dstRect, SHADERTYPE_COPY);
}

void Image::CompositeOnto(const SDL_Rect* srcRect, Image* target, const SDL_Rect* dstRect)
{
    SDL_Surface* src = RequirePixelSurface();
    SDL_Surface* dst = target->RequirePixelSurface();
    SDL_Rect s, d;
    if (!SoftwareBlend::ClipBlitRects(src->w, src->h, srcRect, dst->w, dst->h, dstRect, s, d))
        return;
    TimedPass(&BlitPerformanceManager::AddCompositingBlit, s.w, s.h,
              [&] { SoftwareBlend::Composite(src, &s, dst, &d); });
    if (SurfaceNode* node = target->GetSurfaceNode())
        SurfaceManager::GetInstance().Node_PixelsChanged(node, false);
}

void Image::CompositeFrameOnto(Image* target, int x, int y, int frame)
{
    const Point<int> targetSize = target->GetSize();
    const SDL_Rect dst = MakeRect(x, y, targetSize.x - x, targetSize.y - y);
    const SDL_Rect src = frame < 0 ? MakeRect(0, 0, GetSize().x, GetSize().y) : GetFrameRect(frame);
    CompositeOnto(&src, target, &dst);
}

SDL_Surface* Image::RequirePixelSurface() const
{
    SDL_Surface* surface = GetSDLSurface();
    MAKO_ASSERT(surface != 0);
    MAKO_ASSERT(surface->format->BytesPerPixel == 4);
    return surface;
}

void Image::DropHWSurface()
{
    if (m_SurfaceNode)
        SurfaceManager::GetInstance().Node_PixelsChanged(m_SurfaceNode, true);
}

void Image::Fade(std::uint8_t maxAlpha)
{
    SDL_Surface* surface = RequirePixelSurface();
    TimedPass(&BlitPerformanceManager::AddFadeBlit, surface->w, surface->h, [&] {
        PixelLock lock(surface);
        const std::uint32_t limit = static_cast<std::uint32_t>(maxAlpha) << 24;
        for (int y = 0; y < surface->h; ++y) {
            std::uint32_t* row = SoftwareBlend::PixelRow(surface, y);
            for (int x = 0; x < surface->w; ++x)
                if ((row[x] & 0xFF000000u) > limit)
                    row[x] = (row[x] & 0x00FFFFFFu) | limit;
        }
    });
    DropHWSurface();
}

void Image::Clip(Image* mask)
{
    SDL_Surface* surface = RequirePixelSurface();
    SDL_Surface* maskSurface = mask->RequirePixelSurface();
    TimedPass(&BlitPerformanceManager::AddClipBlit, surface->w, surface->h, [&] {
        PixelLock lock(surface);
        PixelLock maskLock(maskSurface);
        for (int y = 0; y < surface->h; ++y) {
            std::uint32_t* row = SoftwareBlend::PixelRow(surface, y);
            const std::uint32_t* maskRow =
                y < maskSurface->h ? SoftwareBlend::PixelRow(maskSurface, y) : nullptr;
            for (int x = 0; x < surface->w; ++x) {
                if (!maskRow || x >= maskSurface->w) {
                    row[x] = 0;
                    continue;
                }
                const std::uint32_t maskAlpha = maskRow[x] & 0xFF000000u;
                if (maskAlpha == 0)
                    row[x] = 0;
                else if ((row[x] & 0xFF000000u) > maskAlpha)
                    row[x] = (row[x] & 0x00FFFFFFu) | maskAlpha;
            }
        }
    });
    DropHWSurface();
}

void Image::ClipToCircle(const Point<int>& /*point*/, float radius)
{
    const int r2 = static_cast<int>(2 * radius);
    const int r = static_cast<int>(radius);
    Canvas canvas(r2, r2, 10);
    Image* mask = canvas.GetTargetImage();
    mask->Fade(0);
    canvas.FillCircle(r, r, r, Colors::ByName("White"));
    Clip(mask);
}

void Image::ClipToPoly(const Poly& poly)
{
    float maxX = 0;
    float maxY = 0;
    for (const Point2f& v : poly.GetVertices()) {
        maxX = std::max(maxX, v.x);
        maxY = std::max(maxY, v.y);
    }
    Canvas canvas(static_cast<int>(maxX), static_cast<int>(maxY), 10);
    Image* mask = canvas.GetTargetImage();
    mask->Fade(0);
    canvas.FillPolygon(poly, Colors::ByName("White"));
    Clip(mask);
}

Image* Image::Clone() const
{
    const Point<int> size = GetSize();
    auto clone = std::make_unique<Image>(size.x, size.y, 1, (m_Flags & IMAGE_INHERITED_FLAGS) | 1);
    if (m_Metadata)
        clone->m_Metadata.reset(new LuaObject(*m_Metadata));
    SDL_Surface* source = GetSDLSurface();
    const Uint32 keyFlag = source->flags & SDL_SRCCOLORKEY;
    const Uint32 key = source->format->colorkey;
    // The copy must include the key-coloured pixels, so the key is off while copying
    // and goes onto the clone afterwards.
    if (keyFlag)
        SDL_SetColorKey(source, 0, 0);
    const_cast<Image*>(this)->CopyOnto(nullptr, clone.get(), nullptr);
    if (keyFlag) {
        SDL_SetColorKey(source, keyFlag, key);
        clone->SetColorKey(SDL_SRCCOLORKEY, key);
    }
    clone->m_Alpha = m_Alpha;
    clone->BuildFrameRects(m_FrameWidth, m_FrameHeight, GetNumFrames(), m_FrameGap);
    return clone.release();
}

Image* Image::ExtractFrame(int frame) const
{
    const SDL_Rect rect = GetFrameRect(frame);
    // The frame's own size: the shared frame size is 0 when frames differ in size.
    auto result = std::make_unique<Image>(rect.w, rect.h, 1, 0);
    Draw(&rect, result.get(), nullptr, SHADERTYPE_COPY);
    return result.release();
}

void Image::RefreshHWSurface(bool deleteFirst)
{
    if (!m_SurfaceNode)
        return;
    SurfaceManager& manager = SurfaceManager::GetInstance();
    // Callers refresh because the pixels changed: the display copy goes in any case.
    manager.Node_PixelsChanged(m_SurfaceNode, deleteFirst);
    manager.Node_RefreshSurfaceType(m_SurfaceNode, SURFACETYPE_D3D, SURFACETYPE_SDL);
}

void Image::ExtractRelevantMetadata()
{
    MAKO_ASSERT(m_Metadata != 0);
    if (!m_Metadata->IsTable())
        return;
    const MetadataView metadata{*m_Metadata};
    if (metadata["colorKey"].IsTrue()) {
        SetColorKeyFromFirstPixel();
        SetOpaque();
    }
    if (metadata["numFrames"].IsInteger()) {
        MAKO_ASSERT_MSG(metadata["width"].IsInteger(),
                        "image metadata has numFrames, but not width " + DescribeForMetadata());
        MAKO_ASSERT_MSG(metadata["height"].IsInteger(),
                        "image metadata has numFrames, but not height " + DescribeForMetadata());
        const int numFrames = metadata["numFrames"].ToInteger();
        const int width = metadata["width"].ToInteger();
        const int height = metadata["height"].ToInteger();
        const int gapY = metadata["gap_y"].IsInteger() ? metadata["gap_y"].ToInteger() : 0;
        CheckFrameMetadata(numFrames, width, height, gapY);
        BuildFrameRects(width, height, numFrames, gapY);
    } else {
        // clang-format off
        MAKO_ASSERT_MSG(metadata["width"].IsNil() || (metadata["width"].IsInteger() && metadata["width"].ToInteger() == this->GetSize().x), "image metadata width is not the picture's width " + DescribeForMetadata());
        MAKO_ASSERT_MSG(metadata["height"].IsNil() || (metadata["height"].IsInteger() && metadata["height"].ToInteger() == this->GetSize().y), "image metadata height is not the picture's height " + DescribeForMetadata());
        // clang-format on
    }
    // Only colorKey = true keys the picture; any other value (or none) clears the key.
    if (metadata["colorKey"].IsTrue())
        SetColorKeyFromFirstPixel();
    else
        SetColorKey(0, 0);
    if (metadata["combinedAlpha"].IsTrue())
        m_Flags = (m_Flags & ~IMAGE_OPAQUE) | IMAGE_COMBINEDALPHA;
    else if (metadata["noAlpha"].IsTrue())
        SetOpaque();
}

std::string Image::DescribeForMetadata() const
{
    const Point<int> size = GetSize();
    if (m_Name.empty())
        return boost::str(boost::format("(unnamed image of %1% x %2%)") % size.x % size.y);
    return boost::str(boost::format("(image \"%1%\" of %2% x %3%)") % m_Name % size.x % size.y);
}

void Image::CheckFrameMetadata(int numFrames, int width, int height, int gapY) const
{
    MAKO_ASSERT_MSG(numFrames > 0,
                    boost::str(boost::format("image metadata has numFrames = %1% ") % numFrames) +
                        DescribeForMetadata());
    MAKO_ASSERT_MSG(
        width > 0 && height > 0,
        boost::str(boost::format("image metadata has frames of %1% x %2% ") % width % height) +
            DescribeForMetadata());
    MAKO_ASSERT_MSG(gapY >= 0, boost::str(boost::format("image metadata has gap_y = %1% ") % gapY) +
                                   DescribeForMetadata());
    MAKO_ASSERT_MSG(width <= GetSize().x && height <= GetSize().y,
                    boost::str(boost::format("image metadata has frames of %1% x %2%, larger "
                                             "than the picture ") %
                               width % height) +
                        DescribeForMetadata());
    // The frames the layout can place: whole frames across each row, and rows of
    // height + gapY while a row still starts inside the sheet (the last row may be cut
    // short at the bottom; drawing clips it).
    const long long columns = GetSize().x / width;
    const long long rows = (GetSize().y - 1) / (static_cast<long long>(height) + gapY) + 1;
    const long long capacity = columns * rows;
    MAKO_ASSERT_MSG(numFrames <= capacity,
                    boost::str(boost::format("image metadata has numFrames = %1%, but frames of "
                                             "%2% x %3% with gap_y = %4% fit only %5% times ") %
                               numFrames % width % height % gapY % capacity) +
                        DescribeForMetadata());
}
