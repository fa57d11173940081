#include "app/SourceFolders.h"

#include "core/Exception.h"
#include "core/Utility.h"

#include <boost/format.hpp>

namespace {

// Whether root holds the engine's sources (the folder every development scanner needs).
bool HoldsSources(const std::string& root)
{
    return FileExists(root + "MakoEngine/Source", EXISTS_DIRECTORY);
}

} // namespace

std::string SourceFolders::FindRoot()
{
    // Set for this file by the build: the source tree the program was built from.
    return FindRoot(".", MAKO_BUILT_FROM_SOURCE_TREE);
}

std::string SourceFolders::FindRoot(const std::string& programFolder, const std::string& builtFrom)
{
    if (HoldsSources(programFolder + "/../"))
        return programFolder == "." ? "../" : programFolder + "/../";
    const std::string tree =
        builtFrom.empty() || builtFrom.back() == '/' ? builtFrom : builtFrom + "/";
    if (!tree.empty() && HoldsSources(tree))
        return tree;
    MAKO_THROW(Exception,
               boost::str(boost::format("The development resources (--noExeResources) were not "
                                        "found: neither \"%1%/..\" nor \"%2%\" holds "
                                        "MakoEngine/Source. Start the program without "
                                        "--noExeResources to use the resources it carries.") %
                          programFolder % builtFrom));
}
