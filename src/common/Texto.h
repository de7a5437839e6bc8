// Texto de los archivos del programa: Windows-1252 ("ANSI"), líneas CR LF.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Quita solo los blancos (código 32) de ambos extremos.
QStringView RecortarVista(QStringView texto);
QString Recortar(QStringView texto);
QByteArrayView RecortarVista(QByteArrayView texto);

// Windows-1252; un carácter que no existe en esa página se escribe "?".
QByteArray CodificarAnsi(QStringView texto);
// Si la unidad UTF-16 tiene byte propio en Windows-1252 (un sustituto nunca lo tiene).
bool EsAnsi(char16_t c);

// Arma un archivo ANSI pieza por pieza, sin pasar por un QString intermedio.
class EscritorAnsi {
public:
    void Reservar(qsizetype bytes) { Espacio(bytes); }
    void Agregar(QStringView texto) { Codificar(texto, false, false); }
    // Una línea completa con su CR LF; un CR suelto dentro de ella va como blanco,
    // porque al leer partiría la línea.
    void Linea(QStringView texto) {
        Codificar(texto, true, false);
        FinDeLinea();
    }
    // Lo mismo para los archivos en que también un LF solo parte la línea.
    void LineaSinSaltos(QStringView texto) {
        Codificar(texto, true, true);
        FinDeLinea();
    }
    void AgregarAscii(const char* texto, qsizetype largo);
    void FinDeLinea() { AgregarAscii("\r\n", 2); }
    QByteArray Tomar();

private:
    char* Espacio(qsizetype bytes);
    void Codificar(QStringView texto, bool sinCR, bool sinLF);

    QByteArray datos_;
    qsizetype largo_ = 0;
};
// Lectura sin pérdida: los cinco códigos sin asignar pasan como U+0081, U+008D...
QString DecodificarAnsi(QByteArrayView datos);

// Parte en líneas en CR LF o en un CR solo; un LF solo queda dentro de la línea
// (los reportes llevan caracteres de control). Un texto sin ningún CR se parte en
// LF. El fin de línea final no abre otra.
QList<QStringView> DividirLineas(QStringView texto);

// Qué termina una línea. ComoReporte: las reglas de DividirLineas (en un reporte
// un LF o un FF solo puede ser el tamaño de un prefijo). Todos: cada CR LF, CR
// solo y LF solo termina una línea, como en el archivo de proyecto.
enum class FinesDeLinea { ComoReporte, Todos };

// Recorre las líneas de un archivo ANSI sin copiarlo.
class LectorLineas {
public:
    explicit LectorLineas(QByteArrayView datos, FinesDeLinea fines = FinesDeLinea::ComoReporte);
    bool Fin() const { return leidas_ >= total_; }
    // La línea siguiente, sin su fin de línea; vacía si ya no hay más.
    QByteArrayView Siguiente();
    qsizetype Leidas() const { return leidas_; }
    qsizetype Restantes() const { return total_ - leidas_; }

private:
    QByteArrayView datos_;
    char separador_;
    bool todos_;
    qsizetype posicion_ = 0;
    qsizetype leidas_ = 0;
    qsizetype total_ = 0;
    // Próximo CR y próximo LF ya hallados (en el modo de todos los fines).
    qsizetype cr_ = -1;
    qsizetype lf_ = -1;
};

// Salto de línea de los archivos que escribe el programa, en todo sistema.
inline constexpr QStringView FinLinea = u"\r\n";
