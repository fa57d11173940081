#include "core/CFileVersion.h"

#include "core/Exception.h"
#include "win32/VersionInfo.h"

#include <cstdio>
#include <cstring>

CFileVersion::CFileVersion() : m_LanguageCodePage(0) {}

CFileVersion::~CFileVersion() = default;

bool CFileVersion::Open(const std::string& moduleName)
{
    const char* lpszModuleName = moduleName.c_str();
    MAKO_ASSERT(strlen(lpszModuleName) > 0);
    MAKO_ASSERT(m_lpVersionData == 0);
    unsigned handle = 0;
    unsigned size = GetFileVersionInfoSizeA(lpszModuleName, &handle);
    if (size == 0)
        return false;
    m_lpVersionData.reset(new unsigned char[size]);
    void* translation = nullptr;
    unsigned length = 0;
    if (!GetFileVersionInfoA(lpszModuleName, handle, size, m_lpVersionData.get()) ||
        !VerQueryValueA(m_lpVersionData.get(), "\\VarFileInfo\\Translation", &translation,
                        &length) ||
        length < 4) {
        Close();
        return false;
    }
    uint16_t pair[2];
    std::memcpy(pair, translation, sizeof pair);
    m_LanguageCodePage = (static_cast<uint32_t>(pair[0]) << 16) | pair[1];
    return true;
}

std::string CFileVersion::QueryValue(const std::string& valueName, uint32_t languageCodePage) const
{
    MAKO_ASSERT(m_lpVersionData != 0);
    char key[512];
    std::snprintf(
        key, sizeof key, "\\StringFileInfo\\%08lx\\%s",
        static_cast<unsigned long>(languageCodePage ? languageCodePage : m_LanguageCodePage),
        valueName.c_str());
    void* value = nullptr;
    unsigned length = 0;
    if (!VerQueryValueA(m_lpVersionData.get(), key, &value, &length) || !value)
        return std::string();
    return std::string(static_cast<const char*>(value));
}

void CFileVersion::Close()
{
    m_lpVersionData.reset();
    m_LanguageCodePage = 0;
}
