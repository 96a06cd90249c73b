#!/usr/bin/env bash
# SIGTERM and SIGINT end the game as closing its window does: the match
# being played is archived among the replays.
set -euo pipefail
build=$1
for senal in TERM INT; do
    casa=$(mktemp -d)
    trap 'rm -rf "$casa"' EXIT
    XDG_DATA_HOME=$casa/datos XDG_CONFIG_HOME=$casa/ajustes HOME=$casa \
        QT_QPA_PLATFORM=offscreen "$build/bin/Tarnhollow" --mapa "$build/bin/mapas/pradera.mapa" \
        > "$casa/salida" 2>&1 &
    pid=$!
    sleep 3
    kill -"$senal" "$pid"
    # Bounded: a game that does not end within ten seconds fails the test.
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        echo "SIG$senal no cerró el juego" >&2
        exit 1
    fi
    wait "$pid" || true
    n=$(find "$casa/datos" -name 'partida-*.repeticion' | wc -l)
    if [ "$n" -ne 1 ]; then
        echo "SIG$senal: $n repeticiones archivadas, se esperaba 1" >&2
        cat "$casa/salida" >&2
        exit 1
    fi
    rm -rf "$casa"
done
echo ok
