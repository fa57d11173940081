// Metadata files that fail, in every pack format the game reads (one of the program's own
// folders, a folder pack through PhysFS, a packed .fun): every way of failing a generator
// knows (every cut of a good file, errors at run time, runaway work, names the folder lacks,
// entries named or made of the wrong type, huge and deep tables) ends in the same place. The scan
// goes on; a file that cannot be run leaves its folder's pictures without metadata, an
// entry that is wrong leaves only itself out; the file is named in exactly one line; every
// picture of the folder still decodes; the next folder's metadata applies.
#include "ResourceTestSupport.h"

#include "core/DataReport.h"
#include "resources/ImageFactory.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/SDLImageLoader.h"
#include "resources/SurfaceResource.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "resources/WindowsMappedFileReader.h"
#include "support/HostileScripts.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
using LuaPlus::LuaObject;

namespace {

// What becomes of the folder's two pictures, a.png and b.png.
enum class Outcome {
    FileOut,  // neither has metadata
    EntryOut, // a.png has its entry (numFrames = 2), b.png none
};

struct Fault
{
    std::string name;
    std::string text; // the folder's metadata.cfg
    Outcome outcome;
};

// The good entry every entry fault keeps beside it.
const char kGood[] = "['a.png'] = { numFrames = 2 }";

// Every way of failing the generator knows.
std::vector<Fault> Faults()
{
    std::vector<Fault> faults;
    // Every cut of a good file is a syntax error (only the whole file closes its braces).
    const std::string whole =
        std::string("Metadata { ") + kGood + ", ['b.png'] = { numFrames = 4 } }\n";
    for (std::size_t cut = 1; cut + 1 < whole.size(); cut += 3)
        faults.push_back({"cut at " + std::to_string(cut), whole.substr(0, cut), Outcome::FileOut});
    const std::vector<std::pair<std::string, std::string>> fileFaults = {
        {"error raised", "error('broken on purpose')"},
        {"error after the entries", std::string("Metadata { ") + kGood + " } local x = nil + 1"},
        {"loader given a number", "Metadata(5)"},
        {"loader given nothing", "Metadata()"},
        {"a global it does not have", "print('x')"},
        {"endless loop", "while true do end"},
        {"endless recursion", "local function f() return f() + 1 end f()"},
        {"memory without end", bbtest::kGrowsWithoutEnd},
        {"a function left in an entry",
         "Metadata { ['a.png'] = { numFrames = 2, onLoad = function() end } }"},
        {"a function as an entry", "Metadata { ['a.png'] = print or function() end }"},
    };
    for (const auto& [name, text] : fileFaults)
        faults.push_back({name, text, Outcome::FileOut});
    // Entries that cannot be applied, each beside the good one, before and after it.
    const std::vector<std::pair<std::string, std::string>> entryFaults = {
        {"a name the folder lacks", "['Bling.Coin.png'] = { numFrames = 3 }"},
        {"a name of another folder", "['c.png'] = { numFrames = 3 }"},
        {"an empty name", "[''] = {}"},
        {"a number key", "[1] = { numFrames = 3 }"},
        {"a fraction key", "[1.5] = {}"},
        {"a boolean key", "[true] = {}"},
        {"a table key", "[{}] = {}"},
        {"a number value", "['b.png'] = 3"},
        {"a string value", "['b.png'] = 'four frames'"},
        {"a boolean value", "['b.png'] = true"},
    };
    for (const auto& [name, entry] : entryFaults) {
        faults.push_back(
            {name + ", first", "Metadata { " + entry + ", " + kGood + " }", Outcome::EntryOut});
        faults.push_back({name + ", last",
                          std::string("Metadata { ") + kGood + " }\nMetadata { " + entry + " }",
                          Outcome::EntryOut});
    }
    // Huge and deep: many names the folder lacks, one line for all of them; a value nested
    // far deeper than any picture's.
    faults.push_back({"100000 names the folder lacks",
                      "local t = {} for i = 1, 100000 do t['gone' .. i .. '.png'] = {} end\n"
                      "t['a.png'] = { numFrames = 2 } Metadata(t)",
                      Outcome::EntryOut});
    faults.push_back({"a function nested 100000 deep",
                      "local t = { function() end } for i = 1, 100000 do t = { t } end\n"
                      "Metadata { ['a.png'] = { numFrames = 2, deep = t } }",
                      Outcome::FileOut});
    return faults;
}

enum class Format {
    ProgramFolder, // one of the program's own folders (WindowsDirectoryResourceScanner)
    FolderPack,    // the pack as a folder (--nopkg)
    PackedFun,     // the pack as a package file
};

const char* FormatName(Format format)
{
    switch (format) {
    case Format::ProgramFolder:
        return "program folder";
    case Format::FolderPack:
        return "folder pack";
    case Format::PackedFun:
        return "packed .fun";
    }
    return "?";
}

class MetadataFaultSweepTest : public ResourceFixture
{
protected:
    MetadataFaultSweepTest() : m_PreviousFactory(SetImageFactory(&SurfaceResource::Create)) {}
    ~MetadataFaultSweepTest() override { SetImageFactory(m_PreviousFactory); }

