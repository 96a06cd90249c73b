#include "sintesis.h"

#include <algorithm>
#include <cmath>

namespace sonidos {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double fs = frecuencia;

using senal = std::vector<double>;

senal vacia(double segundos) {
    return senal(std::size_t(segundos * fs), 0.0);
}

// Deterministic white noise in [-1, 1].
class ruido {
public:
    explicit ruido(uint32_t semilla) : estado(semilla ? semilla : 1) {}
    double operator()() {
        estado ^= estado << 13;
        estado ^= estado >> 17;
        estado ^= estado << 5;
        return estado / 2147483647.5 - 1.0;
    }

private:
    uint32_t estado;
};

// Band-pass biquad (constant peak gain), retuned per sample when swept.
class pasabanda {
public:
    void afinar(double centro, double q) {
        const double w = 2 * pi * centro / fs;
        const double alfa = std::sin(w) / (2 * q);
        const double a0 = 1 + alfa;
        b0 = alfa / a0;
        b2 = -alfa / a0;
        a1 = -2 * std::cos(w) / a0;
        a2 = (1 - alfa) / a0;
    }
    double operator()(double x) {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// One-pole low-pass.
class pasabajo {
public:
    explicit pasabajo(double corte) : k(1 - std::exp(-2 * pi * corte / fs)) {}
    double operator()(double x) { return y += k * (x - y); }

private:
    double k;
    double y = 0;
};

double caida(double t, double tau) {
    return std::exp(-t / tau);
}

// Bow string: a plucked string (Karplus-Strong) that drops a little in pitch,
// followed by the whoosh of the arrow leaving.
senal arcodisparo() {
    senal s = vacia(0.36);
    ruido r(1234);
    // String.
    const int periodo = int(fs / 196.0);
    std::vector<double> linea(static_cast<std::size_t>(periodo));
    pasabajo suave(3000);
    for (double& v : linea)
        v = suave(r());
    std::size_t pos = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / fs;
        const std::size_t sig = (pos + 1) % linea.size();
        const double v = linea[pos];
        linea[pos] = 0.992 * 0.5 * (linea[pos] + linea[sig]);
        pos = sig;
        s[i] += 0.9 * v * caida(t, 0.09);
    }
    // Low body of the bow limbs.
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / fs;
        s[i] += 0.35 * std::sin(2 * pi * (110 * t - 60 * t * t)) * caida(t, 0.05);
    }
    // Whoosh: noise through a band that sweeps down while it swells and fades.
    pasabanda banda;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / fs;
        banda.afinar(2600 - 4000 * t, 2.0);
        const double env = std::sin(pi * std::min(1.0, std::max(0.0, (t - 0.02) / 0.32)));
        s[i] += 0.9 * banda(r()) * env * env;
    }
    return s;
}

// Arrow striking: a short woody knock over a dull low thud.
senal arcoimpacto() {
    senal s = vacia(0.26);
    ruido r(4321);
    pasabajo apagado(900);
    pasabanda madera;
    madera.afinar(620, 6);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / fs;
        const double golpe = std::sin(2 * pi * (95 * t - 70 * t * t)) * caida(t, 0.06);
        const double chasquido = apagado(r()) * caida(t, 0.012) * 3.0;
        const double toc = madera(r()) * caida(t, 0.03) * 3.5;
        s[i] = golpe + chasquido + toc;
    }
    return s;
}

// Sword clang: inharmonic partials of a struck blade with different decays,
// over a bright noise burst for the impact.
senal espadazo() {
    senal s = vacia(0.45);
    ruido r(999);
    pasabanda brillo;
    brillo.afinar(4200, 1.5);
    struct parcial {
        double f, a, tau;
    };
    const parcial parciales[] = {{587, 0.50, 0.20},  {1213, 0.45, 0.16}, {1787, 0.35, 0.12},
                                 {2459, 0.30, 0.09}, {3301, 0.22, 0.07}, {4517, 0.15, 0.05}};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / fs;
        double v = 0;
        for (const parcial& p : parciales) {
            // A slight beating between two close copies makes it ring like metal.
            v += p.a * caida(t, p.tau) *
                 (std::sin(2 * pi * p.f * t) + 0.6 * std::sin(2 * pi * (p.f * 1.004) * t + 1.0));
        }
        v += brillo(r()) * caida(t, 0.015) * 2.5;
        s[i] = v;
    }
    return s;
}

