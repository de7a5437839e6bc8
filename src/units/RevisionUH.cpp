#include "units/RevisionUH.h"

#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "units/PortapapelesGrilla.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <iterator>
#include <optional>

namespace {

const QStringList ListaTipoTramo = {QStringLiteral("1. Sobre vía existente"),
                                    QStringLiteral("2. Explanación nueva")};
const QStringList ListaTipoSegmento = {QStringLiteral("A. Rasante paralela afirmado existente"),
                                       QStringLiteral("B. Excavación o cajeo"),
                                       QStringLiteral("C. Terraplen")};
const QStringList ListaClimaHumedad = {QStringLiteral("Arido"), QStringLiteral("Semiarido"),
                                       QStringLiteral("Subhumedo"), QStringLiteral("Humedo"),
                                       QStringLiteral("Superhumedo")};
const QStringList ListaClimaTemperatura = {QStringLiteral("Calido"), QStringLiteral("Templado"),
                                           QStringLiteral("Frio")};
const QStringList ListaTipoTerreno = {QStringLiteral("Plano"), QStringLiteral("Ondulado"),
                                      QStringLiteral("Montañoso"), QStringLiteral("Escarpado")};
const QStringList ListaTipoAfirmado = {QStringLiteral("No hay"), QStringLiteral("AFR-1"),
                                       QStringLiteral("AFR-2")};

constexpr QStringView MascaraAbscisa = u"#,##0.00";
constexpr QStringView MascaraDecimal = u"0.00";
constexpr QStringView MascaraEjes = u"0.00E+#00";
constexpr QStringView MascaraClave = u"0.000";

// La entrada que muestra una celda de lista para el valor guardado. Las listas
// son fijas y cortas: si la celda ya muestra el comienzo de una entrada se deja
// el mismo texto, sin pasar a mayúsculas ni crear otro, con el mismo resultado
// que BuscarEnComboBox porque ninguna entrada empieza con una de las que le
// siguen ni con la primera letra de otra.
QString EntradaLista(const QStringList& lista, const QString& valor, int largo = 999) {
    for (const QString& entrada : lista)
        if (QStringView(entrada).left(largo) == valor) return valor;
    return BuscarEnComboBox(lista, valor, largo);
}

// Las cifras de un entero, escritas en el arreglo dado.
QLatin1StringView EnteroEn(int valor, char (&cifras)[16]) {
    const char* fin = std::to_chars(cifras, cifras + sizeof cifras, valor).ptr;
    return QLatin1StringView(cifras, qsizetype(fin - cifras));
}

// Las piezas de las claves de orden se alinean a la derecha en 20 caracteres y
// se escriben en la clave: se arman dos veces por unidad en cada revisión. Lo
// formateado no lleva blancos que recortar.
void AgregarAbscisa(QString& clave, double valor) {
    static const MascaraNumero mascara = LeerMascara(MascaraClave);
    const std::string texto = FormatoAscii(valor, mascara);
    AgregarJustificado(clave, QLatin1StringView(texto.data(), qsizetype(texto.size())), 20, u' ',
                       false);
}

// El número con la máscara de su columna. El texto solo se reemplaza si cambia:
// una revisión que no cambia nada no crea textos nuevos.
void PonerNumero(TablaTextos& tabla, int fila, int columna, double valor) {
    // Las máscaras se leen una vez: la revisión formatea siete números por unidad.
    static const auto mascaras = [] {
        std::array<MascaraNumero, ColumnasUH> leidas{};
        for (int c = 0; c < ColumnasUH; ++c)
            leidas[std::size_t(c)] = LeerMascara(MascaraColumnaUH(c));
        return leidas;
    }();
    std::string ascii = FormatoAscii(valor, mascaras.at(std::size_t(columna)));
    if (tabla.Separador() == SeparadorDecimal::Coma)
        for (char& c : ascii)
            c = c == '.' ? ',' : c == ',' ? '.' : c;
    const QLatin1StringView texto(ascii.data(), qsizetype(ascii.size()));
    const QString actual = tabla.Texto(fila, columna);
    tabla.PonerValor(fila, columna, actual == texto ? actual : QString(texto), valor);
}

// El campo de una columna de número, para una unidad constante o no.
template <class Unidad>
auto Campo(Unidad& u, int columna) -> decltype(&u.CBR) {
    switch (columna) {
    case ColAbscisaInicial:
        return &u.AbscisaInicial;
    case ColAbscisaFinal:
        return &u.AbscisaFinal;
    case ColAnchoCorona:
        return &u.AnchoCorona;
    case ColEjesEquivalentes:
        return &u.EjesEquivalentes;
    case ColCBR:
        return &u.CBR;
    case ColEspesorAfirmado:
        return &u.EspesorAfirmado;
    case ColEspesorSubrasante:
        return &u.EspesorSubrasante;
    default:
        return nullptr;
    }
}

// Columnas que no aceptan un número negativo.
bool SinNegativos(int columna) {
    return std::find(std::begin(ColumnasSinNegativosUH), std::end(ColumnasSinNegativosUH),
                     columna) != std::end(ColumnasSinNegativosUH);
}

// La unidad que una fila lee: la que estaba en su índice, o una vacía.
UnidadHomogenea LeerFila(const Proyecto& proyecto, const TablaTextos& tabla, int r,
                         QList<CeldaRechazada>* rechazadas) {
    static const UnidadHomogenea vacia;
    // n <= r: el índice r todavía tiene la unidad que la fila mostraba.
    const UnidadHomogenea& previa = r <= proyecto.CapacidadUH() ? proyecto.UH[r] : vacia;
    UnidadHomogenea u = previa;
    u.CodigoTramo = tabla.Texto(r, ColCodigoTramo);
    u.Descripcion = tabla.Texto(r, ColDescripcion);
    u.TipoTramo = tabla.Texto(r, ColTipoTramo).left(1);
    u.TipoSegmento = tabla.Texto(r, ColTipoSegmento).left(1);
    u.ClimaHumedad = tabla.Texto(r, ColClimaHumedad);
    u.ClimaTemperatura = tabla.Texto(r, ColClimaTemperatura);
    u.TipoTerreno = tabla.Texto(r, ColTipoTerreno);
    u.TipoAfirmado = tabla.Texto(r, ColTipoAfirmado);
    for (int c = ColAbscisaInicial; c < ColumnasUH; ++c) {
        double* campo = Campo(u, c);
        if (!campo) continue;
        const QString& celda = tabla.Texto(r, c);
        // Se toma el valor exacto de la celda, no lo que muestra su máscara: un W18
        // de 500400 no pasa a 500000 ni se diseña fuera del método.
        const std::optional<double> exacto = tabla.Valor(r, c);
        const double valor = exacto ? *exacto : LeerCeldaUH(c, celda, tabla.Separador()).Valor;
        // Se rechaza un negativo imposible escrito o pegado en vez de normalizarlo: daría
        // costos negativos. Una celda que muestra el valor guardado no cambió (un
        // archivo puede traer negativos, que la lectura ya avisó).
        const auto igual = [&] {
            return exacto ? *exacto == *campo
                          : celda == TextoNumeroUH(c, *campo, tabla.Separador());
        };
        if (valor < 0 && SinNegativos(c) && !igual()) {
            if (rechazadas) rechazadas->append({r, c});
            continue;
        }
        *campo = valor;
    }
    return u;
}

} // namespace

