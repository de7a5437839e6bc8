#include "units/ImportarUH.h"

#include "common/EntradaDatos.h"
#include "common/Numeros.h"

#include <QSet>

#include <algorithm>

namespace {

// Sin mayúsculas ni tildes, sin lo que va entre paréntesis o corchetes (las
// unidades), con blancos en lugar de signos y sin artículos ni preposiciones:
// "Espesor Capa de Subrasante (cm)" es "espesor capa subrasante".
QString NormalizarTitulo(QStringView titulo) {
    static constexpr QStringView vacias[] = {u"de", u"del", u"la", u"el", u"los", u"las",
                                             u"en", u"por", u"y",  u"of", u"the"};
    const QString normal = Normalizar(titulo);
    // Las palabras se juntan sin listas intermedias: se prueban todas las celdas de
    // texto de cada fila.
    QString r;
    QString palabra;
    const auto cerrarPalabra = [&] {
        if (palabra.isEmpty()) return;
        if (std::find(std::begin(vacias), std::end(vacias), palabra) == std::end(vacias)) {
            if (!r.isEmpty()) r += u' ';
            r += palabra;
        }
        palabra.resize(0);
    };
    int nivel = 0;
    for (const QChar c : normal) {
        if (c == u'(' || c == u'[') {
            ++nivel;
        } else if (c == u')' || c == u']') {
            nivel = std::max(0, nivel - 1);
        } else if (nivel == 0) {
            if (c.isLetterOrNumber())
                palabra += c;
            else
                cerrarPalabra();
        }
    }
    cerrarPalabra();
    return r;
}

struct NombresColumna {
    int Columna;
    QStringList Nombres; // ya normalizados
};

// Los nombres con que las hojas de cálculo titulan cada columna; un título que
// empieza con uno de ellos (seguido de más palabras) también la nombra, y gana
// el nombre más largo: "ejes equivalentes 80 kn", "clima temperatura".
const QList<NombresColumna>& Nombres() {
    static const QList<NombresColumna> nombres = {
        {ColCodigoTramo,
         {"codigo tramo", "codigo", "cod tramo", "cod", "tramo", "codigo unidad", "code", "section",
          "id tramo"}},
        {ColDescripcion, {"descripcion", "desc", "nombre", "description", "name"}},
        {ColTipoTramo, {"tipo tramo", "section type"}},
        {ColTipoSegmento, {"tipo segmento", "segmento", "segment type"}},
        {ColAbscisaInicial,
         {"abscisa inicial", "abscisa inicio", "abs inicial", "abscisa ini", "inicio", "desde",
          "pr inicial", "km inicial", "k inicial", "abscisa desde", "start", "from", "begin",
          "chainage from", "chainage start", "station from", "station start"}},
        {ColAbscisaFinal,
         {"abscisa final", "abscisa fin", "abs final", "fin", "final", "hasta", "pr final",
          "km final", "k final", "abscisa hasta", "end", "to", "chainage to", "chainage end",
          "station to", "station end"}},
        {ColAnchoCorona, {"ancho corona", "ancho", "ancho calzada", "width"}},
        {ColEjesEquivalentes,
         {"ejes equivalentes", "w18", "n18", "esal", "esals", "numero ejes equivalentes", "nee",
          "transito", "ejes"}},
        {ColClimaHumedad,
         {"clasificacion climatica humedad", "clima humedad", "humedad", "clima", "moisture",
          "humidity"}},
        {ColClimaTemperatura,
         {"clasificacion climatica temperatura", "clima temperatura", "temperatura",
          "temperature"}},
        {ColCBR, {"cbr"}},
        {ColTipoTerreno, {"tipo terreno", "terreno", "terrain"}},
        {ColTipoAfirmado,
         {"tipo afirmado", "tipo afirmado existente", "afirmado", "afirmado existente", "gravel",
          "existing gravel", "gravel type"}},
        {ColEspesorAfirmado,
         {"espesor afirmado", "espesor afirmado existente", "esp afirmado", "e afirmado",
          "gravel thickness", "existing gravel thickness"}},
        {ColEspesorSubrasante,
         {"espesor capa subrasante", "espesor subrasante", "capa subrasante", "esp subrasante",
          "e subrasante", "subgrade thickness", "subgrade layer thickness"}},
    };
    return nombres;
}

// El número de unidad que traen algunas hojas (la de resultados de Varek-9).
bool EsNumeroUnidad(const QString& normal) {
    static const QSet<QString> nombres = {QStringLiteral("uh"),   QStringLiteral("n"),
                                          QStringLiteral("no"),   QStringLiteral("numero"),
                                          QStringLiteral("item"), QStringLiteral("unidad")};
    return nombres.contains(normal);
}

bool CeldaVacia(const CeldaHoja& celda) {
    return !celda.EsNumero && celda.Texto.trimmed().isEmpty();
}

bool CeldaEsNumero(const CeldaHoja& celda) {
    return celda.EsNumero || LeerNumeroEscrito(celda.Texto.trimmed()).EsNumero;
}

// Las columnas distintas que nombran las celdas de texto de la fila; reconocidas
// cuenta también la del número de unidad.
struct TitulosFila {
    int Nombradas = 0;
    int Reconocidas = 0;
    bool HayNumero = false;
};
TitulosFila ContarTitulos(const QList<CeldaHoja>& fila) {
    TitulosFila t;
    QSet<int> vistas;
    for (const CeldaHoja& c : fila) {
        if (CeldaVacia(c)) continue;
        if (CeldaEsNumero(c)) {
            t.HayNumero = true;
            continue;
        }
        const int columna = ColumnaDeTituloUH(c.Texto);
        if (columna != 0) ++t.Reconocidas;
        if (columna > 0 && !vistas.contains(columna)) {
            vistas.insert(columna);
            ++t.Nombradas;
        }
    }
    return t;
}

// La primera fila es de títulos si nombra una columna y reconoce otra, o si nombra
// una y no tiene números. Más abajo (tras un título de la hoja, o donde empieza
// otra tabla) se pide más: ningún número y dos títulos reconocidos, que una fila
// de datos no tiene.
bool EsPrimeraFilaTitulos(const QList<CeldaHoja>& fila) {
    const TitulosFila t = ContarTitulos(fila);
    return (t.Nombradas >= 1 && t.Reconocidas >= 2) || (t.Nombradas == 1 && !t.HayNumero);
}
bool EsFilaTitulos(const QList<CeldaHoja>& fila) {
    // Casi todas las filas son de datos: con un número basta, sin buscar nombres.
    if (std::any_of(fila.begin(), fila.end(), CeldaEsNumero)) return false;
    const TitulosFila t = ContarTitulos(fila);
    return t.Nombradas >= 1 && t.Reconocidas >= 2;
}

// Filas en que se buscan los títulos bajo un encabezado de la hoja.
constexpr int FilasBuscarTitulos = 10;

QString Comillas(const QString& texto) {
    return u'"' + texto + u'"';
}

} // namespace

