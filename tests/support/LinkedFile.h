#pragma once
// The ways a file of the user's can be a link: to a file (in a synced folder of the home), a
// chain of links to one, to a file outside the home (another drive), to nothing (a drive not
// mounted) and to a folder. LinkedFile makes one at a path for as long as it lives, and tells
// whether the link is still the link it made and whether what it leads to is unchanged.
#include "support/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace bbtest {

enum LinkKind {
    LINK_TO_FILE,
    LINK_CHAIN,
    LINK_OUTSIDE_HOME,
    LINK_TO_NOTHING,
    LINK_TO_FOLDER,
};

constexpr LinkKind kLinkKinds[] = {LINK_TO_FILE, LINK_CHAIN, LINK_OUTSIDE_HOME, LINK_TO_NOTHING,
                                   LINK_TO_FOLDER};

inline const char* NameOf(LinkKind kind)
{
    switch (kind) {
    case LINK_TO_FILE:
        return "a link to a file";
    case LINK_CHAIN:
        return "a chain of three links";
    case LINK_OUTSIDE_HOME:
        return "a link to a file outside the home";
    case LINK_TO_NOTHING:
        return "a link to nothing";
    case LINK_TO_FOLDER:
        return "a link to a folder";
    }
    return "?";
}

class LinkedFile
{
public:
    // Makes path a link of that kind (its folder is made). Its target lies in the folder
    // synced, or outside for LINK_OUTSIDE_HOME, named after path's file; a file target holds
    // text. LINK_TO_NOTHING leads into a folder "unmounted" beside synced that is not there.
    LinkedFile(const std::string& path, LinkKind kind, const std::string& synced,
               const std::string& outside, const std::string& text)
        : m_Path(path), m_Kind(kind), m_Text(text)
    {
        namespace fs = std::filesystem;
        const std::string name = fs::path(path).filename().string();
        fs::create_directories(fs::path(path).parent_path());
        fs::create_directories(synced);
        switch (kind) {
        case LINK_TO_FILE:
        case LINK_OUTSIDE_HOME:
            m_Target = (kind == LINK_TO_FILE ? synced : outside) + "/" + name;
            WriteFile(m_Target, text);
            Link(m_Target, path);
            break;
        case LINK_CHAIN:
            m_Target = synced + "/" + name;
            WriteFile(m_Target, text);
            Link(name, synced + "/" + name + ".hop2");
            Link(name + ".hop2", synced + "/" + name + ".hop1");
            Link(synced + "/" + name + ".hop1", path);
            break;
        case LINK_TO_NOTHING:
            m_Target = fs::path(synced).parent_path().string() + "/unmounted/" + name;
            Link(m_Target, path);
            break;
        case LINK_TO_FOLDER:
            m_Target = synced + "/" + name + ".d";
            WriteFile(m_Target + "/inside", text);
            Link(m_Target, path);
            break;
        }
    }
    LinkedFile(const LinkedFile&) = delete;
    LinkedFile& operator=(const LinkedFile&) = delete;

    // The file (or folder, or nothing) the links lead to.
    const std::string& Target() const { return m_Target; }
    // Whether the links lead to a file that can be read and saved.
    bool LeadsToAFile() const { return m_Kind != LINK_TO_NOTHING && m_Kind != LINK_TO_FOLDER; }

    // "" when every link made is still the link it was, else what changed.
    std::string LinkChanged() const
    {
        namespace fs = std::filesystem;
        for (const auto& link : m_Links) {
            std::error_code error;
            if (!fs::is_symlink(fs::symlink_status(link.second, error)))
                return link.second + " is no longer a link";
            if (fs::read_symlink(link.second, error).string() != link.first)
                return link.second + " leads elsewhere now";
        }
        return "";
    }
    // "" when what the links lead to is what was made, else what it is now.
    std::string TargetChanged() const
    {
        namespace fs = std::filesystem;
        std::error_code error;
        switch (m_Kind) {
        case LINK_TO_NOTHING:
            return fs::exists(fs::symlink_status(fs::path(m_Target).parent_path(), error))
                       ? "its folder was made"
                       : "";
        case LINK_TO_FOLDER:
            if (!fs::is_directory(fs::symlink_status(m_Target, error)))
                return "no longer a folder";
            return ReadFile(m_Target + "/inside") == m_Text ? "" : "what it holds changed";
        default:
            if (!fs::is_regular_file(fs::symlink_status(m_Target, error)))
                return "no longer a regular file";
            return ReadFile(m_Target) == m_Text ? "" : "its bytes changed";
        }
    }

private:
    std::string m_Path;
    LinkKind m_Kind;
    std::string m_Text;
    std::string m_Target;
    std::vector<std::pair<std::string, std::string>> m_Links; // (what it names, the link)

    void Link(const std::string& to, const std::string& link)
    {
        std::filesystem::create_symlink(to, link);
        m_Links.emplace_back(to, link);
    }
};

} // namespace bbtest