const QStringList& EntradasListaUH(int columna) {
    static const QStringList ninguna;
    switch (columna) {
    case ColTipoTramo:
        return ListaTipoTramo;
    case ColTipoSegmento:
        return ListaTipoSegmento;
    case ColClimaHumedad:
        return ListaClimaHumedad;
    case ColClimaTemperatura:
        return ListaClimaTemperatura;
    case ColTipoTerreno:
        return ListaTipoTerreno;
    case ColTipoAfirmado:
        return ListaTipoAfirmado;
    default:
        return ninguna;
    }
}

bool EsColumnaListaUH(int columna) {
    return !EntradasListaUH(columna).isEmpty();
}

bool EsColumnaNumeroUH(int columna) {
    return !MascaraColumnaUH(columna).isEmpty();
}

QStringView MascaraColumnaUH(int columna) {
    switch (columna) {
    case ColAbscisaInicial:
    case ColAbscisaFinal:
        return MascaraAbscisa;
    case ColAnchoCorona:
    case ColCBR:
    case ColEspesorAfirmado:
    case ColEspesorSubrasante:
        return MascaraDecimal;
    case ColEjesEquivalentes:
        return MascaraEjes;
    default:
        return {};
    }
}

NumeroEscrito LeerCeldaUH(int columna, QStringView texto, SeparadorDecimal convencion) {
    NumeroEscrito n = LeerNumeroEscrito(texto, convencion);
    if (columna == ColEjesEquivalentes || !n.Descartado) return n;
    // Coma y punto se conservan para que decidan cuál es el decimal: "7,5" ya no
    // pierde la coma (sería 75).
    const QString filtrado = FiltrarNumero(texto.toString(), QStringLiteral("0123456789.,-"));
    n = LeerNumeroEscrito(filtrado, convencion);
    if (filtrado.size() != texto.trimmed().size()) n.Descartado = true;
    return n;
}

