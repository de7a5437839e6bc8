#include "alternatives/Reportes.h"

#include "alternatives/Cantidades.h"
#include "alternatives/Verificacion.h"
#include "common/Formato.h"
#include "common/ModuloLibzrl.h"
#include "common/Texto.h"
#include "printing/CodigoFormato.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

// Título de cada reporte (1..4), el mismo que lleva su archivo PDF.
constexpr const char16_t* TitulosReporte[] = {
    u"", u"UNIDADES HOMOGENEAS DE DISEÑO", u"ESPESORES ESTRUCTURAS ALTERNATIVAS",
    u"COSTOS ALTERNATIVAS UNIDADES HOMOGENEAS DE DISEÑO", u"COSTOS ALTERNATIVAS SELECCIONADAS"};

} // namespace

QString TituloReporte(int numero) {
    if (numero == NumeroReporteCantidades) return QStringLiteral("CANTIDADES DE OBRA");
    if (numero == NumeroReporteVerificacion)
        return QStringLiteral("VERIFICACIÓN ESTRUCTURAL DE ALTERNATIVAS");
    return numero >= 1 && numero <= 4 ? QString::fromUtf16(TitulosReporte[numero]) : QString();
}

namespace {

// Casi todas las líneas de texto empiezan con tres blancos tras el prefijo.
constexpr QStringView Sangria = u"   ";

// NumeroUH sin pasar de las unidades que existen.
int UnidadesEnUso(const Proyecto& p) {
    return std::min<int>(p.NumeroUH, p.CapacidadUH());
}

// Un reporte en armado: cada línea lleva el prefijo de su código de formato.
// Empieza con el encabezado común de todos los reportes.
class Reporte {
public:
    Reporte(const ModuloVarek9& modulo, int lineasPorUnidad) {
        const int unidades = std::max(0, UnidadesEnUso(modulo.Proyecto));
        escritor_.Reservar((qsizetype(unidades) * lineasPorUnidad + 40) * 140);
        Encabezado(modulo);
    }

    // Empieza una línea con el prefijo del código y la sangría.
    void Empezar(int codigo) {
        escritor_.Agregar(Prefijo(codigo));
        escritor_.Agregar(Sangria);
    }
    void Agregar(QStringView texto) { escritor_.Agregar(texto); }
    void Terminar() { escritor_.FinDeLinea(); }

    // Una línea completa: el texto va en piezas que se escriben seguidas.
    template <class... Piezas>
    void Linea(int codigo, const Piezas&... piezas) {
        Empezar(codigo);
        (Agregar(piezas), ...);
        Terminar();
    }
    void Lineas(int codigo, std::initializer_list<QStringView> textos) {
        for (const QStringView t : textos)
            Linea(codigo, t);
    }
    // Sin sangría; sin texto es solo el prefijo.
    void LineaSinSangria(int codigo, QStringView texto = {}) {
        escritor_.Agregar(Prefijo(codigo));
        Agregar(texto);
        Terminar();
    }
    void Guiones(int codigo, int cantidad) { Linea(codigo, QString(cantidad, u'-')); }

