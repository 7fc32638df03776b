#include "core/settings/ProfileKeys.h"

#include "core/settings/RegistryBackend.h"

namespace quirtel {

int EnsureProfileKeys(RegistryBackend& registry) {
    const int status = registry.CreateKey("Software\\Quirtel\\Tapo\\Settings");
    return status == REGISTRY_OK ? registry.Flush() : status;
}

}  // namespace quirtel
