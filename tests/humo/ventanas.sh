#!/usr/bin/env bash
# Plays both programs in a real X window (run under xvfb-run, no window
# manager: every top-level window sits at the screen's top-left corner).
#
# In the editor: a new 50 x 50 map, filled with wood, a short wall painted,
# both starts placed, a name typed and saved, all with real mouse and key
# events. In the game: "Archivo" -> "Un Jugador", that map picked,
# "Empezar", the right arrow held for a second. Between the two, the editor
# is asked to save over another map and Enter answers its question, which
# must keep that map as it was. Fails when a program dies,
# when the editor saves nothing (or not what was painted), and when the play
# field in a screenshot is blank or is not the saved map.
#
#   ventanas.sh BUILD_DIR
set -euo pipefail
build=$1
bin=$build/bin
mapas=$bin/mapas
tmp=$(mktemp -d)
nombre=0humo$$
mapa=$mapas/$nombre.mapa
otro=$mapas/${nombre}otro.mapa
# The user's own maps folder, empty, so that only the program's maps list;
# and settings of their own, so that no window size or choice remembered
# from an earlier run moves what the clicks below aim at.
export XDG_DATA_HOME=$tmp/datos
export XDG_CONFIG_HOME=$tmp/config

pids=()
limpiar() {
    for p in "${pids[@]}"; do
        kill "$p" 2> /dev/null || true
    done
    # The game archives its match as it goes: into $tmp, so it has to be
    # gone before $tmp is.
    for p in "${pids[@]}"; do
        wait "$p" 2> /dev/null || true
    done
    rm -f "$mapa" "$otro"
    rm -rf "$tmp"
}
trap limpiar EXIT