    // Campos de ancho fijo escritos directo en el archivo, sin textos intermedios:
    // el reporte 2 de mil unidades tiene decenas de miles. Alineados a la derecha
    // (se recorta y se rellena con blancos delante); uno cortado deja solo los
    // primeros caracteres del ancho; uno a la izquierda rellena detrás.
    void Campo(QStringView valor, int ancho) {
        const QStringView t = RecortarVista(valor);
        Blancos(ancho - t.size());
        Agregar(t);
    }
    void Cortado(QStringView valor, int ancho) {
        const QStringView t = RecortarVista(valor);
        Blancos(ancho - t.size());
        Agregar(t.left(ancho));
    }
    void Izquierda(QStringView valor, int ancho) {
        const QStringView t = RecortarVista(valor);
        Agregar(t);
        Blancos(ancho - t.size());
    }
    void Ascii(const std::string& texto, int ancho, bool izquierda = false) {
        const auto largo = static_cast<qsizetype>(texto.size());
        if (!izquierda) Blancos(ancho - largo);
        escritor_.AgregarAscii(texto.data(), largo);
        if (izquierda) Blancos(ancho - largo);
    }
    void Numero(double valor, QStringView mascara, int ancho) {
        Ascii(FormatoAscii(valor, mascara), ancho);
    }
    void Entero(int valor, int ancho) { Ascii(std::to_string(valor), ancho); }
    // Los costos se presentan en miles de pesos.
    void Miles(double pesos, int ancho) { Numero(pesos / 1000, u"#,##0", ancho); }
    void Blancos(qsizetype cantidad) {
        static const std::string blancos(256, ' ');
        while (cantidad > 0) {
            const qsizetype parte = std::min<qsizetype>(cantidad, 256);
            escritor_.AgregarAscii(blancos.data(), parte);
            cantidad -= parte;
        }
    }

    // Título y columnas de los reportes 2 a 4, entre líneas de guiones.
    void Titulo(int guiones, QStringView titulo, std::initializer_list<QStringView> columnas) {
        Guiones(2100, guiones);
        Linea(2010, titulo);
        Lineas(2100, columnas);
        Guiones(2100, guiones);
    }

    // Cierre común: guiones, línea vacía y el código 1000 sin texto.
    ErrorEscritura Cerrar(int guiones, const QString& archivo) {
        Guiones(100, guiones);
        Terminar();
        LineaSinSangria(1000);
        return EscribirArchivoSeguro(archivo, escritor_.Tomar());
    }

private:
    // Las primeras líneas de todo reporte.
    void Encabezado(const ModuloVarek9& modulo) {
        const Proyecto& p = modulo.Proyecto;
        LineaSinSangria(2101, u"#pg#fecha#");
        LineaSinSangria(2312, u"PROGRAMA VAREK-9");
        LineaSinSangria(2000);
        Linea(2010, u"Codigo Proyecto : ", modulo.ArchivoProyecto);
        const std::pair<QStringView, const QString*> opcionales[] = {
            {u"         Nombre : ", &p.Nombre},
            {u"    Descripcion : ", &p.Descripcion},
            {u"      Ubicación : ", &p.Ubicacion},
        };
        // Solo un campo exactamente vacío se omite.
        for (const auto& [rotulo, valor] : opcionales)
            if (!valor->isEmpty()) Linea(2010, rotulo, *valor);
        LineaSinSangria(2000);
    }

    // Un reporte usa pocos códigos en miles de líneas: cada prefijo se arma una vez.
    QString Prefijo(int codigo) {
        for (const auto& [c, prefijo] : prefijos_)
            if (c == codigo) return prefijo;
        prefijos_.emplace_back(codigo, CodigoFormato(codigo));
        return prefijos_.back().second;
    }

