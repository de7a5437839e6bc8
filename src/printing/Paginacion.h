// Líneas de reporte con prefijo de formato, el prepaso que cuenta líneas y
// páginas y escribe la copia de texto, y la paginación común a la impresora y
// al puerto de texto.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Clase de línea (primer carácter del prefijo).
enum TipoLinea { LineaCuerpo = 1, LineaSalto = 2, LineaEncabezado = 3, LineaMantener = 4 };

struct FormatoLinea {
    int Tipo = LineaCuerpo;
    int Tamano = 12;    // puntos, tal como viene en el prefijo
    int Estilo = 1;     // 1 normal .. 6 negrita y subrayado
    int Alineacion = 1; // 1 izquierda .. 7 celdas fijas con sangría
};

struct LineaReporte {
    FormatoLinea Formato;
    QByteArrayView Texto; // sin prefijo
};

inline constexpr int LargoPrefijo = 4;

// Parte el prefijo: una línea cuyo primer carácter tiene código menor que 32 lleva
// cuatro caracteres de formato; otra va con el formato por defecto. Una línea
// vacía es texto vacío con el formato por defecto.
LineaReporte PartirLinea(QByteArrayView linea);
bool TienePrefijo(QByteArrayView linea);

// Resultado del prepaso sobre un reporte.
struct ResumenReporte {
    bool SinCodigos = true;
    int LineasEncabezado = 0;
    int AnchoMaximo = 0; // con los cuatro caracteres del prefijo; al menos 80
    int TotalPaginas = 1;
    int TotalLineas = 0;
};

// Cuenta líneas y páginas, mide el ancho y, si se pide, arma la copia de texto:
// sin prefijos, recortada a la derecha, CR LF, un salto de página (código 12, sin
// fin de línea) antes de cada página nueva.
ResumenReporte CargarProyecto(QByteArrayView reporte, int lineasPorPagina,
                              QByteArray* copiaTexto = nullptr);

// Nombre de la copia de texto de un reporte (la regla se aplica al nombre del
// archivo; la carpeta se conserva).
QString NombreCopiaTexto(const QString& reporte);

// Lo que la paginación pide a un destino (impresora o puerto de texto).
class DestinoImpresion {
public:
    virtual ~DestinoImpresion() = default;
    // Empieza una página que sí se imprime, antes de sus encabezados.
    virtual void ComenzarPagina() = 0;
    // Tras los encabezados de una página impresa (las imágenes van aquí).
    virtual void TrasEncabezados() {}
    // Una línea de la página impresa, con los marcadores ya reemplazados.
    virtual void Linea(const FormatoLinea& formato, QByteArrayView texto) = 0;
    // Termina una página impresa que aún no se había terminado.
    virtual void TerminarPagina() = 0;
};

struct ParametrosImpresion {
    int Desde = 0; // 0 en cualquiera de los dos: todas las páginas
    int Hasta = 0;
    int Copias = 1; // menos de 1 cuenta como 1
    int LineasPorPagina = 58;
    QByteArray Fecha; // "dd/MM/yyyy HH:mm:ss"
};

inline constexpr int MaximoEncabezados = 100;

struct ResultadoImpresion {
    bool Ok = true;               // false: más encabezados de los que caben
    bool PaginaTerminada = false; // la última página quedó terminada
    int PaginasImpresas = 0;
};

// Recorre el reporte tantas veces como copias, numerando páginas desde 1 en cada
// copia, y entrega al destino solo las páginas del rango.
ResultadoImpresion ImprimirPaginas(QByteArrayView reporte, const ResumenReporte& resumen,
                                   const ParametrosImpresion& parametros,
                                   DestinoImpresion& destino);

// Texto de un encabezado con "#pg#", "#pgde#" y "#fecha#" reemplazados.
QByteArray ReemplazarMarcadores(QByteArrayView texto, int pagina, int totalPaginas,
                                QByteArrayView fecha);

// Justifica a ancho columnas ensanchando los blancos desde la izquierda.
void AjusteAnchoMaximoDOS(QByteArray& texto, int ancho);

// Destino de puerto de texto: columnas fijas, saltos de página con el código 12.
class SalidaDos : public DestinoImpresion {
public:
    explicit SalidaDos(int anchoMaximo) : ancho_(anchoMaximo) {}
    void ComenzarPagina() override {}
    void Linea(const FormatoLinea& formato, QByteArrayView texto) override;
    void TerminarPagina() override { datos_ += '\f'; }
    QByteArray& Datos() { return datos_; }

private:
    int ancho_;
    QByteArray datos_;
};

// El archivo de cola completo para el puerto de texto (con el salto final).
QByteArray TextoDos(QByteArrayView reporte, const ResumenReporte& resumen,
                    const ParametrosImpresion& parametros, bool* ok = nullptr);