fallo() {
    echo "FALLO: $*" >&2
    for f in "$tmp"/*.log; do
        [ -s "$f" ] && { echo "--- $f" >&2; tail -n 30 "$f" >&2; }
    done
    exit 1
}

export QT_QPA_PLATFORM=xcb
[ -n "${DISPLAY:-}" ] || fallo "no hay DISPLAY: se corre con xvfb-run"

clic() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.3; }
# The editor's controls lie below its menu bar, this many pixels high.
barra=19
clice() { clic "$1" $(($2 + barra)); }
ventana() { # waits for a window whose title matches $1 and prints its id
    local id
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) ||
        fallo "no apareció la ventana '$1'"
    sleep 0.5
    echo "$id"
}
vivo() { kill -0 "$1" 2> /dev/null || fallo "$2 terminó antes de tiempo"; }

# ---------------------------------------------------------------- editor
"$bin/editor" > "$tmp/editor.log" 2>&1 &
editor=$!
pids+=("$editor")
ventana '^Tarnhollow Editor' > /dev/null

clice 584 248                    # "Mapa nuevo": the panel opens
clice 712 176                    # "Crear", 50 x 50 of grass, fitted: 10 pixels a cell
clice 619 307                    # wood in the palette
xdotool mousemove --sync 250 $((250 + barra)) keydown shift click 1 keyup shift # fill it all
sleep 0.3
clice 587 339                    # wall
for px in 105 115 125 135 145; do # cells (10..14, 2), a click each: a
    clice $px 25                    # drag would lose cells when X merges motion
done
clice 571 411                    # team 0's start ...
clice 55 55                      # ... on cell (5, 5)
clice 603 411                    # team 1's start ...
clice 205 205                    # ... on cell (20, 20)
clice 584 33                     # the name box
xdotool type --delay 50 "$nombre"
clice 584 56                     # "Guardar"

for _ in $(seq 50); do
    [ -s "$mapa" ] && break
    sleep 0.2
done
vivo "$editor" "el editor"
[ -s "$mapa" ] || fallo "el editor no guardó $mapa"

# Saving under another map's name asks first; Enter must mean "No".
printf '49,49/fn%s/fn9,9,30,30/fn' "$(printf '5,%.0s' $(seq 2500))" > "$otro"
cp "$otro" "$tmp/otro.antes"
clice 584 33
xdotool key ctrl+a
xdotool type --delay 50 "${nombre}otro"
clice 584 56                     # "Guardar"
timeout 10 xdotool search --sync --onlyvisible --name '^Guardar$' > /dev/null ||
    fallo "guardar encima de otro mapa no preguntó"
sleep 0.5
xdotool key Return
sleep 0.5
vivo "$editor" "el editor"
cmp -s "$otro" "$tmp/otro.antes" || fallo "Intro en la pregunta reemplazó $otro"
rm -f "$otro"
kill "$editor"
wait "$editor" 2> /dev/null || true

# The file holds what was painted: 2500 cells, 5 of them wall, the rest wood.
texto=$(cat "$mapa")
[ "${texto%%/fn*}" = "49,49" ] || fallo "cabecera inesperada: ${texto:0:20}"
celdas=$(echo "$texto" | awk -F'/fn' '{print $2}' | tr ',' '\n' | grep . | sort | uniq -c |
    awk '{printf "%s:%s ", $2, $1}')
[ "$celdas" = "1:2495 2:5 " ] || fallo "celdas guardadas: $celdas"
[ "$(echo "$texto" | awk -F'/fn' '{print $3}')" = "5,5,20,20" ] ||
    fallo "inicios guardados: $(echo "$texto" | awk -F'/fn' '{print $3}')"

# ------------------------------------------------------------------ game
"$bin/Tarnhollow" > "$tmp/juego.log" 2>&1 &
juego=$!
pids+=("$juego")
juegoid=$(ventana '^Tarnhollow$')

clic 20 10                      # "Archivo"
xdotool key Down Return         # "Un Jugador"
menu=$(ventana '^Men')
eval "$(xdotool getwindowgeometry --shell "$menu")"
# The list is sorted as QDir::Name sorts: by code unit, as C's collation.
fila=$(cd "$mapas" && LC_ALL=C ls -1 -- *.mapa | grep -nx -- "$nombre.mapa" | cut -d: -f1)
[ -n "$fila" ] || fallo "$nombre.mapa no está en $mapas"
clic $((X + 30)) $((Y + 32))    # first map of File1
xdotool key Home
for _ in $(seq 2 "$fila"); do
    xdotool key Down
done
clic $((X + 56)) $((Y + 348))   # "Empezar"
sleep 1

xdotool windowfocus "$juegoid" 2> /dev/null || true
xdotool mousemove --sync 400 300
xdotool keydown Right
sleep 1
xdotool keyup Right
sleep 0.5
vivo "$juego" "el juego"

eval "$(xdotool getwindowgeometry --shell "$juegoid")"
import -window root "$tmp/pantalla.png"
# HUMO_CAPTURA=file.png keeps the screenshot, to look at what was checked.
[ -z "${HUMO_CAPTURA:-}" ] || cp "$tmp/pantalla.png" "$HUMO_CAPTURA"
# The play field, below the menu bar and above the status line.
convert "$tmp/pantalla.png" -crop "800x540+$X+$((Y + 40))" +repage "$tmp/campo.png"

histograma() { convert "$1" -format %c histogram:info:- | awk '{sub(":", "", $1); print $1, $3}'; }
colores=$(histograma "$tmp/campo.png" | wc -l)
[ "$colores" -ge 4 ] || fallo "el campo de juego está en blanco ($colores colores)"
# Most of the field is the saved map's wood: the game plays that map.
histograma "$build/imagenes/terreno1.png" | awk '{print $2}' > "$tmp/madera"
madera=$(histograma "$tmp/campo.png" | awk -v lista="$tmp/madera" '
    BEGIN { while ((getline c < lista) > 0) m[c] = 1 }
    { total += $1; if ($2 in m) dentro += $1 }
    END { printf "%d", total ? 100 * dentro / total : 0 }')
[ "$madera" -ge 50 ] || fallo "solo el $madera% del campo es madera: no es el mapa guardado"

vivo "$juego" "el juego"
echo "ventanas correctas: $colores colores en el campo, $madera% madera"