    EscritorAnsi escritor_;
    std::vector<std::pair<int, QString>> prefijos_;
};

QString CodigoCapa(const ModuloVarek9& modulo, int tipo) {
    return tipo >= 1 && tipo <= NumeroTiposCapa ? modulo.TipoCapa[tipo].Codigo : QString();
}

// Datos de la unidad al comienzo de su línea en los reportes 2 a 4, cada campo
// seguido de un blanco; la longitud y el ancho no van en el reporte 2.
void DatosUnidad(Reporte& r, const UnidadHomogenea& u, int i, bool conLongitud) {
    r.Entero(i, 3);
    r.Blancos(1);
    r.Cortado(u.CodigoTramo, 6);
    r.Blancos(1);
    r.Numero(u.AbscisaInicial, u"#,##0.00", 10);
    r.Blancos(1);
    r.Numero(u.AbscisaFinal, u"#,##0.00", 10);
    r.Blancos(1);
    if (conLongitud) {
        // Con signo: aquí la longitud no se toma en valor absoluto.
        r.Numero(u.AbscisaFinal - u.AbscisaInicial, u"0.00", 8);
        r.Blancos(1);
        r.Numero(u.AnchoCorona, u"0.00", 6);
        r.Blancos(1);
    }
    r.Numero(u.EjesEquivalentes, u"0.00E+#00", 9);
    r.Blancos(1);
    r.Numero(u.CBR, u"0.0", 5);
    r.Blancos(1);
    r.Numero(u.SNRequerido, u"0.0", 5);
    r.Blancos(1);
}

// Recorrido de los reportes 2 a 4: diseña cada unidad, empieza su línea con sus
// datos y deja que resto la complete.
template <class Resto>
void PorUnidad(Reporte& r, ModuloVarek9& modulo, EstadoDiseno& estado, bool conLongitud,
               Resto resto) {
    const int unidades = UnidadesEnUso(modulo.Proyecto);
    for (int i = 1; i <= unidades; ++i) {
        CalcularAlternativas(modulo, estado, i);
        const UnidadHomogenea& u = modulo.Proyecto.UH[i];
        r.Empezar(100);
        DatosUnidad(r, u, i, conLongitud);
        resto(i, u);
    }
}

// Una celda de 12 caracteres del reporte 2: capa k de una alternativa.
void CeldaCapa(Reporte& r, const ModuloVarek9& modulo, const AlternativaUH& alt,
               const UnidadHomogenea& u, int k) {
    if (!alt.Aplicable) return r.Blancos(12);
    const double t = k <= 3 ? alt.Capas[k].Espesor
                            : (k == 4 ? u.EspesorAfirmado * 10 : u.EspesorSubrasante * 10);
    // El tratamiento superficial (espesor 0) muestra su código sin espesor.
    if (t == 0 && k > 1) return r.Blancos(12);
    r.Campo(CodigoCapa(modulo, alt.Capas[k].Tipo), 5);
    if (t == 0) return r.Blancos(7);
    r.Blancos(1);
    r.Ascii(FormatoAscii(t / 10, u"0.0"), 5, true);
    r.Blancos(1);
}

void CapasUnidad(Reporte& r, const ModuloVarek9& modulo, const UnidadHomogenea& u) {
    const auto& alternativas = modulo.AlternativaUH;
    const bool alguna = std::any_of(alternativas.begin() + 1, alternativas.end(),
                                    [](const AlternativaUH& a) { return a.Aplicable; });
    if (!alguna) {
        r.Terminar();
    } else {
        for (int k = 1; k <= NumeroRanuras; ++k) {
            if ((k == 4 && u.EspesorAfirmado == 0) || (k == 5 && u.EspesorSubrasante == 0))
                continue;
            for (int n = 1; n <= NumeroAlternativas; ++n)
                CeldaCapa(r, modulo, alternativas[n], u, k);
            r.Terminar();
            // La línea siguiente deja las celdas bajo las mismas columnas.
            if (k < NumeroRanuras) {
                r.Empezar(100);
                r.Blancos(55);
            }
        }
    }
    // Separa las unidades: una línea vacía o una de solo prefijo y blancos.
    r.Terminar();
}

} // namespace

