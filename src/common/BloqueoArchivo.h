// Prueba de archivo en uso: un candado exclusivo que no espera y que choca con
// otros procesos y con otro BloqueoArchivo del mismo proceso.
#pragma once

#include <QString>
#include <QtGlobal>

class BloqueoArchivo {
public:
    // No toma el candado; solo recuerda la ruta.
    explicit BloqueoArchivo(const QString& ruta);
    ~BloqueoArchivo();

    BloqueoArchivo(const BloqueoArchivo&) = delete;
    BloqueoArchivo& operator=(const BloqueoArchivo&) = delete;
    BloqueoArchivo(BloqueoArchivo&& otro) noexcept;
    BloqueoArchivo& operator=(BloqueoArchivo&& otro) noexcept;

    // Abre (o crea) el archivo y toma el candado; false si lo tiene otro o no
    // se puede abrir. Si ya lo tiene, true.
    bool Bloquear();
    // Como Bloquear, pero reintenta durante unos milisegundos: quien espera por el
    // archivo lo prueba tomándolo un instante, y ese instante no debe hacer fallar.
    bool BloquearReintentando(int milisegundos = 500);
    void Liberar();
    bool Bloqueado() const { return Manejador != ManejadorNulo; }
    const QString& RutaArchivo() const { return Ruta; }

private:
    static constexpr qintptr ManejadorNulo = -1;

    QString Ruta;
    qintptr Manejador = ManejadorNulo; // descriptor POSIX o HANDLE de Windows
};

// true si otro (proceso o BloqueoArchivo) tiene el candado de un archivo que
// existe; no lo crea ni se queda con el candado.
bool ArchivoBloqueadoPorOtro(const QString& ruta);