    // Scans a pack holding Images/{a,b}.png with the fault as their metadata and Other/c.png
    // with good metadata, in the format; "" when everything promised holds, else what did not.
    std::string Sweep(const Fault& fault, Format format, int index)
    {
        const std::string root = Dir("pack" + std::to_string(index) + "/");
        WriteFile(root + "Images/a.png", OpaquePng());
        WriteFile(root + "Images/b.png", AlphaPng());
        WriteFile(root + "Images/metadata.cfg", fault.text);
        WriteFile(root + "Other/c.png", OpaquePng());
        WriteFile(root + "Other/metadata.cfg", "Metadata { ['c.png'] = { numFrames = 3 } }\n");

        // The name the scanner gives the file.
        std::string file = "Images/metadata.cfg";
        if (format == Format::ProgramFolder)
            file = root + file;
        int naming = 0;
        std::vector<std::string> said;
        DataReport::Listener previous = DataReport::SetListener([&](const DataIssue& issue) {
            said.push_back(issue.ToString());
            if (issue.ToString().find("\"" + file + "\"") != std::string::npos)
                ++naming;
        });
        ResourceInfoMap output = MakeResourceInfoMap();
        // A package's files are read through the scanner's mount: it lives until they are.
        std::unique_ptr<PhysFSResourceScanner> mount;
        std::string error;
        try {
            if (format == Format::ProgramFolder) {
                WindowsDirectoryResourceScanner(root).Scan(output);
            } else {
                std::string mounted = root;
                if (format == Format::PackedFun) {
                    mounted = Dir("pack" + std::to_string(index) + ".fun");
                    ZipFolder(root, mounted);
                }
                mount = std::make_unique<PhysFSResourceScanner>(mounted);
                mount->Scan(output);
            }
        } catch (const std::exception& e) {
            error = "the scan ended: " + std::string(e.what());
        }
        DataReport::SetListener(std::move(previous));
        if (!error.empty())
            return error;

        std::string wrong;
        auto expect = [&](bool holds, const std::string& what) {
            if (!holds)
                wrong += what + "; ";
        };
        auto frames = [&](const char* name) {
            auto found = output.find(name);
            if (found == output.end())
                return -2;
            const LuaObject& metadata = found->second->GetMetadata();
            if (!metadata.IsTable())
                return -1;
            const LuaObject count = metadata.GetByName("numFrames");
            return count.IsNumber() ? count.GetInteger() : -3;
        };
        expect(naming == 1, "the file was named " + std::to_string(naming) + " times");
        expect(said.size() == 1, std::to_string(said.size()) + " lines were said");
        expect(frames("a.png") == (fault.outcome == Outcome::EntryOut ? 2 : -1),
               "a.png has numFrames " + std::to_string(frames("a.png")));
        expect(frames("b.png") == -1, "b.png has numFrames " + std::to_string(frames("b.png")));
        expect(frames("c.png") == 3,
               "the next folder's c.png has numFrames " + std::to_string(frames("c.png")));
        expect(State()->GetGlobal("Pending_Metadata").IsNil(), "a pending table was left");
        // Every picture of the folder decodes, with its metadata or without.
        for (const char* name : {"a.png", "b.png"}) {
            if (output.find(name) == output.end())
                continue;
            ResourceInfo& info = *output.at(name);
            try {
                SDLImageLoader().LoadResource(info.GetReader(), info);
            } catch (const std::exception& e) {
                expect(false, std::string(name) + " did not decode: " + e.what());
            }
        }
        if (!wrong.empty())
            for (const std::string& line : said)
                wrong += "\n  said: " + line;
        output.clear();
        return wrong;
    }

private:
    ImageFactory m_PreviousFactory;
};

} // namespace

