#pragma once

#include <string>

// When a program dies of a fault (a bad pointer, an abort), the trace of
// the calls that led there is the one thing that tells where the fault
// lies, and it is gone with the process. Both programs therefore write it,
// with the program's name and version, to standard error and to a file in
// the user's folder, and then let the signal end the program as it would
// have (a core dump included, where the system keeps them).
namespace comun {

// A build with AddressSanitizer keeps the sanitizer's own, better, report:
// there nothing is installed.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNHOLLOW_CON_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TARNHOLLOW_CON_ASAN 1
#endif
#if defined(TARNHOLLOW_CON_ASAN)
inline constexpr bool informesdefallos = false;
#else
inline constexpr bool informesdefallos = true;
#endif

// Installs the report for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT;
// `programa` is the program's name, the version is added. The report is
// written anew by each fault to the file `archivo` in `carpeta`, made if
// missing (only to standard error if `carpeta` is empty).
void informarfallos(const std::string& programa, const std::string& carpeta = {},
                    const std::string& archivo = {});

} // namespace comun
