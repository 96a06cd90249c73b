#!/usr/bin/env python3
"""Writes the long seeded scenarios that pin the game's behaviour down.

Each scenario is a command file for tarnhollow-sim: a match (sometimes two in
a row) with the player's keys, strokes, shots and pauses drawn from a seeded
generator. Their answers, recorded once from a known-good build, are kept
beside them; the fidelity test replays the commands and wants the very same
answers. Run `escenarios.py DATOS SIM` to write the files again.
"""
import os
import random
import subprocess
import sys

FLECHAS = ["izquierda", "derecha", "arriba", "abajo"]

# map, fighters per team, type, ticks, second map (or None)
ESCENARIOS = [
    ("pradera", 8, "Guerrero", 4000, None),
    ("bosque", 8, "Arquero", 4000, None),
    ("fortaleza", 6, "Guerrero", 3000, "islas"),
    ("islas", 8, "Arquero", 3000, "rio"),
    ("rio", 3, "Arquero", 3000, None),
]


def escenario(semilla, mapa, maxp, tipo, ticks, otro):
    r = random.Random(semilla)
    lineas = []

    def partida(nombre, n, t, total):
        lineas.append(f"cargar $MAPAS/{nombre}.mapa {n} {t}")
        # The player walks off in the first tick, so the view follows them
        # from then on whatever the view was before.
        lineas.append("teclas arriba izquierda")
        lineas.append("tick 1")
        hecho = 1
        pausado = False
        while hecho < total:
            suerte = r.random()
            if suerte < 0.35:
                lineas.append("teclas " + " ".join(r.sample(FLECHAS, r.choice([0, 1, 1, 2]))))
            elif suerte < 0.5:
                lineas.append("tecla 32")
            elif suerte < 0.62:
                lineas.append(f"click {r.randrange(800)} {r.randrange(600)}")
            elif suerte < 0.64:
                lineas.append("tecla 80")
                pausado = not pausado
            pasos = r.randrange(1, 12)
            lineas.append(f"tick {pasos}")
            if not pausado:
                hecho += pasos
            if r.random() < 0.008:
                lineas.append("estado")
                lineas.append("flechas")
                lineas.append("sonidos")
        if pausado:
            lineas.append("tecla 80")
        lineas.append("estado")
        lineas.append("flechas")
        lineas.append("sonidos")

    partida(mapa, maxp, tipo, ticks)
    if otro:
        partida(otro, max(1, maxp - 2), "Guerrero" if tipo == "Arquero" else "Arquero", ticks // 2)
    return "\n".join(lineas) + "\n"


def main():
    datos, sim = sys.argv[1], sys.argv[2]
    mapas = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "mapas")
    for n, (mapa, maxp, tipo, ticks, otro) in enumerate(ESCENARIOS):
        texto = escenario(1000 + n, mapa, maxp, tipo, ticks, otro)
        base = os.path.join(datos, f"{n + 1:02d}-{mapa}")
        with open(base + ".sim", "w") as f:
            f.write(texto)
        entrada = texto.replace("$MAPAS", os.path.abspath(mapas))
        salida = subprocess.run([sim], input=entrada.encode(), capture_output=True, check=True)
        with open(base + ".salida", "wb") as f:
            f.write(salida.stdout)


if __name__ == "__main__":
    main()
