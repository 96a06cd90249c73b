#pragma once

#include <string>

// When a program dies of a fault (a bad pointer, an abort), the trace of
// the calls that led there is the one thing that tells where the fault
// lies, and it is gone with the process. Both programs therefore write it,
// with the program's name and version, to standard error and to a file in
// the user's folder, and then let the signal end the program as it would
// have (a core dump included, where the system keeps them).
namespace comun {

// Installs the report for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT;
// `programa` is the program's name, the version is added. `ruta` is the
// file to write (nothing but standard error if empty); it is
// written anew by each fault. A build with AddressSanitizer keeps the
// sanitizer's own, better, report instead.
void informarfallos(const std::string& programa, const std::string& ruta);

} // namespace comun
