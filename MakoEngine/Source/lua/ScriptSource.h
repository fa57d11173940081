#pragma once
// Where the engine's script runner gets the text of a script resource by name.
//
// The resource manager installs the provider when it starts (it finds the resource's
// record and reads the whole script through the record's file reader, releasing the
// reader before it returns). Until a provider is installed, every name is missing.
// Tests install providers of their own, each with a check.
//
// A script run with the program's full library must be one of the program's own files: the
// resource manager also installs the check that tells them from the files of the asset pack
// (whose level files are data, run only by the data-file runner).
#include <functional>
#include <string>

class ScriptSource
{
public:
    // name -> the script's bytes; throws ResourceNotFoundException for an unknown name.
    using Provider = std::function<std::string(const std::string& name)>;

    // Installs the provider (an empty one uninstalls it); returns the previous one.
    static Provider SetProvider(Provider provider);

    // The bytes of the script resource of that name. Throws ResourceNotFoundException
    // "Could not find resource info with name = <name>" when there is no provider, and
    // whatever the provider throws otherwise.
    static std::string Read(const std::string& name);

    // name -> whether the script of that name is one of the program's own files.
    using OwnCheck = std::function<bool(const std::string& name)>;

    // Installs the check (an empty one uninstalls it); returns the previous one.
    static OwnCheck SetOwnCheck(OwnCheck check);

    // Read for a script the program runs as its own code: throws ScriptError "The script
    // resource "<name>" is not one of the program's own files; it is not run." when the
    // installed check says the name is a file from outside the program, and for every name
    // while no check is installed (whoever installs a provider of the program's own scripts
    // installs the check that says so).
    static std::string ReadOwn(const std::string& name);
};