QString TextoNumeroUH(int columna, double valor, SeparadorDecimal convencion) {
    return TextoVentana(Formato(valor, MascaraColumnaUH(columna)), convencion);
}

double NumeroCeldaUH(const TablaTextos& tabla, int fila, int columna) {
    const std::optional<double> exacto = tabla.Valor(fila, columna);
    return exacto ? *exacto
                  : LeerCeldaUH(columna, tabla.Texto(fila, columna), tabla.Separador()).Valor;
}

QString NombreColumnaUH(int columna) {
    switch (columna) {
    case ColCodigoTramo:
        return QStringLiteral("Código Tramo");
    case ColDescripcion:
        return QStringLiteral("Descripción");
    case ColTipoTramo:
        return QStringLiteral("Tipo de Tramo");
    case ColTipoSegmento:
        return QStringLiteral("Tipo de Segmento");
    case ColAbscisaInicial:
        return QStringLiteral("Abscisa Inicial");
    case ColAbscisaFinal:
        return QStringLiteral("Abscisa Final");
    case ColClimaHumedad:
        return QStringLiteral("Clasificación Climática por Humedad");
    case ColClimaTemperatura:
        return QStringLiteral("Clasificación Climática por Temperatura");
    case ColTipoTerreno:
        return QStringLiteral("Tipo de Terreno");
    case ColTipoAfirmado:
        return QStringLiteral("Tipo de Afirmado");
    default:
        break;
    }
    // Las demás columnas de número se nombran como sus campos en el modelo.
    UnidadHomogenea u;
    const double* campo = Campo(u, columna);
    for (const CampoSinNegativos& c : CamposSinNegativos)
        if (campo == &(u.*c.Campo)) return QString::fromUtf16(c.Nombre);
    return QStringLiteral("columna %1").arg(columna);
}

double* CampoNumeroUH(UnidadHomogenea& unidad, int columna) {
    return Campo(unidad, columna);
}

const double* CampoNumeroUH(const UnidadHomogenea& unidad, int columna) {
    return Campo(unidad, columna);
}

QString TextoCeldasRechazadas(const QList<CeldaRechazada>& celdas) {
    QStringList nombres;
    for (const CeldaRechazada& c : celdas)
        nombres << QStringLiteral("fila %1 %2").arg(c.Fila).arg(NombreColumnaUH(c.Columna));
    const QString lista = nombres.join(QStringLiteral(", "));
    return celdas.size() == 1
               ? QStringLiteral("No se acepta un valor negativo en la celda %1: conserva su "
                                "valor anterior...")
                     .arg(lista)
               : QStringLiteral("No se aceptan valores negativos en las celdas %1: conservan su "
                                "valor anterior...")
                     .arg(lista);
}

bool FueraDeLoUsualUH(int columna, double valor) {
    switch (columna) {
    case ColAbscisaInicial:
    case ColAbscisaFinal:
        return std::fabs(valor) > 10'000'000;
    case ColAnchoCorona:
        return valor > 40;
    case ColEjesEquivalentes:
        return valor > 50'000'000;
    case ColCBR:
        return valor > 100;
    case ColEspesorAfirmado:
    case ColEspesorSubrasante:
        return valor > 300;
    default:
        return false;
    }
}

namespace {

// El valor como lo lee una persona en un mensaje: con miles y la convención.
QString ValorMensaje(int columna, double valor, SeparadorDecimal convencion) {
    return TextoVentana(Formato(valor, columna == ColEjesEquivalentes ? u"#,##0" : u"#,##0.00"),
                        convencion);
}

} // namespace

QString PreguntaValorUH(int columna, double valor, int unidad, SeparadorDecimal convencion) {
    return QStringLiteral("¿El valor [%1] de %2 de la unidad [%3] es correcto?")
        .arg(ValorMensaje(columna, valor, convencion), NombreColumnaUH(columna))
        .arg(unidad);
}

QString NombrePegado(int filas) {
    return filas == 1 ? QStringLiteral("Pegar 1 fila")
                      : QStringLiteral("Pegar %1 filas").arg(filas);
}

