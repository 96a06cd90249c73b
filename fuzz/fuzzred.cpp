// libFuzzer entry for the network message reader. The first input byte
// picks which side's stream the rest is (host or client); the stream is cut
// into messages and each is decoded. Whatever decodes must encode back to
// the very same message, so nothing the reader accepts is half understood.
#include "Juego/red/mensajes.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace juego::red;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t n) {
    if (n == 0)
        return 0;
    desenmarcador d((datos[0] & 1) != 0);
    // Fed in uneven pieces, as a socket would hand them over.
    std::size_t k = 1;
    std::size_t trozo = 1;
    while (k < n) {
        const std::size_t m = std::min(trozo, n - k);
        if (!d.meter(datos + k, m))
            return 0;
        k += m;
        trozo = trozo * 3 + 1;
        std::vector<uint8_t> cuerpo;
        while (d.sacar(cuerpo)) {
            if (cuerpo.size() > maximocuerpo(cuerpo.empty() ? 0 : cuerpo[0])) {
                std::fputs("fuzzred: a body longer than its kind allows got through\n", stderr);
                std::abort();
            }
            mensaje msg;
            if (!decodificar(cuerpo.data(), cuerpo.size(), msg).empty())
                continue;
            const std::vector<uint8_t> otra = codificar(msg);
            mensaje vuelta;
            if (!decodificar(otra.data() + 4, otra.size() - 4, vuelta).empty() ||
                !(vuelta == msg)) {
                std::fputs("fuzzred: a decoded message does not survive encoding\n", stderr);
                std::abort();
            }
        }
    }
    return 0;
}
