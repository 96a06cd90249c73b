#pragma once

#include "Editor/plataforma.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Stands in for the window: remembers what the editor asked of it and
// answers questions with a preset reply.
class registro : public editor::plataforma {
public:
    struct aviso {
        std::string texto;
        std::string titulo;
        editor::icono i;
    };
    std::vector<aviso> avisos;
    std::vector<std::string> preguntas;
    bool respuesta = false;
    std::vector<std::string> titulos; // of every question, in order
    std::vector<std::string> decisiones;
    editor::decision eleccion = editor::decision::cancelar;
    std::vector<std::string> tirados;
    std::string vigilado = "nada";
    int dibujos = 0;
    std::string estado = "sin tocar";
    int panel = 0; // 1 shown, -1 hidden, 0 never asked
    int refrescos = 0;
    std::string elegido; // what the last refresh selected
    std::string fallo;   // when set, every write fails with it
    int escrituras = 0;
    std::vector<std::string> sinpermiso; // folders that can't be written
    std::string nombre;                  // the name box
    std::string titulo;
    bool modificado = false;

    // The status without what follows the view report or the save message.
    std::string inicioestado() const { return estado.substr(0, estado.find("    ")); }

    void avisar(const std::string& t, const std::string& ti, editor::icono i) override {
        avisos.push_back({t, ti, i});
    }
    bool preguntar(const std::string& t, const std::string& ti) override {
        preguntas.push_back(t);
        titulos.push_back(ti);
        return respuesta;
    }
    editor::decision decidir(const std::string& t, const std::string& ti) override {
        decisiones.push_back(t);
        titulos.push_back(ti);
        return eleccion;
    }
    std::string leernombre() override { return nombre; }
    std::string tirar(const std::string& ruta) override {
        tirados.push_back(ruta);
        std::error_code ec;
        return std::filesystem::remove(ruta, ec) ? std::string() : std::string("no se pudo");
    }
    void vigilar(const std::string& r) override { vigilado = r; }
    void dibujar() override { ++dibujos; }
    void ponerestado(const std::string& t) override { estado = t; }
    void mostrarpanel(bool v) override { panel = v ? 1 : -1; }
    std::string escribir(const std::string& ruta, const std::string& texto) override {
        ++escrituras;
        if (!fallo.empty())
            return fallo;
        std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
        f << texto;
        return f ? std::string() : std::string("no se pudo escribir");
    }
    void refrescar(const std::string& e) override {
        ++refrescos;
        elegido = e;
    }
    bool escribible(const std::string& c) override {
        for (const std::string& s : sinpermiso)
            if (s == c)
                return false;
        return true;
    }
    void ponernombre(const std::string& n) override { nombre = n; }
    std::string portapapeles;
    std::string carpeta; // for Probar; empty: none could be made
    std::string programa = "/juego/Tarnhollow";
    std::string falloalanzar;
    std::vector<std::vector<std::string>> lanzados; // program, then arguments
    void ponerportapapeles(const std::string& t) override { portapapeles = t; }
    std::string leerportapapeles() override { return portapapeles; }
    std::string carpetaprueba() override { return carpeta; }
    std::string programajuego() override { return programa; }
    std::string lanzar(const std::string& p, const std::vector<std::string>& a) override {
        if (!falloalanzar.empty())
            return falloalanzar;
        lanzados.push_back({p});
        lanzados.back().insert(lanzados.back().end(), a.begin(), a.end());
        return {};
    }
    void ponertitulo(const std::string& t, bool m) override {
        titulo = t;
        modificado = m;
    }
};