int ColumnaDeTituloUH(QStringView titulo) {
    const QString normal = NormalizarTitulo(titulo);
    if (normal.isEmpty()) return titulo.contains(u'#') ? -1 : 0;
    if (EsNumeroUnidad(normal)) return -1;
    // Los nombres en orden alfabético: se busca cada comienzo del título que termina
    // en un blanco, del más largo al más corto, sin recorrer todos los nombres.
    struct NombreOrdenado {
        QString Nombre;
        int Columna;
    };
    struct Ordenados {
        QList<NombreOrdenado> Nombres;
        qsizetype Palabras = 0; // las del nombre más largo
    };
    static const Ordenados ordenados = [] {
        Ordenados o;
        for (const NombresColumna& n : Nombres())
            for (const QString& nombre : n.Nombres) {
                o.Nombres.append({nombre, n.Columna});
                o.Palabras = std::max(o.Palabras, nombre.count(u' ') + 1);
            }
        std::sort(
            o.Nombres.begin(), o.Nombres.end(),
            [](const NombreOrdenado& a, const NombreOrdenado& b) { return a.Nombre < b.Nombre; });
        return o;
    }();
    qsizetype fin = 0;
    for (qsizetype p = 0; p < ordenados.Palabras && fin >= 0; ++p)
        fin = normal.indexOf(u' ', fin + (p > 0));
    QStringView comienzo = fin < 0 ? QStringView(normal) : QStringView(normal).left(fin);
    while (!comienzo.isEmpty()) {
        const auto n = std::lower_bound(
            ordenados.Nombres.begin(), ordenados.Nombres.end(), comienzo,
            [](const NombreOrdenado& a, QStringView b) { return QStringView(a.Nombre) < b; });
        if (n != ordenados.Nombres.end() && n->Nombre == comienzo) return n->Columna;
        comienzo = comienzo.left(std::max<qsizetype>(comienzo.lastIndexOf(u' '), 0));
    }
    return 0;
}