namespace {

// El valor exacto de la celda (fila, columna) de lo pegado, relativo a su comienzo;
// nada si la celda es de texto y hay que leerla.
using ExactoPegado = std::function<std::optional<double>(int fila, int columna)>;

// Lee las celdas que el pegado escribió desde (fila, columna) hasta la fila ultima;
// anterior es la tabla de antes, a la que vuelve lo que no se toma.
ResultadoPegado RevisarPegado(TablaTextos& tabla, const TablaTextos& anterior, int fila,
                              int columna, int ultima, int filas, SeparadorDecimal preferencia,
                              const ExactoPegado& exacto) {
    ResultadoPegado r;
    if (tabla.Filas() != anterior.Filas()) NumerarFilas(tabla);
    r.Filas = filas;
    ultima = std::min(ultima, tabla.Filas() - 1);
    const int primera = std::max(columna, 1);
    const auto valorExacto = [&](int f, int c) {
        return exacto ? exacto(f - fila, c - primera) : std::nullopt;
    };

    // La convención sale de las celdas escritas; un número de una hoja de cálculo
    // no depende de ninguna.
    QStringList numeros;
    for (int f = fila; f <= ultima; ++f)
        for (int c = primera; c < ColumnasUH; ++c)
            if (const QString& t = tabla.Texto(f, c);
                !t.isEmpty() && EsColumnaNumeroUH(c) && !valorExacto(f, c))
                numeros.append(t);
    r.Convencion = ConvencionDeBloque(numeros, preferencia);
    const SeparadorDecimal convencion = r.Convencion.Separador;

    for (int f = fila; f <= ultima; ++f)
        for (int c = primera; c < ColumnasUH; ++c) {
            const QString celda = tabla.Texto(f, c);
            if (celda.trimmed().isEmpty()) {
                // Solo blancos en un número o una lista es una celda vacía; en el código
                // y la descripción quedan tal cual.
                if (EsColumnaNumeroUH(c) || EsColumnaListaUH(c)) tabla.PonerTexto(f, c, QString());
                continue;
            }
            const auto notar = [&](NotaPegado nota, double valor = 0,
                                   const QString& quitados = {}) {
                r.Notas.append({f, c, nota, celda.trimmed(), valor, quitados});
            };
            // Se aparta a propósito de lo original: lo que no se puede leer no se toma (ni
            // como 0 ni como la primera entrada); la celda vuelve a lo que tenía.
            const auto rechazar = [&](NotaPegado nota) {
                notar(nota);
                tabla.PonerValor(f, c, anterior.Texto(f, c), anterior.Valor(f, c));
            };
            if (EsColumnaNumeroUH(c)) {
                if (const std::optional<double> valor = valorExacto(f, c)) {
                    tabla.PonerValor(f, c, celda, *valor);
                    if (FueraDeLoUsualUH(c, *valor)) notar(NotaPegado::FueraDeLoUsual, *valor);
                    continue;
                }
                const NumeroEscrito n = LeerCeldaUH(c, celda, convencion);
                if (!n.EsNumero) {
                    rechazar(NotaPegado::NoEsNumero);
                    continue;
                }
                // La revisión que sigue lo muestra con su máscara.
                tabla.PonerValor(f, c, celda, n.Valor);
                if (n.Ambiguo) notar(NotaPegado::Ambiguo, n.Valor);
                if (n.Descartado) notar(NotaPegado::Descartado, n.Valor);
                if (FueraDeLoUsualUH(c, n.Valor)) notar(NotaPegado::FueraDeLoUsual, n.Valor);
            } else if (EsColumnaListaUH(c)) {
                // Tipo de tramo y de segmento se muestran con su código ("1", "B").
                const bool soloCodigo = c == ColTipoTramo || c == ColTipoSegmento;
                const QStringList& entradas = EntradasListaUH(c);
                if (soloCodigo && celda.size() == 1 &&
                    std::any_of(entradas.begin(), entradas.end(),
                                [&](const QString& e) { return e.front() == celda.front(); }))
                    continue;
                bool ambigua = false;
                const int i = BuscarEntradaLista(entradas, celda, &ambigua);
                if (i < 0)
                    rechazar(ambigua ? NotaPegado::EntradaAmbigua : NotaPegado::SinEntrada);
                else
                    tabla.PonerTexto(f, c, soloCodigo ? entradas[i].left(1) : entradas[i]);
            } else if (const QString fuera = CaracteresNoAnsi(celda); !fuera.isEmpty()) {
                tabla.PonerTexto(f, c, QuitarNoAnsi(celda));
                notar(NotaPegado::SinCaracteres, 0, fuera);
            }
        }
    return r;
}

// Una celda de una hoja como pieza del texto pegado: sin los separadores del pegado.
QString PiezaPegada(const CeldaHoja& celda) {
    if (celda.EsNumero) return TextoExacto(celda.Numero, SeparadorDecimal::Punto);
    const auto separador = [](QChar c) { return c == u'\t' || c == u'\r' || c == u'\n'; };
    // Sin separadores, el texto se comparte sin copiarlo.
    if (std::none_of(celda.Texto.begin(), celda.Texto.end(), separador)) return celda.Texto;
    QString t = celda.Texto;
    std::replace_if(t.begin(), t.end(), separador, QChar(u' '));
    return t;
}

} // namespace

