#pragma once

namespace meridavolt::testing {

// True in a build under AddressSanitizer or ThreadSanitizer: their allocator
// pads and quarantines every block and their instrumentation slows every
// access, so tests that measure memory or read huge files skip that part.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool sanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool sanitizedBuild = true;
#else
inline constexpr bool sanitizedBuild = false;
#endif
#else
inline constexpr bool sanitizedBuild = false;
#endif

}  // namespace meridavolt::testing