LecturaUnidades LeerUnidadesArchivo(const QByteArray& datos, const QString& hoja) {
    LecturaUnidades l;
    l.Hoja = LeerHoja(datos, hoja);
    if (!l.Hoja.Error.isEmpty()) {
        l.Error = l.Hoja.Error;
        return l;
    }
    const QList<QList<CeldaHoja>>& filas = l.Hoja.Filas;
    const auto filaVacia = [](const QList<CeldaHoja>& f) {
        return std::all_of(f.begin(), f.end(), CeldaVacia);
    };
    qsizetype primera = 0;
    while (primera < filas.size() && filaVacia(filas[primera]))
        ++primera;
    if (primera == filas.size()) {
        l.Error = QStringLiteral("El archivo no tiene filas de unidades.");
        return l;
    }
    l.ConTitulos = EsPrimeraFilaTitulos(filas[primera]);
    // Un título de la hoja ("Proyecto...", "Unidades") puede ir sobre los títulos.
    for (qsizetype f = primera + 1, vistas = 1;
         !l.ConTitulos && f < filas.size() && vistas < FilasBuscarTitulos; ++f) {
        if (filaVacia(filas[f])) continue;
        ++vistas;
        if (EsFilaTitulos(filas[f])) {
            l.ConTitulos = true;
            l.FilasSaltadas = int(f);
            primera = f;
        }
    }
    if (l.ConTitulos) {
        QSet<int> tomadas;
        for (const CeldaHoja& c : filas[primera]) {
            ColumnaArchivo columna{c.EsNumero ? TextoExacto(c.Numero, SeparadorDecimal::Punto)
                                              : c.Texto.trimmed()};
            const int k = std::max(0, ColumnaDeTituloUH(columna.Titulo));
            columna.Repetida = k > 0 && tomadas.contains(k);
            if (k > 0 && !columna.Repetida) {
                columna.Columna = k;
                tomadas.insert(k);
            }
            l.Columnas << columna;
        }
        if (!tomadas.contains(ColCodigoTramo)) {
            l.Error = QStringLiteral(
                          "La fila %1 del archivo tiene títulos, pero ninguno es el del código "
                          "de tramo (\"Código Tramo\"): sin código las filas no forman unidades.")
                          .arg(primera + 1);
            return l;
        }
        ++primera;
    } else {
        // Sin títulos, las columnas van en el orden de la grilla, desde el código.
        qsizetype ancho = 0;
        for (qsizetype f = primera; f < filas.size(); ++f)
            ancho = std::max(ancho, filas[f].size());
        for (qsizetype c = 0; c < ancho; ++c)
            l.Columnas << ColumnaArchivo{QString(), c + 1 < ColumnasUH ? int(c) + 1 : 0};
    }
    for (qsizetype f = primera; f < filas.size(); ++f) {
        // Otra tabla debajo (la hoja siguiente de un CSV de varias hojas) no es de unidades.
        if (l.ConTitulos && EsFilaTitulos(filas[f])) {
            l.FinTabla = int(f) + 1;
            break;
        }
        QList<CeldaHoja> fila(ColumnasUH - 1);
        for (qsizetype c = 0; c < filas[f].size() && c < l.Columnas.size(); ++c)
            if (const int k = l.Columnas[c].Columna; k > 0) fila[k - 1] = filas[f][c];
        // Sin nada en las columnas que se toman, la fila no trae una unidad.
        if (filaVacia(fila)) continue;
        l.Filas << fila;
        l.FilasArchivo << int(f) + 1;
    }
    if (l.Filas.isEmpty())
        l.Error = QStringLiteral("El archivo no tiene filas de unidades debajo de sus títulos.");
    return l;
}

