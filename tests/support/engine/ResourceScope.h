#pragma once
// The scanners of the tests' shared resource manager (TestResources), which every case of a
// program finds as the program's set-up left them, in any order the cases run.
//
// A set-up that runs once per program gives the manager its folders for good with
// AddProgramScanner (the pack, the fonts). A case that wants files of its own to stand in for
// the pack's (a folder of damaged copies) lends them through a ResourceScope:
//
//   bbtest::ResourceScope scope;
//   scope.Add(new WindowsDirectoryResourceScanner(copy));
//   bbtest::TestResources().ScanAll();                      // the copies stand in
//   // at the scope's end its scanners go and the program's folders are scanned again, so
//   // their entries come back under every name the copies replaced
//
// A case that plays the pack without one of its files hides the name (Hide) instead.
//
// After every case of a program that links these fixtures, the manager is checked: a case
// that left it more scanners than the program's fails, naming them, and they are taken away
// as a scope would, so the next case still starts from the program's own.
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ResourceInfo;
class ResourceScanner;

namespace bbtest {

// Adds scanner (taken) to TestResources for the rest of the program; the caller scans.
void AddProgramScanner(ResourceScanner* scanner);

class ResourceScope
{
public:
    ResourceScope();
    ~ResourceScope();
    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

    // Adds scanner (taken) to TestResources while the scope lives; once scanned
    // (TestResources().ScanAll()) its files replace any registered under the same names.
    void Add(ResourceScanner* scanner);
    // Takes the entry of that name out of TestResources while the scope lives: the game
    // meets the name missing exactly as in a pack that lacks the file (no entry, nothing in
    // `Resources._contents`). False when no entry has the name.
    bool Hide(const std::string& name);
    // Takes the scope's scanners away now and scans the program's folders again; the
    // hidden entries come back.
    void Restore();

private:
    std::size_t m_Found;
    std::vector<std::pair<std::string, std::unique_ptr<ResourceInfo>>> m_Hidden;
};

} // namespace bbtest
