#pragma once
// Reads the version information of a program file: open it, query texts such as
// "FileVersion" by name, close it. The version block of the file is held in memory from
// Open to Close (or destruction). Main thread only; no global state.
#include <cstdint>
#include <memory>
#include <string>

class CFileVersion
{
public:
    CFileVersion();
    ~CFileVersion();
    CFileVersion(const CFileVersion&) = delete;
    CFileVersion& operator=(const CFileVersion&) = delete;

    // Reads the version block of moduleName and keeps its first translation (language in
    // the high 16 bits, code page in the low 16). False when the file has no version
    // information (errno tells why); nothing is then held. An empty name raises the
    // assertion failure "strlen(lpszModuleName) > 0"; opening while a block is held raises
    // "m_lpVersionData == 0".
    bool Open(const std::string& moduleName);

    // The text of valueName under languageCodePage, or under the kept translation when 0;
    // "" when the block lacks it. Raises "m_lpVersionData != 0" when nothing is open.
    std::string QueryValue(const std::string& valueName, uint32_t languageCodePage = 0) const;

    // Releases the block; the object may be opened again.
    void Close();

    bool IsOpen() const { return m_lpVersionData != nullptr; }
    uint32_t GetLanguageCodePage() const { return m_LanguageCodePage; }

private:
    std::unique_ptr<unsigned char[]> m_lpVersionData;
    uint32_t m_LanguageCodePage;
};