bool ImportacionUH::HayRechazadas() const {
    return std::any_of(Pegado.Notas.begin(), Pegado.Notas.end(), [](const CeldaNotada& c) {
        return c.Nota == NotaPegado::NoEsNumero || c.Nota == NotaPegado::SinEntrada ||
               c.Nota == NotaPegado::EntradaAmbigua || c.Nota == NotaPegado::Negativo;
    });
}

int ImportacionUH::FilaArchivo(int filaTabla) const {
    return Lectura.FilasArchivo.value(filaTabla - Fila, 0);
}

ImportacionUH PrepararImportacionUH(const TablaTextos& tabla, int numeroUH, LecturaUnidades lectura,
                                    SeparadorDecimal preferencia) {
    ImportacionUH imp;
    imp.Lectura = std::move(lectura);
    imp.Tabla = tabla;
    imp.Fila = numeroUH + 1;
    if (!imp.Lectura.Error.isEmpty()) return imp;
    // Debajo de la última unidad; con la tabla llena, la fila se agrega antes.
    if (imp.Tabla.Filas() <= imp.Fila) {
        imp.Tabla.PonerFilas(imp.Fila + 1);
        NumerarFilas(imp.Tabla);
    }
    imp.Pegado = PegarCeldasUH(imp.Tabla, imp.Lectura.Filas, imp.Fila, preferencia);
    for (int i = 0; i < imp.Lectura.Filas.size(); ++i) {
        const int f = imp.Fila + i;
        // Como en la revisión: un código de blancos también forma unidad.
        if (imp.Tabla.Texto(f, ColCodigoTramo).isEmpty())
            imp.SinCodigo << imp.Lectura.FilasArchivo[i];
        // La revisión no toma un negativo en estas columnas: se dice antes.
        for (const int c : ColumnasSinNegativosUH)
            if (!imp.Tabla.Texto(f, c).isEmpty() && NumeroCeldaUH(imp.Tabla, f, c) < 0)
                imp.Pegado.Notas.append({f, c, NotaPegado::Negativo,
                                         imp.Tabla.Texto(f, c).trimmed(),
                                         NumeroCeldaUH(imp.Tabla, f, c), QString()});
    }
    return imp;
}