ErrorEscritura ImprimeUnidadesHomogeneas(ModuloVarek9& modulo, const QString& archivo) {
    // Este reporte no diseña, pero lee códigos y unidades del catálogo.
    if (modulo.TipoCapa[1].Codigo.isEmpty()) InicializarCatalogo(modulo, 0, 0);
    const Proyecto& p = modulo.Proyecto;
    const int unidades = UnidadesEnUso(p);
    Reporte r(modulo, 1);

    r.Linea(0, u"               Confiabilidad : ", Formato(p.Confiabilidad, u"0.00"), u"%   Zr: ",
            Formato(p.Zr, u"0.0000"));
    r.Linea(0, u"Serviciabilidad Final AASHTO : ", Formato(p.ServiciabilidadFinal, u"0.0"));
    r.Linea(0, u" Confiabilidad Transito (So) : ", Formato(p.So, u"0.00"));
    r.Terminar();

    r.Guiones(100, 91);
    r.Linea(10, u"COSTOS UNITARIOS");
    r.Linea(100, u" Tipo_Capa                                                           Unidad "
                 u"Valor_Unitario");
    r.Guiones(100, 91);
    // Solo las capas de las estructuras; CSR, AFR, subrasante y GEO no se listan.
    for (int t = CapaTSD; t <= CapaMDC2; ++t) {
        const TipoCapa& tipo = modulo.TipoCapa[t];
        r.Empezar(100);
        r.Agregar(u" ");
        r.Izquierda(QString(tipo.Codigo + u' ' + tipo.Descripcion), 67);
        r.Agregar(Sangria);
        r.Agregar(tipo.Unidad);
        r.Agregar(Sangria);
        r.Numero(p.CostosUnitarios[t], u"#,##0.00", 14);
        r.Terminar();
    }
    r.Guiones(100, 91);
    r.Terminar();

    r.Guiones(100, 133);
    r.Linea(10, TitulosReporte[1]);
    r.Lineas(100, {u"                                                                            "
                   u"                                  ** Afirmado **  h Capa",
                   u"                                     Abscisa      Abscisa  Ancho       Ejes "
                   u"Clasific Clasific                 ** Existente *    Sub-",
                   u"  # Codigo            Tipo Tipo      Inicial        Final Corona Equivalent  "
                   u"  Clima    Clima   CBR      Tipo   Tipo Espesor rasante",
                   u" UH  Tramo Descripc   Tram Segm          (m)          (m)    (m)     (80KN)  "
                   u"Humedad Temperat   (%)   Terreno           (cm)    (cm)"});
    r.Guiones(100, 133);
    for (int i = 1; i <= unidades; ++i) {
        const UnidadHomogenea& u = p.UH[i];
        r.Empezar(100);
        r.Entero(i, 3);
        const auto separar = [&] { r.Blancos(1); };
        separar();
        r.Cortado(u.CodigoTramo, 6);
        separar();
        r.Cortado(u.Descripcion, 10);
        separar();
        r.Campo(u.TipoTramo, 4);
        separar();
        r.Campo(u.TipoSegmento, 4);
        separar();
        r.Numero(u.AbscisaInicial, u"#,##0.00", 12);
        separar();
        r.Numero(u.AbscisaFinal, u"#,##0.00", 12);
        separar();
        r.Numero(u.AnchoCorona, u"0.00", 6);
        separar();
        r.Numero(u.EjesEquivalentes, u"0.00E+#00", 10);
        separar();
        r.Cortado(u.ClimaHumedad, 8);
        separar();
        r.Cortado(u.ClimaTemperatura, 8);
        separar();
        r.Numero(u.CBR, u"0.00", 5);
        separar();
        r.Cortado(u.TipoTerreno, 9);
        separar();
        r.Cortado(u.TipoAfirmado, 6);
        separar();
        r.Numero(u.EspesorAfirmado, u"0.0", 7);
        separar();
        r.Numero(u.EspesorSubrasante, u"0.0", 7);
        r.Terminar();
    }
    return r.Cerrar(133, archivo);
}

ErrorEscritura ImprimeEstructurasAlternativas(ModuloVarek9& modulo, EstadoDiseno& estado,
                                              const QString& archivo) {
    Reporte r(modulo, 6);
    r.Titulo(127, TitulosReporte[2],
             {u"                                                       A L T E R N A T I V A S",
              u"              Abscisa    Abscisa      Ejes             **** 1 **** **** 2 **** "
              u"**** 3 **** **** 4 **** **** 5 **** **** 6 ****",
              u"  # Codigo    Inicial      Final Equivalen   CBR    SN  Tipo h      Tipo h      "
              u"Tipo h      Tipo h      Tipo h      Tipo h",
              u" UH  Tramo        (m)        (m)    (80KN)   (%)   Req  Capa (cm)   Capa (cm)   "
              u"Capa (cm)   Capa (cm)   Capa (cm)   Capa (cm) "});
    PorUnidad(r, modulo, estado, false,
              [&](int, const UnidadHomogenea& u) { CapasUnidad(r, modulo, u); });
    return r.Cerrar(127, archivo);
}

