#pragma once
// Where the engine's script runner gets the text of a script resource by name.
//
// The resource manager installs the provider when it starts (it finds the resource's
// record and reads the whole script through the record's file reader, releasing the
// reader before it returns). Until a provider is installed, every name is missing.
// Tests install providers of their own.
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
};