QString TextoLecturaUH(const LecturaUnidades& lectura) {
    const LecturaHoja& h = lectura.Hoja;
    QString como;
    if (!h.Hoja.isEmpty()) {
        como = QStringLiteral("Hoja \"%1\" del libro XLSX").arg(h.Hoja);
        if (h.Hojas.size() > 1)
            como += QStringLiteral(" (sus hojas: %1)").arg(h.Hojas.join(QStringLiteral(", ")));
    } else {
        const QString delimitador = h.Delimitador == u'\t' ? QStringLiteral("tabuladores")
                                                           : Comillas(QString(h.Delimitador));
        como = QStringLiteral("CSV separado por %1, en %2").arg(delimitador, h.Codificacion);
    }
    como += u'.';
    if (!lectura.Error.isEmpty()) return como;
    if (!lectura.ConTitulos)
        return como + QStringLiteral(" Sin fila de títulos: las columnas se toman por su posición, "
                                     "desde Código Tramo.");
    QStringList tomadas;
    for (const ColumnaArchivo& c : lectura.Columnas)
        if (c.Columna > 0)
            tomadas << Comillas(c.Titulo) + QStringLiteral(" → ") + NombreColumnaUH(c.Columna);
    return como + QStringLiteral(" Columnas por su título: ") + tomadas.join(QStringLiteral(", ")) +
           u'.';
}

QString TextoImportacionUH(const ImportacionUH& imp, SeparadorDecimal preferencia) {
    if (!imp.Lectura.Error.isEmpty()) return imp.Lectura.Error;
    QStringList partes;
    QStringList noTomadas;
    QStringList repetidas;
    for (const ColumnaArchivo& c : imp.Lectura.Columnas) {
        if (c.Repetida)
            repetidas << Comillas(c.Titulo);
        else if (c.Columna == 0 && imp.Lectura.ConTitulos && !c.Titulo.isEmpty() &&
                 ColumnaDeTituloUH(c.Titulo) == 0)
            noTomadas << Comillas(c.Titulo);
    }
    if (!imp.Lectura.ConTitulos && imp.Lectura.Columnas.size() >= ColumnasUH)
        noTomadas << QStringLiteral("las que siguen a la %1.ª").arg(ColumnasUH - 1);
    if (imp.Lectura.FilasSaltadas > 0)
        partes << QStringLiteral("Los títulos están en la fila %1: no se toman las filas de "
                                 "encima.")
                      .arg(imp.Lectura.FilasSaltadas + 1);
    if (imp.Lectura.FinTabla > 0)
        partes << QStringLiteral("Las unidades terminan en la fila %1, donde empiezan otros "
                                 "títulos: no se toma lo que sigue.")
                      .arg(imp.Lectura.FinTabla);
    if (!noTomadas.isEmpty())
        partes << QStringLiteral("No se toman estas columnas del archivo: %1.")
                      .arg(noTomadas.join(QStringLiteral(", ")));
    if (!repetidas.isEmpty())
        partes << QStringLiteral("Estas columnas repiten una que ya se toma y no se toman: %1.")
                      .arg(repetidas.join(QStringLiteral(", ")));
    // Las celdas se nombran por la fila del archivo, que es la que el usuario ve.
    ResultadoPegado pegado = imp.Pegado;
    for (CeldaNotada& c : pegado.Notas)
        c.Fila = imp.FilaArchivo(c.Fila);
    const QString celdas = TextoPegado(pegado, preferencia, true);
    if (!pegado.Notas.isEmpty())
        partes << QStringLiteral("Las filas son las del archivo.\n\n") + celdas;
    else if (!celdas.isEmpty())
        partes << celdas;
    if (!imp.SinCodigo.isEmpty()) {
        QStringList filas;
        for (qsizetype i = 0; i < imp.SinCodigo.size() && i < 20; ++i)
            filas << QString::number(imp.SinCodigo[i]);
        if (imp.SinCodigo.size() > 20)
            filas << QStringLiteral("(y %1 más)").arg(imp.SinCodigo.size() - 20);
        partes << QStringLiteral("Estas filas del archivo no tienen código de tramo y no forman "
                                 "unidades: %1.")
                      .arg(filas.join(QStringLiteral(", ")));
    }
    return partes.join(QStringLiteral("\n\n"));
}

QString NombreImportacion(int filas) {
    return filas == 1 ? QStringLiteral("Importar 1 fila")
                      : QStringLiteral("Importar %1 filas").arg(filas);
}