ResultadoPegado PegarUH(TablaTextos& tabla, QStringView texto, int fila, int columna,
                        SeparadorDecimal preferencia) {
    const TablaTextos anterior = tabla;
    PegarTexto(tabla, texto, fila, columna, true, false);
    // Las filas que el texto alcanza: una más por cada salto de línea.
    const int ultima = fila + int(SaltosDeLinea(texto));
    // Un texto copiado termina con un salto: esa última línea vacía no es fila.
    const bool terminaEnSalto =
        !texto.isEmpty() && (texto.back() == u'\n' || texto.back() == u'\r');
    return RevisarPegado(tabla, anterior, fila, columna, ultima,
                         ultima - fila + (terminaEnSalto ? 0 : 1), preferencia, {});
}

ResultadoPegado PegarCeldasUH(TablaTextos& tabla, const QList<QList<CeldaHoja>>& filas, int fila,
                              SeparadorDecimal preferencia) {
    // Como si se pegaran las filas con un salto tras cada una, sin armar ese texto ni
    // volver a dividirlo: la tabla llega hasta la fila que sigue a la última.
    const TablaTextos anterior = tabla;
    const int n = int(filas.size());
    if (tabla.Filas() < fila + n + 1) tabla.PonerFilas(fila + n + 1);
    for (int i = 0; i < n; ++i) {
        const QList<CeldaHoja>& f = filas[i];
        if (f.isEmpty()) tabla.PonerTexto(fila + i, ColCodigoTramo, QString());
        for (qsizetype c = 0; c < f.size() && c < ColumnasUH - 1; ++c)
            tabla.PonerTexto(fila + i, ColCodigoTramo + int(c), PiezaPegada(f[c]));
    }
    const auto exacto = [&](int f, int c) -> std::optional<double> {
        if (f < 0 || f >= filas.size() || c < 0 || c >= filas[f].size()) return std::nullopt;
        const CeldaHoja& celda = filas[f][c];
        return celda.EsNumero ? std::optional<double>(celda.Numero) : std::nullopt;
    };
    return RevisarPegado(tabla, anterior, fila, ColCodigoTramo, fila + n, n > 0 ? n : 1,
                         preferencia, exacto);
}

QString TextoPegado(const ResultadoPegado& resultado, SeparadorDecimal preferencia,
                    bool deArchivo) {
    // Los valores se muestran como los muestra la ventana.
    struct Grupo {
        QList<NotaPegado> Notas;
        QString Titulo;
    };
    const Grupo grupos[] = {
        {{NotaPegado::NoEsNumero, NotaPegado::SinEntrada, NotaPegado::EntradaAmbigua,
          NotaPegado::Negativo},
         QStringLiteral("No se tomaron estas celdas, que conservan su valor:")},
        {{NotaPegado::Ambiguo},
         QStringLiteral("Estas celdas se leyeron con la convención, que decide su valor:")},
        {{NotaPegado::Descartado},
         QStringLiteral("Estas celdas tenían caracteres que se descartaron:")},
        {{NotaPegado::FueraDeLoUsual},
         QStringLiteral("Revise estos valores, fuera de lo usual en su columna:")},
        {{NotaPegado::SinCaracteres},
         QStringLiteral("Se quitaron los caracteres que no se pueden guardar en el archivo "
                        "del proyecto:")},
    };
    QStringList partes;
    for (const Grupo& g : grupos) {
        // El mensaje de un pegado ya dice la convención; una importación muestra
        // además cada celda que dependió de ella.
        if (g.Notas.contains(NotaPegado::Ambiguo) && !deArchivo) continue;
        QStringList lineas;
        int cuantas = 0;
        for (const CeldaNotada& c : resultado.Notas) {
            if (!g.Notas.contains(c.Nota)) continue;
            if (++cuantas > 20) continue;
            const QString donde =
                QStringLiteral("fila %1, %2: ").arg(c.Fila).arg(NombreColumnaUH(c.Columna));
            switch (c.Nota) {
            case NotaPegado::NoEsNumero:
                lineas << donde + QStringLiteral("\"%1\" no es un número").arg(c.Texto);
                break;
            case NotaPegado::SinEntrada:
                lineas << donde + QStringLiteral("\"%1\" no es ninguna entrada de la lista")
                                      .arg(c.Texto);
                break;
            case NotaPegado::EntradaAmbigua:
                lineas << donde + QStringLiteral("\"%1\" puede ser más de una entrada de la lista")
                                      .arg(c.Texto);
                break;
            case NotaPegado::Negativo:
                lineas << donde + QStringLiteral("\"%1\" es negativo").arg(c.Texto);
                break;
            case NotaPegado::Ambiguo:
            case NotaPegado::Descartado:
                lineas << donde + QStringLiteral("\"%1\" se guarda como %2")
                                      .arg(c.Texto, TextoNumeroUH(c.Columna, c.Valor, preferencia));
                break;
            case NotaPegado::FueraDeLoUsual:
                lineas << donde + ValorMensaje(c.Columna, c.Valor, preferencia);
                break;
            case NotaPegado::SinCaracteres:
                lineas << donde + QStringLiteral("[%1] en \"%2\"").arg(c.Quitados, c.Texto);
                break;
            }
        }
        if (cuantas > 20) lineas << QStringLiteral("(y %1 celdas más)").arg(cuantas - 20);
        if (!lineas.isEmpty()) partes << g.Titulo + u'\n' + lineas.join(u'\n');
    }
    // La convención se dice si decidió algo o si no es la de la preferencia.
    const ConvencionBloque& c = resultado.Convencion;
    if (c.HayAmbiguas || c.Separador != preferencia || (!partes.isEmpty() && c.DelBloque))
        partes.prepend(TextoConvencion(c, deArchivo));
    return partes.join(QStringLiteral("\n\n"));
}

