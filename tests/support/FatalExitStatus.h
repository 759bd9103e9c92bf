#pragma once
// The exit status of a process ended by RaiseFatalError (status -1), as a death test sees it: the
// low byte on POSIX, the whole 32-bit code on Windows.

namespace qivara::testing_support {

#ifdef _WIN32
inline constexpr int kFatalExitStatus = -1;
#else
inline constexpr int kFatalExitStatus = 255;
#endif

}  // namespace qivara::testing_support