ErrorEscritura ImprimeCostosAlternativas(ModuloVarek9& modulo, EstadoDiseno& estado,
                                         const QString& archivo) {
    std::fill(estado.CostoTotal.begin(), estado.CostoTotal.end(), 0.0);
    Reporte r(modulo, 1);
    r.Titulo(131, TitulosReporte[3],
             {u"              Abscisa    Abscisa           Ancho      Ejes",
              u"  # Codigo    Inicial      Final Longitud Corona Equivalen   CBR    SN ********* "
              u"Costos por Alternativa (miles de pesos) *********",
              u" UH  Tramo        (m)        (m)      (m)    (m)    (80KN)   (%)   Req         1  "
              u"       2         3         4         5         6"});
    PorUnidad(r, modulo, estado, true, [&](int, const UnidadHomogenea&) {
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            r.Miles(estado.CostoAlternativa[n], 9);
            r.Blancos(1);
            estado.CostoTotal[n] += estado.CostoAlternativa[n];
        }
        r.Terminar();
    });
    r.Linea(100,
            u"                                                                       --------- "
            u"--------- --------- --------- --------- ---------");
    r.Empezar(100);
    r.Agregar(u"                                                         Costo Total : ");
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        r.Miles(estado.CostoTotal[n], 9);
        r.Blancos(1);
    }
    r.Terminar();
    return r.Cerrar(131, archivo);
}

ErrorEscritura ImprimeCostosAlternativasSeleccionadas(ModuloVarek9& modulo, EstadoDiseno& estado,
                                                      const QString& archivo) {
    Reporte r(modulo, 1);
    r.Titulo(
        99, TitulosReporte[4],
        {u"              Abscisa    Abscisa           Ancho      Ejes                          ",
         u"  # Codigo    Inicial      Final Longitud Corona Equivalen   CBR    SN  Alternativa "
         u"         Costo",
         u" UH  Tramo        (m)        (m)      (m)    (m)    (80KN)   (%)   Req Seleccionada "
         u"miles_de_pesos"});
    double total = 0;
    PorUnidad(r, modulo, estado, true, [&](int i, const UnidadHomogenea&) {
        SeleccionarAlternativa(modulo, i);
        const int seleccion = modulo.Proyecto.UH[i].AlternativaSeleccionada;
        if (seleccion != 0) {
            // Una selección guardada fuera de 1..6 no tiene costo.
            const bool valida = seleccion >= 1 && seleccion <= NumeroAlternativas;
            const double costo = valida ? estado.CostoAlternativa[seleccion] : 0.0;
            r.Entero(seleccion, 12);
            r.Blancos(1);
            r.Miles(costo, 14);
            total += costo;
        } else {
            r.Agregar(u"Sin Alternat");
        }
        r.Terminar();
    });
    r.Linea(100,
            u"                                                                                    "
            u"--------------");
    r.Empezar(100);
    r.Agregar(
        u"                                                 Total Alternativas Seleccionadas : ");
    r.Miles(total, 14);
    r.Terminar();
    return r.Cerrar(99, archivo);
}