QString TextoCambiosRegla(const QList<CambioRegla>& cambios) {
    QStringList lineas;
    for (qsizetype i = 0; i < std::min<qsizetype>(cambios.size(), 20); ++i) {
        const CambioRegla& c = cambios[i];
        const bool subrasante = c.Columna == ColEspesorSubrasante;
        lineas << QStringLiteral("%1 (%2 - %3): %4 de %5 cm")
                      .arg(c.Codigo, Formato(c.AbscisaInicial, MascaraAbscisa),
                           Formato(c.AbscisaFinal, MascaraAbscisa),
                           subrasante ? QStringLiteral("capa de subrasante")
                                      : QStringLiteral("afirmado existente"),
                           Formato(c.Quitado, MascaraDecimal));
    }
    if (cambios.size() > 20) lineas << QStringLiteral("(y %1 más)").arg(cambios.size() - 20);
    return QStringLiteral("Una unidad con afirmado existente no lleva capa de subrasante, y una "
                          "sin afirmado no lleva espesor de afirmado. Se quitó:\n\n") +
           lineas.join(u'\n');
}

int FilasTablaUH(const Proyecto& proyecto) {
    return std::max(FilasInicialesUH, proyecto.NumeroUH + 1);
}

void NumerarFilas(TablaTextos& tabla) {
    // Solo se escribe el número que falta o cambió: renumerar no crea textos.
    char cifras[16];
    for (int f = 1; f < tabla.Filas(); ++f) {
        const QLatin1StringView numero = EnteroEn(f, cifras);
        if (tabla.Texto(f, 0) != numero) tabla.PonerTexto(f, 0, QString(numero));
    }
}

