#pragma once

namespace quirtel {

class RegistryBackend;

// Creates the profile keys Software\Quirtel, Software\Quirtel\Tapo and
// Software\Quirtel\Tapo\Settings where missing, as start-up does; no value is
// ever written there. Returns the result code.
int EnsureProfileKeys(RegistryBackend& registry);

}  // namespace quirtel
