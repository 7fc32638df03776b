#pragma once

namespace quirtel {

class RegistryBackend;

// The value that keeps "Revisar antes del resultado" from one run to the
// next: 1 on, 0 off, four bytes like every value of the application key
// Software\Quelvo,S.A.\Tapo.
inline constexpr char REVIEW_BEFORE_RESULT_VALUE[] = "Options\\reviewBeforeResult";

// Whether the fault review comes before the result dialog. Off when the
// value is missing or unreadable; any other value than 0 reads as on.
bool LoadReviewBeforeResult(RegistryBackend& registry);

// Stores the choice and makes it durable. True when it is stored.
bool SaveReviewBeforeResult(RegistryBackend& registry, bool on);

}  // namespace quirtel