void CargarUH(Proyecto& proyecto, TablaTextos& tabla, QList<CambioRegla>* cambios) {
    const int n = std::clamp(proyecto.NumeroUH, 0, proyecto.CapacidadUH());
    if (tabla.Columnas() < ColumnasUH) tabla.PonerColumnas(ColumnasUH);
    if (tabla.Filas() < n + 1) {
        const int antes = tabla.Filas();
        tabla.PonerFilas(n + 1);
        for (int f = std::max(antes, 1); f <= n; ++f)
            tabla.PonerTexto(f, 0, QString::number(f));
    }
    for (int i = 1; i <= n; ++i) {
        UnidadHomogenea& u = proyecto.UH[i];
        tabla.PonerTexto(i, ColCodigoTramo, u.CodigoTramo);
        tabla.PonerTexto(i, ColDescripcion, u.Descripcion);
        tabla.PonerTexto(i, ColTipoTramo, EntradaLista(ListaTipoTramo, u.TipoTramo, 1));
        tabla.PonerTexto(i, ColTipoSegmento, EntradaLista(ListaTipoSegmento, u.TipoSegmento, 1));
        PonerNumero(tabla, i, ColAbscisaInicial, u.AbscisaInicial);
        PonerNumero(tabla, i, ColAbscisaFinal, u.AbscisaFinal);
        PonerNumero(tabla, i, ColAnchoCorona, u.AnchoCorona);
        PonerNumero(tabla, i, ColEjesEquivalentes, u.EjesEquivalentes);
        tabla.PonerTexto(i, ColClimaHumedad, EntradaLista(ListaClimaHumedad, u.ClimaHumedad));
        tabla.PonerTexto(i, ColClimaTemperatura,
                         EntradaLista(ListaClimaTemperatura, u.ClimaTemperatura));
        PonerNumero(tabla, i, ColCBR, u.CBR);
        tabla.PonerTexto(i, ColTipoTerreno, EntradaLista(ListaTipoTerreno, u.TipoTerreno));
        const QString afirmado = EntradaLista(ListaTipoAfirmado, u.TipoAfirmado);
        tabla.PonerTexto(i, ColTipoAfirmado, afirmado);
        // Sin afirmado existente no hay espesor de afirmado; con él, no hay capa
        // de subrasante. Lo que la regla quita se anota para decirlo.
        const auto quitar = [&](double& espesor, int columna) {
            if (cambios && espesor != 0)
                cambios->append(
                    {u.CodigoTramo, u.AbscisaInicial, u.AbscisaFinal, columna, espesor});
            espesor = 0;
        };
        if (afirmado == ListaTipoAfirmado.first()) quitar(u.EspesorAfirmado, ColEspesorAfirmado);
        PonerNumero(tabla, i, ColEspesorAfirmado, u.EspesorAfirmado);
        if (u.EspesorAfirmado > 0) quitar(u.EspesorSubrasante, ColEspesorSubrasante);
        PonerNumero(tabla, i, ColEspesorSubrasante, u.EspesorSubrasante);
    }
    const QString vacio;
    for (int f = n + 1; f < tabla.Filas(); ++f)
        for (int c = 1; c < ColumnasUH; ++c)
            tabla.PonerTexto(f, c, vacio);
}

// Las piezas se escriben en la clave reservada: una sola reserva por clave.
QString ClaveUnidad(const UnidadHomogenea& unidad, int i) {
    QString clave;
    clave.reserve(unidad.CodigoTramo.size() + 84);
    AgregarJustificado(clave, RecortarVista(unidad.CodigoTramo), 20, u' ', false);
    AgregarAbscisa(clave, unidad.AbscisaInicial);
    AgregarAbscisa(clave, unidad.AbscisaFinal);
    // El índice con ceros delante hasta 4 cifras.
    char cifras[16];
    AgregarJustificado(clave, EnteroEn(i, cifras), 4, u'0', false);
    return clave;
}

QString ClaveCursor(const TablaTextos& tabla, int fila) {
    const QString& codigo = tabla.Texto(fila, ColCodigoTramo);
    QString clave;
    clave.reserve(codigo.size() + 80);
    clave.append(codigo);
    AgregarAbscisa(clave, NumeroCeldaUH(tabla, fila, ColAbscisaInicial));
    AgregarAbscisa(clave, NumeroCeldaUH(tabla, fila, ColAbscisaFinal));
    return clave;
}

void OrdenarShell(QList<int>& indice, QStringList& clave, int primero, int ultimo, bool ascendente,
                  EtiquetaProgreso* progreso) {
    if (ultimo <= primero) return;
    if (progreso) progreso->Mostrar(true);
    const bool conIndice = !indice.isEmpty();
    int salto = (primero + ultimo) / 2;
    while (salto >= 1) {
        int limite = ultimo - salto;
        int ultimoCambio = 0;
        do {
            ultimoCambio = 0;
            for (int i = primero; i <= limite; ++i) {
                // QString compara código a código de carácter, sin reglas de idioma.
                const bool cambiar =
                    ascendente ? clave[i + salto] < clave[i] : clave[i] < clave[i + salto];
                if (cambiar) {
                    clave.swapItemsAt(i, i + salto);
                    if (conIndice) indice.swapItemsAt(i, i + salto);
                    ultimoCambio = i;
                }
            }
            limite = ultimoCambio - salto;
        } while (ultimoCambio != 0);
        salto /= 2;
        if (progreso) {
            const double p = RedondearPar((1.0 - double(salto) / (ultimo - primero)) * 100.0);
            if (static_cast<long long>(p) % 5 == 0)
                progreso->PonerTexto(QString::number(static_cast<long long>(p)) + u'%');
        }
    }
    if (progreso) progreso->Mostrar(false);
}

