#include "resources/SDLImageLoader.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/StopSignal.h"
#include "core/Utility.h"
#include "core/WorkMeter.h"
#include "resources/FileReader.h"
#include "resources/ImageFactory.h"
#include "resources/MemoryBudget.h"
#include "resources/MetadataRanges.h"
#include "resources/PictureDecoder.h"
#include "resources/Resource.h"
#include "resources/ResourceInfo.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>

namespace {

// The whole number under key of the metadata table; 0 when it is not one in 1..limit.
int MetadataSide(const LuaPlus::LuaObject& metadata, const char* key, int limit)
{
    if (!metadata.IsTable())
        return 0;
    const LuaPlus::LuaObject value = metadata.GetByName(key);
    if (!value.IsNumber())
        return 0;
    const double number = value.GetNumber();
    return number >= 1 && number <= limit && number == static_cast<int>(number)
               ? static_cast<int>(number)
               : 0;
}

// Cuts the frames the metadata gives from inside the decoded picture (MetadataRanges), telling
// each mend once, naming the metadata file and the key; a picture that cannot be cut into
// frames at all is refused, naming them, and stands in as a damaged one.
void FitFramesToPicture(const ResourceInfo& info, int width, int height)
{
    std::string problem;
    const std::string& file = info.GetMetadataFile();
    // The picture as its metadata file names it: by its file name.
    const std::string picture = info.Name().substr(info.Name().find_last_of('/') + 1);
    std::vector<std::string> lines;
    {
        // The work on the metadata's values is the file's; a stop is answered here too.
        WorkMeter meter("the metadata file \"" + file + "\" for \"" + picture + "\"");
        try {
            lines = MetadataRanges::FitFrames(info.GetMetadata(), width, height, problem);
        } catch (const WorkSpent&) {
            if (StopSignal::IsRequested())
                throw;
            MAKO_THROW(ResourceLoadError, meter.Describe());
        }
    }
    DataReport::Cap cap;
    for (const std::string& line : lines)
        DataReport::WarnOfPack(boost::str(boost::format("the metadata file \"%1%\" gives "
                                                        "\"%2%\" %3%") %
                                          file % picture % line));
    if (!problem.empty())
        MAKO_THROW(
            ResourceLoadError,
            boost::str(boost::format("the metadata file \"%1%\" gives %2%") % file % problem));
}

} // namespace

bool SDLImageLoader::CanLoad(const ResourceInfo& info)
{
    return KindOfEntry(info) == RESOURCE_IMAGE;
}

int SDLImageLoader::KindOfEntry(const ResourceInfo& info) const
{
    return IsPictureName(info.Name()) ? RESOURCE_IMAGE : RESOURCE_UNKNOWN;
}

bool SDLImageLoader::IsPictureName(const std::string& name)
{
    return name.size() >= 5 &&
           (EndsWith(name, ".png") || EndsWith(name, ".jpg") || EndsWith(name, ".bmp"));
}

void SDLImageLoader::LoadResource(FileReader* reader, ResourceInfo& info)
{
    const std::string& location = info.Name();
    if (!reader)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("SDL_RWFromMem failed:\nfile=%1%\nerror=%2%") %
                              location % SDL_GetError()));
    MAKO_ASSERT(location.empty() == false);

    const void* data = nullptr;
    uint32_t size = 0;
    reader->Read(location, data, size);
    // The loader's reference to the picture: freed here when the factory fails, the new
    // resource's once the factory has made it.
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
        PictureDecoder::Decode(location, data, size), SDL_FreeSurface);

    FitFramesToPicture(info, surface->w, surface->h);
    int flags = surface->format->Amask == 0 ? IMAGE_FLAG_OPAQUE : 0;
    Resource* image = GetImageFactory()(surface.get(), flags, info.GetMetadata(), location);
    surface.release();
    info.SetResource(image);
    info.SetType(RESOURCE_IMAGE);
}

bool SDLImageLoader::LoadStandIn(ResourceInfo& info)
{
    const LuaPlus::LuaObject& metadata = info.GetMetadata();
    const int side = kMaxStandInSide;
    const bool framesGiven = metadata.IsTable() && !metadata.GetByName("numFrames").IsNil();
    const int frames = framesGiven ? MetadataSide(metadata, "numFrames", side) : 1;
    const int width = MetadataSide(metadata, "width", side);
    const int height = MetadataSide(metadata, "height", side);
    const int gapY = MetadataSide(metadata, "gap_y", side);
    if (frames > 0 && width > 0 && height > 0) {
        // The frames the metadata lays out, in rows as wide as the side allows.
        const int columns = std::min(frames, side / width);
        const int rows = (frames + columns - 1) / columns;
        const long long sheetHeight = static_cast<long long>(rows) * (height + gapY);
        // A stand-in is held decoded like the picture: past the budget, the small square.
        if (sheetHeight <= side && columns * width * sheetHeight <= kMaxStandInPixels &&
            MemoryBudget::TryCharge(4 * columns * width * sheetHeight, "a stand-in picture")
                .empty() &&
            MakeStandIn(info, columns * width, static_cast<int>(sheetHeight), metadata))
            return true;
    }
    // Else a small square that carries no metadata at all.
    return MakeStandIn(info, kStandInSize, kStandInSize, LuaPlus::LuaObject());
}

bool SDLImageLoader::MakeStandIn(ResourceInfo& info, int width, int height,
                                 const LuaPlus::LuaObject& metadata)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000,
                                                0x0000FF00, 0x000000FF, 0xFF000000);
    if (!surface)
        return false;
    SDL_FillRect(surface, nullptr, 0);
    try {
        info.SetResource(GetImageFactory()(surface, 0, metadata, info.Name()));
    } catch (const std::exception& error) {
        SDL_FreeSurface(surface);
        if (!ObjectBoundary::IsDataError(error))
            throw;
        return false;
    }
    info.SetType(RESOURCE_IMAGE);
    return true;
}
