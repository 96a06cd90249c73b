#!/usr/bin/env python3
"""Plays the game as a restless player for a long while, to find a crash.

A seeded random driver for the real window on an X display: menus, every
set-up window and dialog, end screens, replays, Multijugador, keys in
bursts, clicks anywhere, windows activated, minimised and closed through
the window manager. The game runs inside a network namespace of its own
with only the loopback address up, so Multijugador never reaches another
machine. When the game ends normally it is started again; at the first
crash the driver stops and keeps the game's output.

With --memcheck the game runs under Valgrind's Memcheck, which sees Qt's
own libraries read a widget already deleted (AddressSanitizer does not:
it checks only the code built with it). Memcheck is some 30 times slower,
so the driver waits longer between actions then.

Needs a display with a window manager (DISPLAY set), xdotool, and for
--memcheck valgrind. For example:

    Xvfb :79 -screen 0 1280x1024x24 & DISPLAY=:79 openbox &
    DISPLAY=:79 tools/cazafallos/cazar.py --programa build/bin/Tarnhollow \\
        --memcheck --semilla 7 --segundos 3600 --registro /tmp/caza
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import time

MAPAS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'mapas')
TECLAS = ['Tab', 'shift+Tab', 'Escape', 'Return', 'space', 'Left', 'Right', 'Up', 'Down',
          'p', 'm', 's', 'F11', 'alt+F4', 'plus', 'minus', 'Home', 'End', 'a', '1', 'ctrl+w',
          'alt+Tab', 'F10', 'alt+a', 'Menu']
SUELTAS = ['alt', 'ctrl', 'shift', 'F4', 'Tab', 'Return', 'Escape', 'space']


def xdo(*a):
    try:
        return subprocess.run(['xdotool', *map(str, a)], capture_output=True, text=True,
                              timeout=10).stdout
    except subprocess.TimeoutExpired:
        return ''


class cazador:
    def __init__(self, opciones):
        self.o = opciones
        self.rng = random.Random(opciones.semilla)
        self.lento = 6 if opciones.memcheck else 1
        self.casa = os.path.join(opciones.registro, 'casa')
        os.makedirs(self.casa, exist_ok=True)
        self.arranques = 0
        self.hechas = {}
        self.traza = open(os.path.join(opciones.registro, 'traza.txt'), 'a')
        self.t0 = time.time()

    def arrancar(self):
        self.arranques += 1
        env = dict(os.environ, HOME=self.casa, XDG_CONFIG_HOME=self.casa + '/.config',
                   XDG_DATA_HOME=self.casa + '/.local/share', QT_QPA_PLATFORM='xcb')
        args = [os.path.abspath(self.o.programa)]
        q = self.rng.random()
        if q < 0.5:
            mapa = self.rng.choice(['pradera.mapa', 'rio.mapa', 'islas.mapa'])
            args += ['--mapa', os.path.join(MAPAS, mapa), '--objetivo', 'tiempo:60',
                     '--guerreros', str(self.rng.randint(1, 4))]
        elif q < 0.7:
            rep = os.path.join(self.casa, '.local/share/Tarnhollow/repeticiones')
            if os.path.isdir(rep):
                fs = sorted(f for f in os.listdir(rep) if f.endswith('.repeticion'))
                if fs:
                    args += ['--repeticion', os.path.join(rep, self.rng.choice(fs))]
        if self.o.memcheck:
            informe = os.path.join(self.o.registro, 'memcheck-%02d.txt' % self.arranques)
            args = ['valgrind', '--error-exitcode=9', '--exit-on-first-error=yes',
                    '--undef-value-errors=no', '--num-callers=40',
                    '--log-file=' + informe] + args
        # Loopback only; -r maps the user to root in the namespace, so no
        # privileges are needed. exec keeps the pid the windows are found by.
        # With --red a dedicated server waits in the same namespace on the
        # default port, so Conectar joins a match and leaving it asks first.
        previo = 'ip link set lo up'
        self.pidservidor = os.path.join(self.o.registro, 'servidor.pid')
        servidor = os.path.join(os.path.dirname(os.path.abspath(self.o.programa)),
                                'tarnhollow-servidor')
        if self.o.red and os.path.exists(servidor):
            registro = os.path.join(self.o.registro, 'servidor-%02d.txt' % self.arranques)
            previo += (' && { "%s" --mapa "%s" --guerreros 2 --direccion 127.0.0.1 '
                       '--objetivo tiempo:120 > "%s" 2>&1 & echo $! > "%s"; }'
                       % (servidor, os.path.join(MAPAS, 'pradera.mapa'), registro,
                          self.pidservidor))
        cmd = ['unshare', '-rn', 'sh', '-c', previo + ' && exec "$@"', 'sh'] + args
        salida = open(os.path.join(self.o.registro, 'juego-%02d.txt' % self.arranques), 'w')
        p = subprocess.Popen(cmd, env=env, stdout=salida, stderr=subprocess.STDOUT)
        print('arranque', self.arranques, ' '.join(args), flush=True)
        time.sleep(4 * self.lento)
        return p

    def pararservidor(self):
        try:
            with open(self.pidservidor) as f:
                os.kill(int(f.read()), 15)
            os.remove(self.pidservidor)
        except (OSError, ValueError):
            pass

    def ventanas(self, p, visibles=True):
        a = ['search'] + (['--onlyvisible'] if visibles else []) + ['--pid', p.pid]
        return xdo(*a).split()

    def principal(self, p):
        for w in self.ventanas(p):
            if xdo('getwindowname', w).strip() == 'Tarnhollow':
                return w
        return None

    def geometria(self, w):
        d = dict(l.split('=', 1) for l in xdo('getwindowgeometry', '--shell', w).split()
                 if '=' in l)
        try:
            return int(d['WIDTH']), int(d['HEIGHT'])
        except KeyError:
            return 300, 200

    def pausa(self, hasta):
        time.sleep(self.rng.uniform(0, hasta * self.lento))

    def menu(self, w, cual, bajar):
        # Archivo, Opciones, Ayuda on the menu bar, then down through it.
        xdo('mousemove', '--window', w, {0: 30, 1: 97, 2: 157}[cual], 12, 'click', '1')
        self.pausa(0.2)
        xdo('key', '--delay', self.rng.choice([0, 10, 40]), *(['Down'] * bajar))

    def ventananombrada(self, p, nombre):
        for w in self.ventanas(p):
            if xdo('getwindowname', w).strip() == nombre:
                return w
        return None

    def abrir(self, p, w0, bajar, nombre):
        # An item of Archivo that opens a window; the window, if it came.
        self.menu(w0, 0, bajar)
        xdo('key', 'Return')
        self.pausa(0.8)
        return self.ventananombrada(p, nombre)

    def accion(self, p):
        rng = self.rng
        vs = self.ventanas(p)
        w0 = self.principal(p)
        a = rng.choices(['menu', 'tecla', 'rafaga', 'teclaventana', 'clic', 'activar',
                         'minimizar', 'mapear', 'cerrarwm', 'unjugador', 'multi', 'dialogo',
                         'final', 'carpeta'],
                        weights=[14, 14, 14, 6, 14, 10, 3, 3, 4, 8, 6, 8, 4, 3])[0]
        self.hechas[a] = self.hechas.get(a, 0) + 1
        self.traza.write('%.2f %s %d\n' % (time.time() - self.t0, a, len(vs)))
        self.traza.flush()
        if a == 'menu' and w0:
            cual = rng.choices([0, 1, 2], weights=[6, 2, 2])[0]
            self.menu(w0, cual, rng.randint(1, 6 if cual == 0 else 5))
            fin = rng.choice(['Return'] * 5 + ['Escape', 'Escape Escape', ''])
            if fin:
                xdo('key', *fin.split())
        elif a == 'tecla':
            xdo('key', rng.choice(TECLAS))
        elif a == 'rafaga':
            ks = [rng.choice(TECLAS[:13] + ['Return', 'Escape', 'Tab'])
                  for _ in range(rng.randint(3, 15))]
            xdo('key', '--delay', rng.choice([0, 1, 5]), *ks)
        elif a == 'teclaventana' and vs:
            xdo('key', '--window', rng.choice(vs), rng.choice(TECLAS))
        elif a == 'clic' and vs:
            w = rng.choice(vs)
            ancho, alto = self.geometria(w)
            xdo('mousemove', '--window', w, rng.randint(0, max(1, ancho - 1)),
                rng.randint(0, max(1, alto - 1)), 'click',
                *rng.choice([['1'], ['1'], ['3'], ['--repeat', '2', '1']]))
        elif a == 'activar':
            todas = self.ventanas(p, visibles=False)
            if todas:
                xdo(rng.choice(['windowactivate', 'windowfocus', 'windowraise']),
                    rng.choice(todas))
        elif a == 'minimizar' and vs:
            xdo('windowminimize', rng.choice(vs))
        elif a == 'mapear':
            todas = self.ventanas(p, visibles=False)
            if todas:
                xdo('windowmap', rng.choice(todas))
        elif a == 'cerrarwm' and vs:
            w = rng.choice(vs)
            if w == w0 and rng.random() < 0.9:
                w = vs[-1]
            if rng.random() < 0.5:
                xdo('windowactivate', w)
                xdo('key', 'alt+F4')
            else:
                xdo('key', '--window', w, 'alt+F4')
        elif a == 'unjugador' and w0:
            w = self.abrir(p, w0, 1, 'Menú')
            if w:
                xdo('mousemove', '--window', w, 50, 30 + 15 * rng.randint(0, 4), 'click', '1')
                xdo('key', '--delay', 0, *rng.choice([['Return'], ['Tab', 'Return'], ['Escape'],
                                                     ['Return', 'Return'], ['alt+F4'],
                                                     ['space']]))
        elif a == 'multi' and w0:
            w = self.abrir(p, w0, 2, 'Multijugador')
            if w:
                ancho, alto = self.geometria(w)
                # The rules' list, Empezar in the box that creates a match;
                # the address, Conectar and Salir lower down.
                y = rng.choice([0.57, 0.69, 0.69, 0.8, 0.88, 0.88, 0.94]) * alto
                xdo('mousemove', '--window', w, ancho // 2, int(y), 'click', '1')
                self.pausa(0.3)
                xdo('key', rng.choice(['Escape', 'Return', 'Tab', 'alt+F4', 'space']))
        elif a == 'dialogo' and w0:
            # Ver repetición, Cargar partida, Guardar…: a dialog, keys in it.
            self.menu(w0, 0, rng.randint(3, 6))
            xdo('key', 'Return')
            self.pausa(1.0)
            ks = [rng.choice(['Tab', 'shift+Tab', 'Return', 'Escape', 'Down', 'space', 'alt+F4',
                              'Up']) for _ in range(rng.randint(1, 6))]
            xdo('key', '--delay', rng.choice([0, 20, 100]), *ks)
        elif a == 'carpeta':
            # A map saved or deleted in the user's maps folder, as the editor
            # does while the game runs: the lists that follow the folder
            # read it again, whatever window or question is open.
            mapas = os.path.join(self.casa, '.local/share/Tarnhollow/mapas')
            os.makedirs(mapas, exist_ok=True)
            nombre = os.path.join(mapas, 'caza-%d.mapa' % rng.randint(0, 3))
            if os.path.exists(nombre) and rng.random() < 0.5:
                os.remove(nombre)
            else:
                shutil.copyfile(os.path.join(MAPAS, rng.choice(['pradera.mapa', 'rio.mapa'])),
                                nombre)
        elif a == 'final' and w0:
            # The end screen's buttons sit in the middle of the field.
            ancho, alto = self.geometria(w0)
            xdo('mousemove', '--window', w0, ancho // 2 + rng.choice([40, 100, 140, 190]),
                alto // 2 + rng.randint(40, 140), 'click', '1')
        # A key left down (an xdotool cut short as a window went) would
        # repeat for ever, Alt+F4 closing every window as it opens.
        xdo('keyup', *SUELTAS)
        r = rng.random()
        time.sleep(self.lento * (0 if r < 0.3 else rng.uniform(0, 0.05) if r < 0.7
                                 else rng.uniform(0.05, 0.6)))

    def cazar(self):
        p = self.arrancar()
        i = 0
        caida = None
        while i < self.o.acciones and time.time() - self.t0 < self.o.segundos:
            self.accion(p)
            i += 1
            rc = p.poll()
            if rc is None:
                continue
            print('accion', i, 'el juego terminó con', rc, flush=True)
            if rc != 0:
                caida = rc
                break
            self.traza.write('--- arranque\n')
            xdo('keyup', *SUELTAS)
            self.pararservidor()
            p = self.arrancar()
        if caida is None and p.poll() is None:
            p.terminate()
            try:
                p.wait(60)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        self.pararservidor()
        print('semilla', self.o.semilla, 'acciones', i, 'segundos', int(time.time() - self.t0),
              'arranques', self.arranques, 'caida', caida, flush=True)
        print('hechas', self.hechas, flush=True)
        return 1 if caida is not None else 0


def main():
    a = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    a.add_argument('--programa', required=True, help='the game program')
    a.add_argument('--registro', required=True, help='folder for the logs and its home')
    a.add_argument('--memcheck', action='store_true', help="under Valgrind's Memcheck")
    a.add_argument('--red', action='store_true',
                   help='a dedicated server on the loopback address to join')
    a.add_argument('--semilla', type=int, default=1)
    a.add_argument('--acciones', type=int, default=1000)
    a.add_argument('--segundos', type=float, default=600)
    o = a.parse_args()
    if 'DISPLAY' not in os.environ:
        sys.exit('cazar.py: hace falta un DISPLAY con un gestor de ventanas')
    os.makedirs(o.registro, exist_ok=True)
    sys.exit(cazador(o).cazar())


if __name__ == '__main__':
    main()