void DepurarProyecto(Proyecto& proyecto) {
    const int n = std::clamp(proyecto.NumeroUH, 0, proyecto.CapacidadUH());
    QStringList clave(n + 1);
    QList<int> indice(n + 1);
    for (int i = 1; i <= n; ++i) {
        clave[i] = ClaveUnidad(proyecto.UH[i], i);
        indice[i] = i;
    }
    OrdenarShell(indice, clave, 1, n, true);

    // Las unidades se mueven, no se copian: cada copia tocaría once textos.
    QList<UnidadHomogenea> copia;
    copia.reserve(n);
    for (int i = 1; i <= n; ++i)
        copia.append(std::move(proyecto.UH[i]));
    int m = 0;
    for (int i = 1; i <= n; ++i) {
        // Las claves son distintas (llevan la posición): toda unidad queda.
        if (clave[i] == clave[i - 1]) continue;
        proyecto.UH[++m] = std::move(copia[indice[i] - 1]);
    }
    proyecto.NumeroUH = m;
}

int RevisarUH(Proyecto& proyecto, TablaTextos& tabla, int filaCursor,
              QList<CeldaRechazada>* rechazadas, QList<CambioRegla>* cambios) {
    const QString claveCursor = ClaveCursor(tabla, filaCursor);
    int n = 0;
    for (int r = 1; r < tabla.Filas(); ++r) {
        if (tabla.Texto(r, ColCodigoTramo).isEmpty()) continue;
        ++n;
        if (n > proyecto.CapacidadUH()) proyecto.AsegurarCapacidad(proyecto.CapacidadUH() + n);
        proyecto.UH[n] = LeerFila(proyecto, tabla, r, rechazadas);
    }
    proyecto.NumeroUH = n;
    DepurarProyecto(proyecto);
    CargarUH(proyecto, tabla, cambios);
    for (int i = 1; i <= proyecto.NumeroUH; ++i) {
        const QString& codigo = tabla.Texto(i, ColCodigoTramo);
        // La clave empieza por el código: sin ese comienzo no hace falta formatearla.
        if (codigo.isEmpty() || !claveCursor.startsWith(codigo)) continue;
        if (ClaveCursor(tabla, i) == claveCursor) return i;
    }
    return filaCursor;
}

QList<int> UnidadesQuitadasUH(const Proyecto& proyecto, const TablaTextos& tabla) {
    // La fila i de la tabla es la unidad i desde la última revisión: ninguna
    // edición mueve filas.
    QList<int> quitadas;
    const int n = std::min({proyecto.NumeroUH, proyecto.CapacidadUH(), tabla.Filas() - 1});
    for (int i = 1; i <= n; ++i)
        if (tabla.Texto(i, ColCodigoTramo).isEmpty() && !proyecto.UH[i].CodigoTramo.isEmpty())
            quitadas << i;
    return quitadas;
}

QString TextoUnidadesQuitadas(const Proyecto& proyecto, const QList<int>& unidades,
                              SeparadorDecimal separador) {
    if (unidades.isEmpty()) return {};
    constexpr qsizetype Nombradas = 3;
    QStringList nombres;
    for (qsizetype k = 0; k < std::min(unidades.size(), Nombradas); ++k) {
        const UnidadHomogenea& u = proyecto.UH[unidades[k]];
        nombres << QStringLiteral("[%1, %2 - %3]")
                       .arg(u.CodigoTramo,
                            TextoVentana(Formato(u.AbscisaInicial, MascaraAbscisa), separador),
                            TextoVentana(Formato(u.AbscisaFinal, MascaraAbscisa), separador));
    }
    QString lista = nombres.join(QStringLiteral(", "));
    if (unidades.size() > Nombradas)
        lista += QStringLiteral(" y %1 más").arg(unidades.size() - Nombradas);
    return unidades.size() == 1
               ? QStringLiteral("Se quitó la unidad %1 — Ctrl+Z la recupera").arg(lista)
               : QStringLiteral("Se quitaron las unidades %1 — Ctrl+Z las recupera").arg(lista);
}

TablaTextos PrepararTablaUH(Proyecto& proyecto, SeparadorDecimal separador) {
    TablaTextos tabla(FilasTablaUH(proyecto), ColumnasUH);
    tabla.PonerSeparador(separador);
    NumerarFilas(tabla);
    CargarUH(proyecto, tabla);
    RevisarUH(proyecto, tabla, 1);
    return tabla;
}
