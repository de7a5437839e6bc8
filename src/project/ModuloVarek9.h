// El proyecto en memoria, el catálogo de capas y las seis alternativas: un solo
// objeto por proceso, creado en main() y pasado por referencia.
#pragma once

#include "common/Numeros.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// Capacidad inicial de unidades; la revisión de unidades y el lector la amplían.
inline constexpr int CapacidadInicialUH = 1000;
inline constexpr int NumeroTiposCapa = 11;
inline constexpr int NumeroAlternativas = 6;
inline constexpr int NumeroRanuras = 5;

// Índices del catálogo (y de CostosUnitarios).
enum IndiceCapa : short {
    CapaTSD = 1,
    CapaBG = 2,
    CapaSBG = 3,
    CapaBEC = 4,
    CapaMDF2 = 5,
    CapaBEE3 = 6,
    CapaMDC2 = 7,
    CapaCSR = 8,
    CapaAFR = 9,
    CapaSubrasante = 10,
    CapaGEO = 11
};

struct UnidadHomogenea {
    QString CodigoTramo;
    QString Descripcion;
    QString TipoTramo;
    QString TipoSegmento;
    double AbscisaInicial = 0;
    double AbscisaFinal = 0;
    double AnchoCorona = 0;
    double EjesEquivalentes = 0;
    QString ClimaHumedad;
    QString ClimaTemperatura;
    double CBR = 0;
    QString TipoTerreno;
    QString TipoAfirmado;
    double EspesorAfirmado = 0;
    double EspesorSubrasante = 0;
    double SNRequerido = 0;
    qint16 AlternativaSeleccionada = 0;
    QStringList N82;
    QStringList CLIMA;
    QStringList MR;

    bool operator==(const UnidadHomogenea&) const = default;
};

struct Proyecto {
    QString Nombre;
    QString Descripcion; // los saltos de línea se guardan como "¦"
    QString Ubicacion;
    double Confiabilidad = 70;
    double Zr = 0;
    double ServiciabilidadFinal = 2.0;
    bool ConfiabilidadTransito = false;
    double So = 0.44;
    std::array<double, NumeroTiposCapa + 1> CostosUnitarios{}; // 1..11
    qint32 NumeroUH = 0;
    QVector<UnidadHomogenea> UH = QVector<UnidadHomogenea>(CapacidadInicialUH + 1); // 1..capacidad

    int CapacidadUH() const { return static_cast<int>(UH.size()) - 1; }
    // Amplía el arreglo para que exista UH(n); nunca lo reduce.
    void AsegurarCapacidad(int n);
};

struct TipoCapa {
    QString Codigo;
    QString Descripcion;
    QString Unidad;
    std::array<double, 4> CoefEstructural{}; // por columna de temperatura 1..3
    std::array<double, 6> CoefDrenaje{};     // por columna de humedad 1..5
    double Modulo = 0;                       // psi
};

struct CapaAlternativa {
    qint16 Tipo = 0;
    double CoefEstructural = 0;
    double CoefDrenaje = 0;
    double Espesor = 0; // mm
    bool Opcional = false;
    double EspesorInicial = 0;
    double EspesorMinimoBajo = 0; // W18 < 150000
    double EspesorMinimoAlto = 0; // W18 >= 150000
    double Modulo = 0;
    bool DisenoPorCapas = false;
    double EspesorDiseno = 0;
};

struct AlternativaUH {
    qint16 NumeroCapas = 0;
    std::array<CapaAlternativa, NumeroRanuras + 1> Capas{}; // 1..5
    bool Aplicable = false;
    double CBRMinimo = 0;
};

// Intercambio con los programas complementarios.
struct ResultadoPrograma {
    bool Seleccionar = false;
    bool HayResultado = false;
    QString Referencia;
    double ValorTransito = 0;
    QString TextoClima2;
    QString TextoClima3;
    double ValorModulo = 0;
};

// Lo que la última lectura supo del archivo leído. Guardar encima de un archivo
// leído con avisos guarda antes una copia ".bak"; uno que no es proyecto no se
// reemplaza con "Guardar".
struct EstadoLectura {
    QString Ruta;              // el archivo leído
    bool ConAvisos = false;    // la lectura avisó algo (o no se pudo leer)
    bool NoEsProyecto = false; // sin línea "[Proyecto]": no se cargó nada
};

class HistorialProyecto;

struct ModuloVarek9 {
    ::Proyecto Proyecto;
    std::array<::TipoCapa, NumeroTiposCapa + 1> TipoCapa{};              // 1..11
    std::array<::AlternativaUH, NumeroAlternativas + 1> AlternativaUH{}; // 1..6
    QString ArchivoProyecto = QStringLiteral("Defecto");
    bool ProyectoModificado = false;
    ::ResultadoPrograma ResultadoPrograma;
    ::EstadoLectura EstadoLectura;
    // La convención con que el usuario escribe y ve los números en las ventanas
    // (su preferencia, que main lee al empezar); los archivos no cambian.
    SeparadorDecimal Separador = SeparadorDecimal::Punto;
    // La historia de deshacer de las ventanas, si la hay (la línea de órdenes no la usa).
    HistorialProyecto* Historial = nullptr;
};

// Los campos de una unidad que no pueden ser negativos (las abscisas sí), con
// su nombre en los mensajes.
struct CampoSinNegativos {
    double UnidadHomogenea::*Campo;
    const char16_t* Nombre;
};
inline constexpr CampoSinNegativos CamposSinNegativos[] = {
    {&UnidadHomogenea::AnchoCorona, u"Ancho Corona"},
    {&UnidadHomogenea::EjesEquivalentes, u"Ejes Equivalentes"},
    {&UnidadHomogenea::CBR, u"CBR"},
    {&UnidadHomogenea::EspesorAfirmado, u"Espesor Afirmado"},
    {&UnidadHomogenea::EspesorSubrasante, u"Espesor Capa de Subrasante"}};

// Vacía todas las unidades y deja NumeroUH en 0; no toca el encabezado, los
// parámetros AASHTO ni los costos unitarios.
void NuevoProyectoDatos(ModuloVarek9& modulo);

// Escribe el catálogo fijo y las seis estructuras por defecto; con afirmado
// existente (espesor y coeficiente > 0) lo agrega como cuarta capa a todas.
void InicializarCatalogo(ModuloVarek9& modulo, const double& EspesorExistente,
                         const double& CoefExistente);

// Reglas de los campos derivados: límites de R y pt, Zr y So.
void AplicarReglasDerivadas(Proyecto& proyecto);
