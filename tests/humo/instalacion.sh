#!/usr/bin/env bash
# Installs the build into throw-away prefixes and checks what a desktop
# needs: the commands in games/, maps and sounds in the data folder, the
# game's sound module in lib/games/tarnhollow, desktop entries whose Exec and
# Icon exist, and maps changed by the user surviving a second install.
#
#   instalacion.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
fuente=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fallos=0
mal() {
    echo "FALLO: $*" >&2
    fallos=$((fallos + 1))
}

instalar() { cmake --install "$build" --prefix "$1" > "$tmp/registro" 2>&1 || {
    cat "$tmp/registro" >&2
    exit 1
}; }

p=$tmp/prefijo
instalar "$p"
carpeta=$p/share/games/tarnhollow

programas=(Tarnhollow)
[ -x "$build/bin/editor" ] && programas+=(editor)
declare -A comando=([Tarnhollow]=tarnhollow [editor]=tarnhollow-editor)
for prog in "${programas[@]}"; do
    [ -x "$p/games/${comando[$prog]}" ] || mal "falta el comando games/${comando[$prog]}"
    [ ! -e "$p/games/$prog" ] || mal "quedó games/$prog con el nombre de la compilación"
    [ -s "$p/share/man/man6/${comando[$prog]}.6.gz" ] || mal "falta el manual de ${comando[$prog]}"
    entrada=$p/share/applications/${comando[$prog]}.desktop
    if [ ! -f "$entrada" ]; then
        mal "falta $entrada"
        continue
    fi
    exec_=$(sed -n 's/^Exec="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$entrada")
    [ -x "$exec_" ] || mal "Exec de $entrada no es un programa: '$exec_'"
    icono=$(sed -n 's/^Icon=//p' "$entrada")
    [ -f "$p/share/icons/hicolor/64x64/apps/$icono.png" ] || mal "falta el icono $icono"
    if command -v desktop-file-validate > /dev/null; then
        desktop-file-validate "$entrada" || mal "$entrada no es una entrada válida"
    fi
done

# The game's sound module, a library: where the installed game looks for it,
# and not executable.
modulo=$(basename "$(ls "$build"/bin/*tarnhollow-sonido*.so)")
[ -f "$p/lib/games/tarnhollow/$modulo" ] || mal "falta el módulo de sonido lib/games/tarnhollow/$modulo"
[ ! -x "$p/lib/games/tarnhollow/$modulo" ] || mal "el módulo de sonido es ejecutable"

for mapa in "$fuente"/mapas/*.mapa; do
    [ -e "$mapa" ] || continue
    cmp -s "$mapa" "$carpeta/mapas/$(basename "$mapa")" || mal "falta el mapa $(basename "$mapa")"
done
for wav in "$build"/bin/sonidos/*.wav; do
    [ -e "$wav" ] || continue
    cmp -s "$wav" "$carpeta/sonidos/$(basename "$wav")" || mal "falta el sonido $(basename "$wav")"
done

# A map the user saved over a sample map, and one of their own, survive
# installing again.
mkdir -p "$carpeta/mapas"
primero=$(ls "$carpeta/mapas" | head -n 1)
[ -n "$primero" ] && echo "cambiado" > "$carpeta/mapas/$primero"
echo "propio" > "$carpeta/mapas/propio.mapa"
instalar "$p"
[ -z "$primero" ] || [ "$(cat "$carpeta/mapas/$primero")" = cambiado ] ||
    mal "instalar de nuevo sobrescribió $primero"
[ "$(cat "$carpeta/mapas/propio.mapa")" = propio ] || mal "instalar de nuevo borró propio.mapa"

# A package build: DESTDIR stages the files, the entries name the final paths.
DESTDIR=$tmp/paquete cmake --install "$build" --prefix /usr > /dev/null
grep -qx 'Exec="/usr/games/tarnhollow"' \
    "$tmp/paquete/usr/share/applications/tarnhollow.desktop" ||
    mal "con DESTDIR, Exec no apunta a /usr/games/tarnhollow"

# The installed game starts from its new place and keeps running.
set +e
QT_QPA_PLATFORM=offscreen timeout 3 "$p/games/tarnhollow" > "$tmp/salida" 2>&1
rc=$?
set -e
[ $rc -eq 124 ] || { cat "$tmp/salida" >&2; mal "el juego instalado terminó con estado $rc"; }

[ $fallos -eq 0 ] || exit 1
echo "instalación correcta: ${programas[*]}"