TEST_F(MetadataFaultSweepTest, EveryFailingFileIsNamedOnceAndItsFolderReadsWithoutIt)
{
    LogCapture log(Dir("log.txt"));
    int index = 0;
    int cases = 0;
    for (const Fault& fault : Faults())
        for (Format format : {Format::ProgramFolder, Format::FolderPack, Format::PackedFun}) {
            EXPECT_EQ("", Sweep(fault, format, index++))
                << fault.name << " in a " << FormatName(format) << ":\n"
                << fault.text;
            ++cases;
        }
    std::cout << "[ figures  ] " << cases << " failing metadata files scanned\n";
}

TEST_F(MetadataFaultSweepTest, TheLineSaysWhatWasWrongAndWhatWasLeftOut)
{
    // The words an author reads, for each kind: the file, the fault, what became of it.
    LogCapture log(Dir("log.txt"));
    const std::string folder = Dir("words/");
    WriteFile(folder + "a.png", OpaquePng());
    auto lineFor = [&](const std::string& text) {
        WriteFile(folder + "metadata.cfg", text);
        std::string line;
        DataReport::Listener previous =
            DataReport::SetListener([&](const DataIssue& issue) { line += issue.ToString(); });
        ResourceInfoMap output = MakeResourceInfoMap();
        WindowsDirectoryResourceScanner(folder).Scan(output);
        DataReport::SetListener(std::move(previous));
        return line;
    };
    const std::string file = "The metadata file \"" + folder + "metadata.cfg\" ";
    EXPECT_EQ(file + "names \"Nope.png\", which is no file of its folder; the entry is left out",
              lineFor("Metadata { ['Nope.png'] = {}, ['a.png'] = {} }"));
    // Of several faults the first by its key's text is said, however the file lists them.
    EXPECT_EQ(file + "names \"bb.png\", which is no file of its folder; it and 2 more faulty "
                     "entries are left out",
              lineFor("Metadata { ['zz.png'] = 3, ['mm.png'] = {}, ['a.png'] = {}, "
                      "['bb.png'] = {} }"));
    EXPECT_EQ(file + "gives \"a.png\" a number, not a table; the entry is left out",
              lineFor("Metadata { ['a.png'] = 3 }"));
    EXPECT_EQ(file + "names an entry by 1; entries are named by the file names of pictures "
                     "and sounds; the entry is left out",
              lineFor("Metadata { [1] = {} }"));
    EXPECT_EQ(0u, lineFor("Metadata {").find(file + "could not be run: "));
    EXPECT_NE(std::string::npos,
              lineFor("Metadata {").find("; its pictures and sounds are read without it"));
    EXPECT_NE(std::string::npos, lineFor("while true do end")
                                     .find("could not be run: the file did not finish within "
                                           "10000000 instructions"));

    // A file that cannot be read at all is the pack's too.
    ResourceInfo gone(Dir("gone/metadata.cfg"), std::make_unique<WindowsMappedFileReader>());
    std::string line;
    DataReport::Listener previous =
        DataReport::SetListener([&](const DataIssue& issue) { line += issue.ToString(); });
    ResourceInfoMap output = MakeResourceInfoMap();
    ResourceScanner::ProcessMetadataFile(gone, output);
    DataReport::SetListener(std::move(previous));
    EXPECT_EQ(0u, line.find("Could not open file: \"" + Dir("gone/metadata.cfg"))) << line;
    EXPECT_NE(std::string::npos, line.find("; its pictures and sounds are read without it"));
    EXPECT_TRUE(State()->GetGlobal("Pending_Metadata").IsNil());
}
