#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace juego {

// Which rules a match plays by. The classic rules are the game as it has
// always been, tick for tick; the balanced ones keep its flow and add what
// makes a long match fair (a moment of safety after coming back, one queued
// action, tuned fighter values, computer fighters that differ from match to
// match and a difficulty for the other team).
enum class modoreglas : int16_t { clasicas = 0, equilibradas = 1 };

// How hard the computer's fighters of the other team play; only the
// balanced rules look at it.
enum class dificultad : int16_t { facil = 0, normal = 1, dificil = 2 };

// The balanced rules' values are tuned again now and then. Each tuning is
// an edition, and a match keeps the edition it started with, so a match
// saved or recorded by an earlier version plays on as it did there. New
// matches take the newest.
inline constexpr uint16_t edicionreglas = 4;

struct reglas {
    modoreglas modo = modoreglas::clasicas;
    dificultad nivel = dificultad::normal;
    // Seeds the balanced rules' own random source. The caller chooses it
    // (the window a fresh one per match, the harness a fixed one), and the
    // match keeps it, so a saved match or a replay plays the same again.
    uint32_t semilla = 0;
    uint16_t edicion = edicionreglas;
    bool operator==(const reglas&) const = default;
};

// The words for each rule set and level: what the set-up windows and the
// results screen call them, and the plain key the settings file and the
// harness write, in the enums' order.
struct palabras {
    const char* nombre;
    const char* clave;
};
inline constexpr palabras palabrasmodo[] = {{"Clásicas", "clasicas"},
                                            {"Equilibradas", "equilibradas"}};
inline constexpr palabras palabrasdificultad[] = {
    {"Fácil", "facil"}, {"Normal", "normal"}, {"Difícil", "dificil"}};

inline const palabras& palabrasde(modoreglas m) {
    return palabrasmodo[m == modoreglas::equilibradas ? 1 : 0];
}
inline const palabras& palabrasde(dificultad d) {
    const int i = int(d);
    return palabrasdificultad[i >= 0 && i <= 2 ? i : 1];
}
inline const char* nombremodo(modoreglas m) {
    return palabrasde(m).nombre;
}
inline const char* nombredificultad(dificultad d) {
    return palabrasde(d).nombre;
}
inline const char* clavemodo(modoreglas m) {
    return palabrasde(m).clave;
}
inline const char* clavedificultad(dificultad d) {
    return palabrasde(d).clave;
}
// Back from the key: nothing else reads as rules or a level.
inline std::optional<modoreglas> modode(std::string_view clave) {
    for (modoreglas m : {modoreglas::clasicas, modoreglas::equilibradas})
        if (clave == clavemodo(m))
            return m;
    return std::nullopt;
}
inline std::optional<dificultad> dificultadde(std::string_view clave) {
    for (dificultad d : {dificultad::facil, dificultad::normal, dificultad::dificil})
        if (clave == clavedificultad(d))
            return d;
    return std::nullopt;
}

} // namespace juego
