// A program that installs the crash report and then fails as it is told:
// `fallador CARPETA puntero|abortar`; the report is CARPETA/fallo.txt.
#include "Comun/fallos.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Not inlined, so that the report has a frame of its own to show.
[[gnu::noinline]] void escribiren(volatile int* p) {
    *p = 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    comun::informarfallos("fallador", argv[1], "fallo.txt");
    if (!std::strcmp(argv[2], "abortar"))
        std::abort();
    // Null, but from the command line, so the compiler cannot see it and
    // write something else than a plain store to address 0.
    escribiren(reinterpret_cast<volatile int*>(std::uintptr_t(argc - 3)));
    return 0;
}
