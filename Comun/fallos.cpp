#include "Comun/fallos.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <execinfo.h>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

namespace comun {

namespace {

// Everything the handler needs is ready before any fault: it may only make
// calls that are safe in a signal handler (write, open, backtrace once
// loaded), so no allocation and no formatting library.
std::array<char, 512> cabecera{};
std::array<char, 4096> rutainforme{};
// Its own stack, so that a stack overflow is reported too.
std::array<char, 64 * 1024> pilaaparte{};

constexpr std::array<int, 5> senales{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

const char* nombresenal(int s) {
    switch (s) {
    case SIGSEGV:
        return "SIGSEGV (acceso a memoria no válida)";
    case SIGBUS:
        return "SIGBUS (error de bus)";
    case SIGFPE:
        return "SIGFPE (error aritmético)";
    case SIGILL:
        return "SIGILL (instrucción no válida)";
    case SIGABRT:
        return "SIGABRT (el programa se abortó)";
    default:
        return "desconocida";
    }
}

void escribir(int fd, const char* t) {
    std::size_t n = std::strlen(t);
    while (n > 0) {
        const ssize_t k = ::write(fd, t, n);
        if (k <= 0)
            return;
        t += k;
        n -= std::size_t(k);
    }
}

void escribirhex(int fd, std::uintptr_t v) {
    std::array<char, 2 + 2 * sizeof v + 1> t{};
    std::size_t i = t.size() - 1;
    do {
        t[--i] = "0123456789abcdef"[v & 0xf];
        v >>= 4;
    } while (v != 0);
    t[--i] = 'x';
    t[--i] = '0';
    escribir(fd, &t[i]);
}

void informe(int fd, int s, const siginfo_t* info, void* const* marcos, int n) {
    escribir(fd, cabecera.data());
    escribir(fd, " se cerró por un fallo: señal ");
    escribir(fd, nombresenal(s));
    // The address only means something for a fault the processor found;
    // a signal another process sent has none.
    if (s != SIGABRT && info->si_code > 0) {
        escribir(fd, " en la dirección ");
        escribirhex(fd, std::uintptr_t(info->si_addr));
    }
    escribir(fd, ".\nLlamadas que llevaron al fallo (programa o biblioteca, función + "
                 "posición):\n");
    backtrace_symbols_fd(marcos, n, fd);
}

void alfallar(int s, siginfo_t* info, void*) {
    void* marcos[64];
    const int n = backtrace(marcos, 64);
    informe(STDERR_FILENO, s, info, marcos, n);
    if (rutainforme[0] != '\0') {
        const int fd = ::open(rutainforme.data(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd >= 0) {
            informe(fd, s, info, marcos, n);
            ::close(fd);
            escribir(STDERR_FILENO, "Este informe quedó en ");
            escribir(STDERR_FILENO, rutainforme.data());
            escribir(STDERR_FILENO, "\n");
        }
    }
    // The handler was reset on entry (SA_RESETHAND): the signal now ends
    // the program as it would have without us.
    ::raise(s);
}

// A copy that always ends in a zero, cut if too long.
template <std::size_t N> void copiar(std::array<char, N>& a, const std::string& t) {
    const std::size_t n = std::min(t.size(), N - 1);
    std::memcpy(a.data(), t.data(), n);
    a[n] = '\0';
}

} // namespace

void informarfallos(const std::string& programa, const std::string& carpeta,
                    const std::string& archivo) {
    if (!informesdefallos)
        return;
    copiar(cabecera, programa + " " TARNHOLLOW_VERSION);
    std::string ruta;
    std::error_code e;
    if (!carpeta.empty() && !archivo.empty() &&
        (std::filesystem::create_directories(carpeta, e) || !e))
        ruta = carpeta + "/" + archivo;
    // A path that does not fit is not cut into another one: no file then.
    copiar(rutainforme, ruta.size() < rutainforme.size() ? ruta : std::string());
    // The first backtrace loads the unwinder, which allocates: not in the
    // handler.
    void* marco[1];
    (void)backtrace(marco, 1);

    stack_t pila{};
    pila.ss_sp = pilaaparte.data();
    pila.ss_size = pilaaparte.size();
    ::sigaltstack(&pila, nullptr);

    struct sigaction sa {};
    sa.sa_sigaction = alfallar;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    for (int s : senales)
        ::sigaction(s, &sa, nullptr);
}

} // namespace comun