// Falling fighter: a short groan that sinks in pitch, then the body's thump.
senal muerte() {
    senal s = vacia(0.48);
    ruido r(2718);
    pasabanda formante1, formante2;
    formante1.afinar(650, 4);
    formante2.afinar(1100, 5);
    double fase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / fs;
        // Groan: a buzzy voice through two vowel-like formants.
        if (t < 0.32) {
            const double tono = 170 - 190 * t;
            fase += tono / fs;
            const double diente = 2 * (fase - std::floor(fase)) - 1;
            const double env = std::min(1.0, t / 0.03) * std::pow(1 - t / 0.32, 1.5);
            const double voz = diente + 0.08 * r();
            s[i] += (formante1(voz) * 3.2 + formante2(voz) * 1.8) * env;
        }
        // Thump of the fall.
        if (t > 0.26) {
            const double u = t - 0.26;
            s[i] += 0.9 * std::sin(2 * pi * (75 * u - 55 * u * u)) * caida(u, 0.07);
            s[i] += 0.25 * r() * caida(u, 0.01);
        }
    }
    return s;
}

// Peak at -1.5 dBFS, 3 ms fade in, 25 ms fade out, no DC offset.
std::vector<int16_t> terminar(senal s) {
    double media = 0;
    for (double v : s)
        media += v;
    media /= double(s.size());
    for (double& v : s)
        v -= media;
    const std::size_t entrada = std::size_t(0.003 * fs);
    const std::size_t salida = std::size_t(0.025 * fs);
    for (std::size_t i = 0; i < entrada && i < s.size(); ++i)
        s[i] *= double(i) / entrada;
    for (std::size_t i = 0; i < salida && i < s.size(); ++i)
        s[s.size() - 1 - i] *= double(i) / salida;
    double pico = 0;
    for (double v : s)
        pico = std::max(pico, std::abs(v));
    const double objetivo = std::pow(10.0, -1.5 / 20) * 32767;
    const double g = pico > 0 ? objetivo / pico : 0;
    std::vector<int16_t> m(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        m[i] = int16_t(std::lround(std::clamp(s[i] * g, -32767.0, 32767.0)));
    return m;
}

// The end of a match: three rising notes of a brass-like tone (odd and even
// harmonics, a soft attack), the last held longer.
senal fanfarria() {
    const double notas[3] = {392.0, 523.25, 659.25}; // G4, C5, E5
    const double largos[3] = {0.11, 0.11, 0.26};
    senal s;
    for (int n = 0; n < 3; ++n) {
        const std::size_t muestras = std::size_t(largos[n] * fs);
        for (std::size_t i = 0; i < muestras; ++i) {
            const double t = double(i) / fs;
            const double ataque = std::min(1.0, t / 0.02);
            const double caida = std::exp(-t * (n == 2 ? 2.5 : 6.0));
            double v = 0;
            for (int h = 1; h <= 6; ++h)
                v += std::sin(2 * pi * notas[n] * h * t) / (h * h * 0.6 + 0.4);
            s.push_back(v * ataque * caida);
        }
    }
    return s;
}

void poner16(std::string& b, uint16_t v) {
    b += char(v & 0xFF);
    b += char(v >> 8);
}

void poner32(std::string& b, uint32_t v) {
    poner16(b, uint16_t(v & 0xFFFF));
    poner16(b, uint16_t(v >> 16));
}

} // namespace

std::vector<sonido> sintetizar() {
    return {{"Bowfire.wav", terminar(arcodisparo())},
            {"Bowhit.wav", terminar(arcoimpacto())},
            {"hit0.wav", terminar(espadazo())},
            {"dead.wav", terminar(muerte())},
            {"fin.wav", terminar(fanfarria())}};
}

std::string wav(const std::vector<int16_t>& muestras, int porsegundo) {
    const uint32_t datos = uint32_t(muestras.size() * 2);
    std::string b;
    b.reserve(44 + datos);
    b += "RIFF";
    poner32(b, 36 + datos);
    b += "WAVE";
    b += "fmt ";
    poner32(b, 16);
    poner16(b, 1); // PCM
    poner16(b, 1); // mono
    poner32(b, uint32_t(porsegundo));
    poner32(b, uint32_t(porsegundo) * 2);
    poner16(b, 2);
    poner16(b, 16);
    b += "data";
    poner32(b, datos);
    for (int16_t m : muestras)
        poner16(b, uint16_t(m));
    return b;
}

} // namespace sonidos
