#include "Juego/nucleo/huella.h"

#include "Juego/nucleo/instantanea.h"

#include <cstddef>
#include <vector>

namespace juego {

namespace {

// FNV-1a: fast, and a chance collision between two copies that differ is
// out of the question for this use.
class fnv {
public:
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        for (std::size_t k = 0; k < n; ++k) {
            h_ ^= b[k];
            h_ *= 1099511628211ull;
        }
    }
    uint64_t valor() const { return h_; }

private:
    uint64_t h_ = 14695981039346656037ull;
};

} // namespace

uint64_t huellapartida(const mundo& m) {
    // Everything a snapshot holds of the match, so the digest can never
    // miss a field the rules play with.
    const std::vector<uint8_t> estado = estadomundo(m);
    fnv h;
    h.bytes(estado.data(), estado.size());
    return h.valor();
}

} // namespace juego
