#include "entries/ResourceWalk.h"

#include "FuzzHost.h"

#include "core/Exception.h"
#include "display/Image.h"
#include "resources/FileReader.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"

#include <algorithm>
#include <memory>

namespace fuzz {

struct ScannedResources::Parts
{
    OwnedState state;
    std::unique_ptr<ResourceManager> manager;
};

ScannedResources::ScannedResources(const std::string& path) : m_Parts(new Parts)
{
    m_Parts->manager = std::make_unique<ResourceManager>(m_Parts->state.Get());
    m_Parts->manager->AddLoader(new SDLImageLoader());
    try {
        m_Parts->manager->AddScanner(new PhysFSResourceScanner(path));
        m_Parts->manager->ScanAll();
        m_Scanned = true;
    } catch (const Exception& e) {
        m_ScanFailure = e.GetMessage();
    }
}

ScannedResources::~ScannedResources()
{
    m_Parts->manager.reset();
    delete m_Parts;
}

std::vector<std::string> ScannedResources::Names() const
{
    std::vector<std::string> names;
    for (LuaPlus::LuaTableIterator it(m_Parts->manager->GetContents()); it; it.Next())
        if (it.GetKey().IsString())
            names.push_back(it.GetKey().GetString());
    std::sort(names.begin(), names.end());
    return names;
}

void ScannedResources::ReadAndLoad(const std::vector<std::string>& names)
{
    ResourceManager& manager = *m_Parts->manager;
    for (const std::string& name : Names()) {
        ResourceInfo* info = manager.FindInfo(name, true);
        if (!info || !info->GetReader())
            continue;
        try {
            const void* bytes = nullptr;
            uint32_t size = 0;
            info->GetReader()->Read(info->Name(), bytes, size);
            if (size > 0 && !bytes)
                Fail("the reader of " + name + " gave no bytes for a size of " +
                     std::to_string(size));
        } catch (const Exception&) {
        }
    }
    for (const std::string& name : names) {
        ResourceInfo* info = manager.FindInfo(name, true);
        if (!info || !manager.FindLoader(*info))
            continue;
        try {
            Resource* resource = manager.Acquire(name);
            if (auto* image = dynamic_cast<Image*>(resource)) {
                const int frames = image->GetNumFrames();
                for (int i = 0; i < frames; ++i) {
                    const SDL_Rect rect = image->GetFrameRect(i);
                    if (rect.x < 0 || rect.y < 0 || rect.x + rect.w > image->GetSize().x ||
                        rect.y >= image->GetSize().y || rect.w <= 0 || rect.h <= 0)
                        Fail("frame " + std::to_string(i) + " of " + name +
                             " lies outside the picture");
                }
            }
        } catch (const Exception&) {
        }
    }
}

} // namespace fuzz
