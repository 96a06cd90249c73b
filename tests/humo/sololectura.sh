#!/usr/bin/env bash
# The editor installed where its user cannot write (as for /usr/lib): a save
# goes to the user's own maps folder, without a box, and nothing is written
# beside the program. Run
# under `xvfb-run -s "-ac ..."`: as root the editor runs as `nobody`, whom
# the open display lets in; as anyone else the maps folder is made
# read-only instead.
#
#   sololectura.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
chmod 755 "$tmp"
pids=()
limpiar() {
    for p in "${pids[@]}"; do
        kill "$p" 2> /dev/null || true
    done
    chmod -R u+w "$tmp" 2> /dev/null || true
    rm -rf "$tmp"
}
trap limpiar EXIT
fallo() {
    echo "FALLO: $*" >&2
    [ -s "$tmp/editor.log" ] && tail -n 30 "$tmp/editor.log" >&2
    exit 1
}
clic() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.3; }
# The editor's controls lie below its menu bar, this many pixels high.
barra=19
clice() { clic "$1" $(($2 + barra)); }

cmake --install "$build" --prefix "$tmp/prefijo" > /dev/null
mapas=$tmp/prefijo/share/games/tarnhollow/mapas
mkdir -p "$mapas" "$tmp/casa"
chmod 777 "$tmp/casa"
comoquien=()
if [ "$(id -u)" -eq 0 ]; then
    comoquien=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
    chmod 555 "$mapas"
fi
antes=$(ls "$mapas")

"${comoquien[@]}" env HOME="$tmp/casa" XDG_RUNTIME_DIR="$tmp/casa" \
    XDG_DATA_HOME="$tmp/casa/datos" QT_QPA_PLATFORM=xcb \
    "$tmp/prefijo/games/tarnhollow-editor" > "$tmp/editor.log" 2>&1 &
editor=$!
pids+=("$editor")
timeout 30 xdotool search --sync --onlyvisible --name '^Tarnhollow Editor' > /dev/null ||
    fallo "no apareció el editor"
sleep 0.5

clice 584 248 # "Mapa nuevo"
clice 712 176 # "Crear"
clice 571 411 # team 0's start on cell (5, 5)
clice 110 110
clice 603 411 # team 1's start on cell (20, 20)
clice 410 410
clice 584 33  # the name box
xdotool type --delay 50 sinpermiso
clice 584 56  # "Guardar"

usuario=$tmp/casa/datos/Tarnhollow/mapas/sinpermiso.mapa
for _ in $(seq 50); do
    [ -s "$usuario" ] && break
    sleep 0.2
done
kill -0 "$editor" 2> /dev/null || fallo "el editor terminó"
[ -s "$usuario" ] || fallo "el editor no guardó en la carpeta del usuario ($usuario)"
! xdotool search --onlyvisible --name '^Guardar$' > /dev/null ||
    fallo "un guardado que salió bien mostró un aviso"
[ "$(ls "$mapas")" = "$antes" ] || fallo "algo se escribió en $mapas: $(ls "$mapas")"
echo "el editor guardó en la carpeta del usuario"
