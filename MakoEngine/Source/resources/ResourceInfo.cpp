#include "resources/ResourceInfo.h"

#include "resources/FileReader.h"
#include "resources/Resource.h"

ResourceInfo::ResourceInfo(const std::string& name, std::unique_ptr<FileReader> reader)
    : m_Reader(std::move(reader)), m_Name(name)
{
}

ResourceInfo::~ResourceInfo()
{
    m_Resource.reset();
    m_Reader.reset();
    m_Metadata.Reset();
}

void ResourceInfo::SetResource(Resource* resource)
{
    m_Resource.reset(resource);
}
