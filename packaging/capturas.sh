#!/usr/bin/env bash
# Takes the software centre's screenshots with the programs themselves: a
# match of four against four on a sample map, and the editor with that map
# open. Fails when a picture comes out blank, so it also checks that the
# programs found their maps, and when the game did not load its sound module.
#
#   capturas.sh JUEGO EDITOR CARPETA_MAPAS DESTINO [MAPA]
#
# e.g. capturas.sh build/bin/Tarnhollow build/bin/editor build/bin/mapas packaging/capturas
# Without a display it runs itself under xvfb-run.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
juego=$1
editor=$2
mapas=$3
destino=$4
mapa=${5:-pradera}
mkdir -p "$destino"
tmp=$(mktemp -d)
pids=()
limpiar() {
    for p in "${pids[@]}"; do
        kill "$p" 2> /dev/null || true
    done
    # The game keeps the running match among its replays when it is told to
    # end, in the user folder below $tmp: the folder goes once it is done
    # (ten seconds at most).
    for p in "${pids[@]}"; do
        for _ in $(seq 50); do
            kill -0 "$p" 2> /dev/null || break
            sleep 0.2
        done
        kill -KILL "$p" 2> /dev/null || true
    done
    rm -rf "$tmp"
}
trap limpiar EXIT
fallo() {
    echo "FALLO: $*" >&2
    tail -n 20 "$tmp"/*.log >&2 2> /dev/null || true
    exit 1
}
export QT_QPA_PLATFORM=xcb
# Settings and user folders of their own: nothing remembered from an earlier
# run (a window size, a map) moves what the clicks below aim at.
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/datos
clic() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.3; }
ventana() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) ||
        fallo "no apareció la ventana '$1'"
    sleep 0.5
    echo "$id"
}
# The row of the map in a list sorted as QDir::Name sorts (C collation).
fila=$(cd "$mapas" && LC_ALL=C ls -1 -- *.mapa | grep -nx -- "$mapa.mapa" | cut -d: -f1)
[ -n "$fila" ] || fallo "$mapa.mapa no está en $mapas"
elegir() { # selects row $fila of a list whose first row is at ($1, $2)
    clic "$1" "$2"
    xdotool key Home
    for _ in $(seq 2 "$fila"); do
        xdotool key Down
    done
}
# A picture of a drawn map has many colours; a blank one has a few.
nocolores() { convert "$1" -format %k info:-; }

# The game: Archivo -> Un Jugador, the map, four fighters, Empezar.
"$juego" > "$tmp/juego.log" 2>&1 &
pids+=($!)
juegoid=$(ventana '^Tarnhollow$')
clic 20 10
xdotool key Down Return
menu=$(ventana '^Men')
eval "$(xdotool getwindowgeometry --shell "$menu")"
elegir $((X + 30)) $((Y + 32))
clic $((X + 52)) $((Y + 266)) # the fighters box
xdotool key ctrl+a type 4
clic $((X + 56)) $((Y + 348)) # Empezar
xdotool windowfocus "$juegoid" 2> /dev/null || true
# The fighters move toward each other for a few seconds.
xdotool mousemove --sync 400 300 keydown Up
sleep 2
xdotool keyup Up
sleep 2
import -window "$juegoid" "$destino/juego.png"
[ "$(nocolores "$destino/juego.png")" -ge 16 ] || fallo "la partida salió en blanco"
# The match started with sound on, so the game loaded its sound module (with
# no audio device it is loaded all the same, says so once and plays nothing;
# only a module that could not be loaded names the module).
! grep -q "módulo de sonido" "$tmp/juego.log" || fallo "el juego no cargó su módulo de sonido"

# The editor with the same map open.
"$editor" > "$tmp/editor.log" 2>&1 &
pids+=($!)
editorid=$(ventana '^Tarnhollow Editor')
eval "$(xdotool getwindowgeometry --shell "$editorid")"
# Below the menu bar: the list's first row, then Abrir.
elegir $((X + 540)) $((Y + 99))
clic $((X + 584)) $((Y + 243)) # Abrir
sleep 0.5
import -window "$editorid" "$destino/editor.png"
[ "$(nocolores "$destino/editor.png")" -ge 16 ] || fallo "el mapa abierto salió en blanco"
echo "capturas en $destino: juego.png editor.png"
