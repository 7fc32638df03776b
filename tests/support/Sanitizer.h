#pragma once

// QUIRTEL_ASAN is 1 in a build under AddressSanitizer, by GCC or by clang
// (which announces it only through __has_feature).
#if defined(__SANITIZE_ADDRESS__)
#define QUIRTEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIRTEL_ASAN 1
#endif
#endif
#ifndef QUIRTEL_ASAN
#define QUIRTEL_ASAN 0
#endif