ErrorEscritura ImprimeCantidadesObra(ModuloVarek9& modulo, EstadoDiseno& estado,
                                     const QString& archivo) {
    const CantidadesProyecto cantidades = CalcularCantidades(modulo, estado);
    Reporte r(modulo, 4);
    r.Titulo(113, TituloReporte(NumeroReporteCantidades),
             {u"              Abscisa    Abscisa           Ancho           Area",
              u"  # Codigo    Inicial      Final Longitud Corona Alt Superficie Capa  Espesor "
              u"      Cantidad Unid          Costo",
              u" UH  Tramo        (m)        (m)      (m)    (m) Sel       (m2)          (cm) "
              u"                    miles_de_pesos"});
    const auto capa = [&](const CantidadCapa& c) {
        r.Izquierda(CodigoCapa(modulo, c.Tipo), 5);
        r.Blancos(1);
        if (c.Espesor > 0)
            r.Numero(c.Espesor / 10, u"0.0", 7);
        else
            r.Blancos(7);
        r.Blancos(1);
        r.Numero(c.Cantidad, u"#,##0.00", 14);
        r.Blancos(1);
        r.Izquierda(modulo.TipoCapa[c.Tipo].Unidad, 4);
        r.Blancos(1);
        r.Miles(c.Costo, 14);
        r.Terminar();
    };
    for (const CantidadesUnidad& c : cantidades.Unidades) {
        const UnidadHomogenea& u = modulo.Proyecto.UH[c.Unidad];
        r.Empezar(100);
        r.Entero(c.Unidad, 3);
        r.Blancos(1);
        r.Cortado(u.CodigoTramo, 6);
        r.Blancos(1);
        r.Numero(u.AbscisaInicial, u"#,##0.00", 10);
        r.Blancos(1);
        r.Numero(u.AbscisaFinal, u"#,##0.00", 10);
        r.Blancos(1);
        r.Numero(std::fabs(u.AbscisaFinal - u.AbscisaInicial), u"0.00", 8);
        r.Blancos(1);
        r.Numero(u.AnchoCorona, u"0.00", 6);
        r.Blancos(1);
        if (c.Alternativa == 0) {
            r.Agregar(u"Sin Alternat");
            r.Terminar();
            continue;
        }
        r.Entero(c.Alternativa, 3);
        r.Blancos(1);
        r.Numero(c.Area, u"#,##0.00", 10);
        r.Blancos(1);
        for (qsizetype k = 0; k < c.Capas.size(); ++k) {
            // Las capas siguientes quedan bajo las mismas columnas.
            if (k > 0) {
                r.Empezar(100);
                r.Blancos(64);
            }
            capa(c.Capas[k]);
        }
    }
    r.Guiones(100, 113);
    r.Terminar();
    r.Linea(10, u"TOTALES POR MATERIAL");
    r.Linea(100, u" Tipo_Capa                                                      Unidad"
                 u"      Cantidad          Costo");
    r.Guiones(100, 113);
    double total = 0;
    for (int t = 1; t <= NumeroTiposCapa; ++t) {
        if (cantidades.Cantidad[t] == 0 && cantidades.Costo[t] == 0) continue;
        const TipoCapa& tipo = modulo.TipoCapa[t];
        r.Empezar(100);
        r.Agregar(u" ");
        r.Izquierda(QString(tipo.Codigo + u' ' + tipo.Descripcion), 62);
        r.Blancos(1);
        r.Izquierda(tipo.Unidad, 6);
        r.Numero(cantidades.Cantidad[t], u"#,##0.00", 14);
        r.Blancos(1);
        r.Miles(cantidades.Costo[t], 14);
        r.Terminar();
        total += cantidades.Costo[t];
    }
    // El afirmado existente no se construye, pero el costo de la alternativa lo cuenta.
    if (cantidades.CostoAfirmado != 0) {
        const QStringView afirmado =
            u" AFR Afirmado existente (incluido en el costo de la alternativa)";
        r.Empezar(100);
        r.Agregar(afirmado);
        r.Blancos(85 - afirmado.size());
        r.Miles(cantidades.CostoAfirmado, 14);
        r.Terminar();
        total += cantidades.CostoAfirmado;
    }
    r.Linea(100, QString(85, u' ') + QString(14, u'-'));
    const QStringView rotulo = u"Total Alternativas Seleccionadas : ";
    r.Empezar(100);
    r.Blancos(85 - rotulo.size());
    r.Agregar(rotulo);
    r.Miles(total, 14);
    r.Terminar();
    return r.Cerrar(113, archivo);
}

ErrorEscritura ImprimeVerificacionEstructural(ModuloVarek9& modulo, EstadoDiseno& estado,
                                              const QString& archivo) {
    const QList<VerificacionUnidad> verificacion = VerificarProyecto(modulo, estado);
    Reporte r(modulo, 7);
    r.Titulo(113, TituloReporte(NumeroReporteVerificacion),
             {u"                                            --- Sobre la base "
              u"---------------- --- Sobre la subbase -------------",
              u"  # Codigo            SN       SN                        SN       SN          "
              u"              SN       SN",
              u" UH  Tramo Alt Requerido Aportado Total     Capa  Requerido Aportado "
              u"Resultado Capa  Requerido Aportado Resultado"});
    const auto sn = [&](double valor) {
        if (valor < 0)
            r.Izquierda(u" sin raiz", 9);
        else
            r.Numero(valor, u"0.0000", 9);
    };
    const auto comprobacion = [&](const Comprobacion& c, bool conCapa) {
        if (!c.Existe) return r.Blancos(conCapa ? 35 : 29);
        if (conCapa) {
            r.Blancos(1);
            r.Izquierda(CodigoCapa(modulo, c.Tipo), 5);
        }
        r.Blancos(1);
        sn(c.Requerido);
        r.Numero(c.Aportado, u"0.0000", 9);
        r.Blancos(1);
        r.Izquierda(TextoCumple(c.Cumple), 9);
    };
    int fallan = 0;
    int aplicables = 0;
    bool sinAporte = false;
    for (const VerificacionUnidad& v : verificacion) {
        const UnidadHomogenea& u = modulo.Proyecto.UH[v.Unidad];
        r.Empezar(100);
        r.Entero(v.Unidad, 3);
        r.Blancos(1);
        r.Cortado(u.CodigoTramo, 6);
        if (v.Causa != CausaSinDiseno::Ninguna) {
            r.Agregar(u" Sin diseño: ");
            r.Agregar(TextoSinDiseno(v.Causa));
            r.Terminar();
            r.Terminar();
            continue;
        }
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            const VerificacionAlternativa& a = v.Alternativas[n];
            // Las alternativas siguientes quedan bajo las mismas columnas.
            if (n > 1) {
                r.Empezar(100);
                r.Blancos(10);
            }
            r.Blancos(1);
            r.Entero(n, 3);
            if (!a.Aplicable) {
                r.Agregar(u" No aplica");
                r.Terminar();
                continue;
            }
            ++aplicables;
            if (!a.Cumple()) ++fallan;
            if (a.SuperficieSinAporte && a.Base.Existe && !a.Base.Cumple) sinAporte = true;
            comprobacion(a.Total, false);
            comprobacion(a.Base, true);
            comprobacion(a.Subbase, true);
            r.Terminar();
        }
        r.Terminar();
    }
    r.Guiones(100, 113);
    r.Linea(100, u"Alternativas aplicables que no cumplen alguna comprobación : ",
            QString::number(fallan), u" de ", QString::number(aplicables));
    if (sinAporte)
        r.Linea(100, u"El tratamiento superficial (TSD) no aporta número estructural en este "
                     u"método: sobre la base no hay aporte.");
    return r.Cerrar(113, archivo);
}

ErrorEscritura EscribirReporte(int numero, ModuloVarek9& modulo, EstadoDiseno& estado,
                               const QString& archivo) {
    switch (numero) {
    case 1:
        return ImprimeUnidadesHomogeneas(modulo, archivo);
    case 2:
        return ImprimeEstructurasAlternativas(modulo, estado, archivo);
    case 3:
        return ImprimeCostosAlternativas(modulo, estado, archivo);
    case 4:
        return ImprimeCostosAlternativasSeleccionadas(modulo, estado, archivo);
    case NumeroReporteVerificacion:
        return ImprimeVerificacionEstructural(modulo, estado, archivo);
    case NumeroReporteCantidades:
        return ImprimeCantidadesObra(modulo, estado, archivo);
    default:
        return ErrorEscritura{false, 0,
                              QStringLiteral("Número de reporte no válido: %1").arg(numero)};
    }
}
