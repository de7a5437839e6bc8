// El diagrama lineal visto por lo que dibuja: cada página SVG leída de vuelta, con
// la geometría que se espera de las abscisas y los espesores (posiciones a escala,
// capas apiladas, recortes del rayado dentro de su columna, rótulos y rejilla).
#include "Archivos.h"
#include "Muestras.h"
#include "Poppler.h"
#include "Pruebas.h"

#include "alternatives/DiagramaLineal.h"
#include "alternatives/DispositivoSvg.h"
#include "alternatives/PintarDiagrama.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Las coordenadas se escriben con dos decimales.
constexpr double Tolerancia = 0.03;

struct ElementoSvg {
    QString Tipo;
    QString Grupo; // "UH3", o vacío fuera de las unidades
    int Recorte = 0;
    QHash<QString, QString> Atributos;
    QString Texto;
    double N(const QString& nombre) const { return Atributos.value(nombre).toDouble(); }
    QString A(const QString& nombre) const { return Atributos.value(nombre); }
    QRectF Rect() const { return {N(u"x"_s), N(u"y"_s), N(u"width"_s), N(u"height"_s)}; }
    bool Girado() const { return Atributos.contains(u"transform"_s); }
    // El punto de anclaje de un texto en la hoja, tras su transformación.
    QPointF Ancla() const {
        const QStringList m = A(u"transform"_s).section(u'(', 1).chopped(1).split(u' ');
        const auto v = [&](int k) { return m.value(k).toDouble(); };
        return {v(0) * N(u"x"_s) + v(2) * N(u"y"_s) + v(4),
                v(1) * N(u"x"_s) + v(3) * N(u"y"_s) + v(5)};
    }
};

struct PaginaSvg {
    QString Ancho, Alto, Titulo;
    QHash<int, QRectF> Recortes;
    QList<ElementoSvg> Elementos;
    QStringList Grupos;
    QHash<QString, QString> Descripciones;

    QList<ElementoSvg> De(const QString& grupo, const QString& tipo) const {
        QList<ElementoSvg> r;
        for (const ElementoSvg& e : Elementos)
            if (e.Grupo == grupo && e.Tipo == tipo) r << e;
        return r;
    }
    QStringList Textos(const QString& grupo) const {
        QStringList r;
        for (const ElementoSvg& e : De(grupo, u"text"_s))
            r << e.Texto;
        return r;
    }
};

QRectF Envolvente(const QString& trazado) {
    static const QRegularExpression punto(u"(-?[0-9.]+),(-?[0-9.]+)"_s);
    QList<double> xs, ys;
    for (const auto& m : punto.globalMatch(trazado)) {
        xs << m.captured(1).toDouble();
        ys << m.captured(2).toDouble();
    }
    if (xs.isEmpty()) return {};
    const auto [x0, x1] = std::minmax_element(xs.begin(), xs.end());
    const auto [y0, y1] = std::minmax_element(ys.begin(), ys.end());
    return QRectF(QPointF(*x0, *y0), QPointF(*x1, *y1));
}

PaginaSvg LeerSvg(const QByteArray& bytes) {
    PaginaSvg pg;
    QXmlStreamReader x(bytes);
    QList<std::pair<QString, int>> pila; // grupo y recorte de cada <g> abierto
    int recorteDefinido = 0;
    static const QRegularExpression url(u"url\\(#recorte([0-9]+)\\)"_s);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && x.name() == u"g") pila.removeLast();
        if (!x.isStartElement()) continue;
        const QString tipo = x.name().toString();
        QHash<QString, QString> atributos;
        for (const QXmlStreamAttribute& a : x.attributes())
            atributos.insert(a.name().toString(), a.value().toString());
        if (tipo == u"svg") {
            pg.Ancho = atributos.value(u"width"_s);
            pg.Alto = atributos.value(u"height"_s);
        } else if (tipo == u"title") {
            pg.Titulo = x.readElementText();
        } else if (tipo == u"clipPath") {
            recorteDefinido = atributos.value(u"id"_s).mid(7).toInt();
        } else if (tipo == u"g") {
            const QString id = atributos.value(u"id"_s);
            int recorte = pila.isEmpty() ? 0 : pila.last().second;
            const auto m = url.match(atributos.value(u"clip-path"_s));
            if (m.hasMatch()) recorte = m.captured(1).toInt();
            if (!id.isEmpty()) pg.Grupos << id;
            pila.append({id.isEmpty() && !pila.isEmpty() ? pila.last().first : id, recorte});
        } else if (tipo == u"desc") {
            pg.Descripciones.insert(pila.isEmpty() ? QString() : pila.last().first,
                                    x.readElementText());
        } else if (tipo == u"path" && recorteDefinido > 0 && pila.isEmpty()) {
            pg.Recortes.insert(recorteDefinido, Envolvente(atributos.value(u"d"_s)));
            recorteDefinido = 0;
        } else {
            ElementoSvg e;
            e.Tipo = tipo;
            e.Atributos = atributos;
            if (!pila.isEmpty()) {
                e.Grupo = pila.last().first;
                e.Recorte = pila.last().second;
            }
            if (tipo == u"text") e.Texto = x.readElementText();
            pg.Elementos << e;
        }
    }
    return pg;
}

bool Cerca(double a, double b) {
    return std::abs(a - b) <= Tolerancia;
}

// Unidades seguidas de los tramos dados (en metros), todas con alternativa salvo la
// indicada (su CBR en 0).
ModuloVarek9& Tramos(ModuloVarek9& m, const QList<QPointF>& tramos, int sinAlternativa) {
    ProyectoDeDiseno(m, static_cast<int>(tramos.size()));
    for (int i = 1; i <= tramos.size(); ++i) {
        UnidadHomogenea& u = m.Proyecto.UH[i];
        u.AbscisaInicial = tramos[i - 1].x();
        u.AbscisaFinal = tramos[i - 1].y();
        // En un camino largo, códigos largos: las columnas se ensanchan para que se lean.
        u.CodigoTramo = tramos.size() > 100 ? u"T%1-TRAMO-LARGO"_s.arg(i) : u"T%1"_s.arg(i);
        // Tránsito y CBR con alternativa en todas las estructuras.
        u.EjesEquivalentes = 150000 + 1000 * i;
        u.CBR = i == sinAlternativa ? 0 : 6;
        // Una de cada dos con la alternativa 3, que empieza con una mezcla con espesor.
        u.AlternativaSeleccionada = static_cast<qint16>(i % 2 ? 0 : 3);
    }
    return m;
}

QString Hex(const QColor& c) {
    return c.name(QColor::HexRgb);
}

} // namespace

class PruebasDiagramaSvg : public QObject {
    Q_OBJECT

private slots:
    void paginas_data() {
        Columnas<QList<QPointF>, int, int, int>({"tramos", "sinAlternativa", "huecos", "solapes"});
        QTest::newRow("una unidad") << QList<QPointF>{{0, 1000}} << 0 << 0 << 0;
        QTest::newRow("seguidas") << QList<QPointF>{{0, 1000}, {1000, 3000}, {3000, 3500}} << 0 << 0
                                  << 0;
        QTest::newRow("hueco") << QList<QPointF>{{0, 1000}, {1500, 2500}} << 2 << 1 << 0;
        QTest::newRow("solape") << QList<QPointF>{{0, 1000}, {800, 1800}} << 0 << 0 << 1;
        QTest::newRow("sin alternativa") << QList<QPointF>{{0, 1000}, {1000, 2000}} << 2 << 0 << 0;
        QTest::newRow("abscisas al revés")
            << QList<QPointF>{{1000, 0}, {1000, 2000}} << 0 << 0 << 0;
        QList<QPointF> largo;
        for (int i = 0; i < 134; ++i)
            largo << QPointF(100.0 * i, 100.0 * (i + 1));
        QTest::newRow("camino largo") << largo << 67 << 0 << 0;
    }
    void paginas() {
        TOMAR((tramos, sinAlternativa, huecos, solapes), QList<QPointF>, int, int, int);
        ModuloVarek9 m;
        const DiagramaLineal d = CalcularDiagrama(Tramos(m, tramos, sinAlternativa));
        QTemporaryDir dir;
        QStringList escritos;
        QCOMPARE(ExportarDiagrama(dir.filePath(u"d.svg"_s), d, {u"P"_s, u"Vía"_s, u"Loma"_s, {}},
                                  &escritos),
                 QString());
        const qsizetype n = escritos.size();
        QVERIFY(tramos.size() > 100 ? n > 1 : n == 1);
        QStringList vistas;
        int huecosVistos = 0, solapesVistos = 0;
        double pasoRayado = 0; // el de la unidad sin alternativa
        // La letra medida como la mide la hoja SVG (A4 apaisada a 1200 ppp).
        DispositivoSvg hoja(QSizeF(297 / 25.4 * 1200, 210 / 25.4 * 1200), 1200);
        const QFontMetricsF letra(LetraDiagrama(), &hoja);
        for (qsizetype k = 0; k < n; ++k) {
            QCOMPARE(escritos[k], dir.filePath(n == 1 ? u"d.svg"_s : u"d-%1.svg"_s.arg(k + 1)));
            const PaginaSvg pg = LeerSvg(LeerBytes(escritos[k]));
            QCOMPARE(pg.Ancho + u'x' + pg.Alto, u"297mmx210mm"_s);
            QCOMPARE(
                pg.Titulo,
                n == 1
                    ? u"Diagrama lineal de estructuras [P]"_s
                    : u"Diagrama lineal de estructuras [P], página %1 de %2"_s.arg(k + 1).arg(n));
            QVERIFY(!pg.Grupos.isEmpty());
            vistas << pg.Grupos;
            // El cuadro del título dice la página.
            const QString pagina = u"     Página %1 de %2"_s.arg(k + 1).arg(n);
            QVERIFY(std::ranges::any_of(pg.Textos(QString()),
                                        [&](const QString& t) { return t.endsWith(pagina); }));

            // El cuadro del título a 10 mm del borde, con una línea en cada mitad; nada
            // (fuera de lo recortado) pasa de los márgenes de 10 mm.
            const double margen = 10 / 25.4 * 1200, ancho = 297 / 25.4 * 1200,
                         alto = 210 / 25.4 * 1200;
            const QList<ElementoSvg> fondo = pg.De(QString(), u"rect"_s);
            // La hoja entera en blanco, debajo de todo.
            QVERIFY(fondo.size() > 2 && fondo[0].A(u"fill"_s) == u"#ffffff" &&
                    Cerca(fondo[0].Rect().right(), ancho) &&
                    Cerca(fondo[0].Rect().bottom(), alto) &&
                    fondo[0].Rect().topLeft() == QPointF());
            // Las franjas del SN y del costo, enmarcadas en el gris de la rejilla.
            QCOMPARE(std::count_if(fondo.begin(), fondo.end(),
                                   [](const ElementoSvg& e) {
                                       return e.A(u"stroke"_s) == u"#c8c8c8" &&
                                              e.A(u"fill"_s) == u"none";
                                   }),
                     2);
            const QRectF cuadro = fondo[1].Rect();
            QVERIFY(Cerca(cuadro.left(), margen) && Cerca(cuadro.top(), margen));
            const double a = cuadro.height() / 2; // una línea de letra
            QVERIFY(a > 100 && a < 200);
            // Trazos finos (un píxel a cualquier escala), salvo el del SN: un octavo de línea.
            for (const ElementoSvg& e : pg.Elementos)
                if (const QString trazo = e.A(u"stroke"_s); trazo.startsWith(u'#'))
                    QVERIFY2(trazo == u"#0046aa" ? std::abs(e.N(u"stroke-width"_s) - a / 8) < 0.01
                                                 : e.A(u"stroke-width"_s) == u"1",
                             qPrintable(e.Tipo + u' ' + trazo));
            const QList<ElementoSvg> textos = pg.De(QString(), u"text"_s);
            // Las dos líneas del título, a un tercio de línea del borde del cuadro.
            QCOMPARE(textos[0].Texto,
                     u"DIAGRAMA LINEAL DE ESTRUCTURAS   Proyecto [P]  Vía  -  Loma"_s);
            // La primera, en negrita.
            QVERIFY(textos[1].Texto.startsWith(u"Abscisas "_s) &&
                    textos[0].A(u"font-weight"_s) + u'|' + textos[1].A(u"font-weight"_s) ==
                        u"bold|"_s);
            QVERIFY(Cerca(textos[0].N(u"x"_s), cuadro.left() + a / 3) &&
                    Cerca(textos[1].N(u"x"_s), cuadro.left() + a / 3));
            QVERIFY(textos[0].N(u"y"_s) > cuadro.top() && textos[0].N(u"y"_s) < cuadro.top() + a);
            QVERIFY(textos[1].N(u"y"_s) > cuadro.top() + a &&
                    textos[1].N(u"y"_s) < cuadro.bottom());
            for (const ElementoSvg& e : pg.Elementos) {
                if (e.Tipo != u"rect" && e.Tipo != u"line" && e.Tipo != u"text") continue;
                if (e.Recorte > 0 || e.Girado() ||
                    (e.Tipo == u"rect" && e.A(u"fill"_s) == u"#ffffff"))
                    continue;
                const bool linea = e.Tipo == u"line";
                const double x = linea ? std::min(e.N(u"x1"_s), e.N(u"x2"_s)) : e.N(u"x"_s);
                const double y =
                    linea ? std::max(e.N(u"y1"_s), e.N(u"y2"_s)) : e.N(u"y"_s) + e.N(u"height"_s);
                const double x2 =
                    linea ? std::max(e.N(u"x1"_s), e.N(u"x2"_s)) : e.N(u"x"_s) + e.N(u"width"_s);
                QVERIFY2(x >= margen - Tolerancia && x2 <= ancho - margen + Tolerancia &&
                             y <= alto - margen + Tolerancia,
                         qPrintable(e.Tipo + u' ' + e.Texto));
            }
            // Los totales de todo el camino, en miles de pesos.
            double longitud = 0, costo = 0;
            for (const ColumnaDiagrama& c : d.Columnas) {
                longitud += c.Hasta - c.Desde;
                costo += c.Costo;
            }
            const QLocale miles(QLocale::English);
            const auto totales = std::find_if(textos.begin(), textos.end(), [](const auto& t) {
                return t.Texto.startsWith(u"Longitud: "_s);
            });
            QVERIFY(totales != textos.end());
            // Pesos por metro son miles de pesos por km.
            QCOMPARE(totales->Texto,
                     u"Longitud: %1.00 m     Costo total de la selección: %2 miles de pesos"
                     u"     Promedio: %3 miles de pesos por km"_s.arg(
                         miles.toString(qRound64(longitud)), miles.toString(qRound64(costo / 1000)),
                         miles.toString(qRound64(costo / longitud))));

            // Cada columna: su caja, de la izquierda a la derecha de sus abscisas.
            struct Columna {
                QString Id;
                double Desde, Hasta;
                QRectF Caja;
            };
            QList<Columna> columnas;
            double lineaRotulo[2] = {-1, -1}; // las líneas del código y de la alternativa
            for (const QString& id : pg.Grupos) {
                const int i = id.mid(2).toInt();
                const QPointF t = tramos[i - 1];
                const double desde = std::min(t.x(), t.y()), hasta = std::max(t.x(), t.y());
                const QString codigo = m.Proyecto.UH[i].CodigoTramo;
                QVERIFY(pg.Descripciones.value(id).startsWith(
                    u"%1 %2 a %3 "_s.arg(codigo, TextoAbscisa(desde), TextoAbscisa(hasta))));
                // Las capas (sin el tratamiento, que es una franja encima), apiladas
                // desde la superficie y cada una tan alta como su espesor.
                QList<QRectF> capas;
                QRectF tratamiento, caja;
                int barrasCosto = 0; // la del costo por km, si la unidad tiene alternativa
                for (const ElementoSvg& e : pg.De(id, u"rect"_s)) {
                    barrasCosto += e.A(u"fill"_s) == Hex(QColor(120, 180, 120));
                    if (e.A(u"stroke"_s) == Hex(QColor(200, 0, 0))) caja = e.Rect();
                    if (e.A(u"fill"_s) == Hex(ColoresMaterial(CapaTSD).first))
                        tratamiento = e.Rect();
                    else if (e.A(u"stroke"_s) == u"#000000" && e.A(u"fill"_s) != u"none" &&
                             e.A(u"fill"_s) != Hex(QColor(120, 180, 120)))
                        capas << e.Rect();
                }
                static const QRegularExpression espesor(u" ([0-9]+\\.[0-9])(,|$)"_s);
                QList<double> espesores;
                for (const auto& c : espesor.globalMatch(pg.Descripciones.value(id)))
                    espesores << c.captured(1).toDouble();
                QCOMPARE(barrasCosto, i == sinAlternativa ? 0 : 1);
                if (i == sinAlternativa) {
                    QVERIFY(capas.isEmpty() && !caja.isNull());
                    // Rayada sin relleno, a 45 grados, toda la columna y nada fuera de ella.
                    const ElementoSvg cajaRoja = pg.De(id, u"rect"_s).first();
                    QCOMPARE(cajaRoja.A(u"fill"_s), u"none"_s);
                    QList<double> inicios;
                    for (const ElementoSvg& l : pg.De(id, u"line"_s)) {
                        if (l.A(u"stroke"_s) != Hex(QColor(200, 0, 0))) continue;
                        QVERIFY(l.Recorte > 0);
                        const QRectF r = pg.Recortes.value(l.Recorte);
                        QVERIFY(Cerca(r.left(), caja.left()) && Cerca(r.right(), caja.right()) &&
                                Cerca(r.top(), caja.top()) && Cerca(r.bottom(), caja.bottom()));
                        QVERIFY(Cerca(l.N(u"x2"_s) - l.N(u"x1"_s), caja.height()) &&
                                Cerca(l.N(u"y1"_s), caja.bottom()) &&
                                Cerca(l.N(u"y2"_s), caja.top()));
                        inicios << l.N(u"x1"_s);
                    }
                    QVERIFY(inicios.size() > 3);
                    const double paso = inicios[1] - inicios[0];
                    QVERIFY(Cerca(inicios.first(), caja.left() - caja.height()));
                    QVERIFY(inicios.last() < caja.right() && inicios.last() + paso >= caja.right());
                    for (qsizetype l = 1; l < inicios.size(); ++l)
                        QVERIFY(Cerca(inicios[l] - inicios[l - 1], paso));
                    pasoRayado = paso;
                    // Su texto, vertical desde abajo y centrado: la línea de base, a menos de
                    // media letra a la derecha del centro.
                    for (const ElementoSvg& t : pg.De(id, u"text"_s))
                        if (t.Texto == u"Sin alternativa"_s) {
                            const QPointF ancla = t.Ancla();
                            QVERIFY(ancla.x() > caja.center().x() &&
                                    ancla.x() < caja.center().x() + t.N(u"font-size"_s) / 2 &&
                                    Cerca(ancla.y(), caja.bottom()));
                        }
                    QVERIFY(pg.Textos(id).contains(u"Sin alternativa"_s));
                    QVERIFY(pg.Textos(id).contains(u"Sin alt."_s));
                } else {
                    QVERIFY2(!capas.isEmpty(), qPrintable(id));
                    QVERIFY(caja.isNull());
                    std::sort(capas.begin(), capas.end(),
                              [](const QRectF& a, const QRectF& b) { return a.top() < b.top(); });
                    QCOMPARE(espesores.size(), capas.size());
                    const double porCm = capas[0].height() / espesores[0];
                    for (qsizetype c = 0; c < capas.size(); ++c) {
                        QVERIFY(Cerca(capas[c].left(), capas[0].left()) &&
                                Cerca(capas[c].right(), capas[0].right()));
                        QVERIFY(std::abs(capas[c].height() - porCm * espesores[c]) <= 0.1);
                        if (c > 0) QVERIFY(Cerca(capas[c].top(), capas[c - 1].bottom()));
                    }
                    caja = capas[0].united(capas.last());
                    if (pg.Descripciones.value(id).contains(u": TSD"_s)) {
                        // La franja del tratamiento: todo el ancho, en la superficie, delgada.
                        QVERIFY(Cerca(tratamiento.left(), caja.left()) &&
                                Cerca(tratamiento.right(), caja.right()) &&
                                Cerca(tratamiento.top(), caja.top()));
                        // Media línea de letra.
                        QVERIFY(Cerca(tratamiento.height(), a / 2));
                        QVERIFY(pg.Textos(id).contains(u"TSD"_s));
                    }
                    const auto columna =
                        std::find_if(d.Columnas.begin(), d.Columnas.end(),
                                     [&](const ColumnaDiagrama& c) { return c.Unidad == i; });
                    QVERIFY(columna != d.Columnas.end() && columna->Alternativa > 0);
                    QVERIFY(pg.Textos(id).contains(u"Alt %1"_s.arg(columna->Alternativa)));
                }
                // El código de la unidad, en negro sobre su columna, y su alternativa debajo.
                bool rotulada = false;
                for (const ElementoSvg& t : pg.De(id, u"text"_s)) {
                    if (t.Texto == codigo) {
                        rotulada = true;
                        QVERIFY(t.N(u"x"_s) >= caja.left() && t.N(u"x"_s) <= caja.right());
                        QVERIFY(t.N(u"y"_s) < caja.top() && t.A(u"fill"_s) == u"#000000");
                        lineaRotulo[0] = t.N(u"y"_s);
                    }
                    if (t.Texto.startsWith(u"Alt "_s) || t.Texto == u"Sin alt.")
                        lineaRotulo[1] = t.N(u"y"_s);
                }
                QVERIFY(rotulada);
                columnas << Columna{id, desde, hasta, caja};
            }

            // "UH" y "Alternativa", a la izquierda en la línea de lo que rotulan.
            int rotulos = 0;
            for (const ElementoSvg& t : textos)
                if ((t.Texto == u"UH" || t.Texto == u"Alternativa") && ++rotulos)
                    QVERIFY(Cerca(t.N(u"y"_s), lineaRotulo[t.Texto == u"UH" ? 0 : 1]));
            QCOMPARE(rotulos, 2);
            // A escala: una sola relación de metros a puntos en la página, y las columnas,
            // separadas o encimadas como sus abscisas.
            const double escala =
                columnas[0].Caja.width() / (columnas[0].Hasta - columnas[0].Desde);
            QVERIFY(escala > 0);
            for (qsizetype j = 0; j < columnas.size(); ++j) {
                const Columna& c = columnas[j];
                QVERIFY(std::abs(c.Caja.width() - escala * (c.Hasta - c.Desde)) <= 0.05);
                QVERIFY(Cerca(c.Caja.top(), columnas[0].Caja.top()));
                // El escalón del SN baja o sube desde el anterior solo donde se tocan.
                const bool toca = j > 0 && c.Desde == columnas[j - 1].Hasta;
                QCOMPARE(std::ranges::any_of(pg.De(c.Id, u"line"_s),
                                             [](const ElementoSvg& l) {
                                                 return l.A(u"stroke"_s) == u"#0046aa" &&
                                                        Cerca(l.N(u"x1"_s), l.N(u"x2"_s));
                                             }),
                         toca);
                if (j == 0) continue;
                const Columna& b = columnas[j - 1];
                QVERIFY(std::abs(c.Caja.left() - b.Caja.right() - escala * (c.Desde - b.Hasta)) <=
                        0.05);
            }
            const double izquierda = columnas.first().Caja.left();
            const double derecha = columnas.last().Caja.right();

            // Lo de encima: el hueco y el solape marcados donde caen, con su rótulo.
            for (const ElementoSvg& e : pg.De(QString(), u"rect"_s)) {
                const bool hueco = e.A(u"stroke"_s) == Hex(QColor(110, 110, 110));
                const bool solape = e.A(u"stroke"_s) == Hex(QColor(220, 0, 120));
                if (!hueco && !solape) continue;
                (hueco ? huecosVistos : solapesVistos)++;
                const QRectF r = e.Rect();
                QCOMPARE(columnas.size(), 2);
                const double desde = hueco ? columnas[0].Hasta : columnas[1].Desde;
                const double hasta = hueco ? columnas[1].Desde : columnas[0].Hasta;
                QVERIFY(Cerca(r.left(), izquierda + escala * (desde - columnas[0].Desde)));
                QVERIFY(Cerca(r.right(), izquierda + escala * (hasta - columnas[0].Desde)));
                QVERIFY(Cerca(r.top(), columnas[0].Caja.top()));
                // Su rótulo, vertical, arriba y centrado como el de una unidad sin alternativa.
                const auto t = std::ranges::find(textos, hueco ? u"Hueco"_s : u"Solape"_s,
                                                 &ElementoSvg::Texto);
                QVERIFY(t != textos.end() && t->Ancla().x() > r.center().x() &&
                        t->Ancla().x() < r.center().x() + t->N(u"font-size"_s) / 2 &&
                        r.contains(t->Ancla()));
                // Rayado al doble de denso que el de una unidad sin alternativa.
                QList<double> rayas;
                for (const ElementoSvg& l : pg.De(QString(), u"line"_s))
                    if (l.A(u"stroke"_s) == e.A(u"stroke"_s)) rayas << l.N(u"x1"_s);
                if (pasoRayado > 0)
                    QVERIFY(rayas.size() > 2 && Cerca(rayas[1] - rayas[0], pasoRayado / 2));
            }

            // Las abscisas de las columnas: la que comparten dos unidades, una vez.
            QStringList abscisas;
            for (const QString& id : pg.Grupos)
                for (const ElementoSvg& t : pg.De(id, u"text"_s))
                    if (t.Girado() && t.Texto.startsWith(u'K')) {
                        abscisas << t.Texto + t.A(u"transform"_s).section(u' ', 0, 3);
                        // Su ancla en la hoja, bajo las estructuras y a menos de una letra de un
                        // borde.
                        const QPointF ancla = t.Ancla();
                        const double x = ancla.x(), y = ancla.y();
                        const auto junto = [&](const Columna& c) {
                            return std::min(std::abs(x - c.Caja.left()),
                                            std::abs(x - c.Caja.right())) <= t.N(u"font-size"_s);
                        };
                        QVERIFY(std::ranges::any_of(columnas, junto) &&
                                y > columnas[0].Caja.bottom() && y < alto - margen);
                    }
            QStringList esperadas;
            for (const Columna& c : columnas)
                for (const double a : {c.Desde, c.Hasta})
                    if (const QString e = TextoAbscisa(a) + u"matrix(0 -1 1 0"_s; // hacia arriba
                        esperadas.isEmpty() || esperadas.last() != e || huecos + solapes > 0)
                        esperadas << e;
            QCOMPARE(abscisas, esperadas);

            // La rejilla, dentro del ancho del dibujo, no cruza los rótulos de las unidades
            // ni las abscisas del eje.
            static const QRegularExpression rotulo(
                u"^(T[0-9]+(-TRAMO-LARGO)?|Alt [1-6]|Sin alt\\.|K[0-9]+\\+[0-9]+)$"_s);
            QList<double> alturasRotulos;
            for (const ElementoSvg& t : pg.Elementos)
                if (t.Tipo == u"text" && !t.Girado() && rotulo.match(t.Texto).hasMatch())
                    alturasRotulos << t.N(u"y"_s);
            int rejilla = 0;
            for (const ElementoSvg& l : pg.De(QString(), u"line"_s)) {
                if (l.A(u"stroke"_s) != Hex(QColor(200, 200, 200))) continue;
                ++rejilla;
                QVERIFY(l.N(u"x1"_s) >= izquierda - Tolerancia &&
                        l.N(u"x1"_s) <= derecha + Tolerancia);
                for (const double y : alturasRotulos)
                    QVERIFY(y < l.N(u"y1"_s) || y > l.N(u"y2"_s) + 1);
            }
            QVERIFY(rejilla > 0);
            // Los rótulos de las filas y las escalas, en el margen izquierdo; los de las
            // franjas del SN y del costo, encima de ellas.
            QStringList izquierdos;
            for (const ElementoSvg& t : textos)
                if (t.N(u"x"_s) + 1 < izquierda) izquierdos << t.Texto;
            for (const QString& r : {u"UH"_s, u"Alternativa"_s, u"Abscisa"_s, u"0"_s})
                QVERIFY2(izquierdos.contains(r), qPrintable(r));
            // Los dos de la escala de cada franja, centrados a media línea de su borde.
            for (const ElementoSvg& f : fondo) {
                if (f.A(u"stroke"_s) != u"#c8c8c8" || f.A(u"fill"_s) != u"none") continue;
                QList<double> y;
                for (const ElementoSvg& t : textos)
                    if (t.N(u"x"_s) + 1 < izquierda && t.N(u"y"_s) > f.Rect().top() &&
                        t.N(u"y"_s) < f.Rect().bottom())
                        y << t.N(u"y"_s);
                QVERIFY(y.size() == 2 &&
                        std::abs(y[0] - f.Rect().top() - y[1] + f.Rect().bottom() - a) < 0.1);
            }
            QVERIFY(pg.Textos(QString()).contains(u"Número estructural requerido"_s) &&
                    pg.Textos(QString()).contains(
                        u"Costo por km de la alternativa seleccionada (miles de pesos)"_s));
            // Las marcas de kilómetro bajan un tercio de línea del eje de abscisas (la línea negra
            // de todo el ancho) hacia sus rótulos.
            double eje = -1;
            int marcas = 0;
            const QList<ElementoSvg> lineas = pg.De(QString(), u"line"_s);
            for (const ElementoSvg& l : lineas)
                if (l.A(u"stroke"_s) == Hex(Qt::black) && l.N(u"y1"_s) == l.N(u"y2"_s) &&
                    Cerca(l.N(u"x1"_s), izquierda) && Cerca(l.N(u"x2"_s), derecha))
                    eje = l.N(u"y1"_s);
            // Las de los centímetros salen del eje vertical un tercio de línea a la izquierda,
            // hacia sus rótulos.
            int cm = 0;
            QList<double> marcasX;
            for (const ElementoSvg& l : lineas) {
                if (l.A(u"stroke"_s) != Hex(Qt::black)) continue;
                if (l.N(u"x1"_s) == l.N(u"x2"_s) && Cerca(l.N(u"y1"_s), eje) && ++marcas) {
                    QVERIFY(Cerca(l.N(u"y2"_s) - eje, a / 3));
                    marcasX << l.N(u"x1"_s);
                }
                if (l.N(u"y1"_s) == l.N(u"y2"_s) && Cerca(l.N(u"x2"_s), izquierda) && ++cm)
                    QVERIFY(Cerca(izquierda - l.N(u"x1"_s), a / 3));
            }
            QVERIFY(eje > 0 && marcas > 0 && cm > 0);
            // La base de un texto centrado en una línea de letra, desde el borde de arriba de la
            // línea: la de "UH", primera bajo el cuadro del título. La línea de "Abscisa" empieza
            // una línea bajo el eje, la de las marcas a un cuarto y la de los totales es la
            // última del área.
            const double base = std::ranges::find(textos, u"UH"_s, &ElementoSvg::Texto)->N(u"y"_s) -
                                cuadro.bottom();
            for (const ElementoSvg& t : textos)
                if (t.Texto == u"Abscisa" || (t.Texto.startsWith(u'K') && !t.Girado()))
                    // El de cada marca, centrado en ella (el SVG da el comienzo del texto).
                    QVERIFY(
                        Cerca(t.N(u"y"_s), eje + (t.Texto == u"Abscisa" ? 1 : 0.25) * a + base) &&
                        (t.Texto == u"Abscisa" || std::ranges::any_of(marcasX, [&](double x) {
                             return std::abs(x - t.N(u"x"_s) -
                                             letra.horizontalAdvance(t.Texto) / 2) < 1;
                         })));
            QVERIFY(Cerca(totales->N(u"y"_s), alto - margen - a + base));
        }
        // El PDF tiene las mismas páginas.
        if (!QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty()) {
            const QString pdf = dir.filePath(u"d.pdf"_s);
            QCOMPARE(ExportarDiagrama(pdf, d, {u"P"_s, {}, {}, {}}), QString());
            // Con el título del proyecto en sus datos.
            const QString info = SalidaPoppler(u"pdfinfo"_s, {pdf});
            QVERIFY(info.contains(u"Title:           Diagrama lineal de estructuras [P]\n"_s));
            static const QRegularExpression paginas(u"Pages: +([0-9]+)"_s);
            QCOMPARE(paginas.match(info).captured(1).toInt(), n);
            // El título, desde el margen de 10 mm, a un tercio de su línea (2,64 puntos) del
            // borde del cuadro.
            const QList<PalabraPdf> palabras = PalabrasPdf(pdf);
            const auto t = std::ranges::find(palabras, u"DIAGRAMA"_s, &PalabraPdf::Texto);
            QVERIFY(t != palabras.end() && std::abs(t->Caja.left() - 30.99) < 0.5 &&
                    std::abs(t->Caja.top() - 28.35) < 0.5);
            // Dentro de los márgenes de 10 mm (28,35 puntos; las cajas de las letras asoman
            // un punto), salvo la última abscisa, centrada en su marca junto al derecho; la
            // línea de los totales del camino llega al margen de abajo.
            double abajo = 1e9;
            for (const PalabraPdf& w : palabras) {
                abajo = std::min(abajo, w.Hoja.height() - w.Caja.bottom());
                QVERIFY2(std::min({w.Caja.left(), w.Caja.top(), w.Hoja.height() - w.Caja.bottom(),
                                   w.Hoja.width() - w.Caja.right() + 17}) >= 27,
                         qPrintable(w.Texto));
            }
            QVERIFY(abajo < 29);
        }
        QVERIFY(huecosVistos == huecos && solapesVistos == solapes);
        // Cada unidad en una sola página, en el orden del camino.
        QStringList todas;
        for (int i = 1; i <= tramos.size(); ++i)
            todas << u"UH%1"_s.arg(i);
        QCOMPARE(vistas, todas);
    }

    // Las franjas llenan el área de arriba abajo sin encimarse. El SN y el costo por km
    // de cada columna suben a escala desde el pie de su franja; la escala del SN es el
    // menor medio entero que cubre el máximo, la del costo el menor 1, 2 o 5 por una
    // potencia de 10. Una unidad que solo toca el borde del tramo no se dispone.
    void disposicion() {
        ModuloVarek9 m;
        const DiagramaLineal d =
            CalcularDiagrama(Tramos(m, {{0, 1000}, {1000, 1500}, {1500, 1600}}, 0));
        const QRectF area(50, 40, 2800, 1900);
        const DisposicionDiagrama r = DisponerDiagrama(d, area, 0, 1600, {7, 14});
        const QRectF franjas[] = {r.Titulo, r.Rotulos, r.Estructuras, r.Abscisas,
                                  r.SN,     r.Costo,   r.Totales};
        QCOMPARE(franjas[0].top(), area.top());
        QVERIFY(std::abs(franjas[6].bottom() - area.bottom()) < 1e-9);
        for (int k = 0; k < 7; ++k) {
            QVERIFY(franjas[k].height() > 0 && franjas[k].right() <= area.right());
            QCOMPARE(franjas[k].left(), area.left() + r.MargenIzquierdo);
            if (k > 0) QVERIFY(franjas[k].top() >= franjas[k - 1].bottom());
        }
        double sn = 0, costo = 0;
        for (const ColumnaDiagrama& c : d.Columnas)
            sn = std::max(sn, c.SNRequerido), costo = std::max(costo, c.CostoKm);
        QVERIFY(sn > 1 && costo > 0);
        QVERIFY(r.EscalaSN >= sn && r.EscalaSN < sn + 0.5 && std::fmod(r.EscalaSN, 0.5) == 0);
        // Sin ningún diseño, ningún SN: la escala no baja de 0,5, y la estructura lleva el 62 %
        // del alto que comparte con el SN y el costo.
        ModuloVarek9 sin;
        DiagramaLineal vacio = CalcularDiagrama(Tramos(sin, {{0, 100}}, 1));
        const DisposicionDiagrama v = DisponerDiagrama(vacio, area, 0, 100, {7, 14});
        QVERIFY(v.EscalaSN == 0.5 && v.EscalaCosto == 1); // ni costo: la escala, 1
        QCOMPARE(vacio.ProfundidadMaxima, 10.0);          // ni capas: 10 cm
        vacio.Columnas[0].CostoKm = -5; // un costo negativo no hace barra hacia abajo
        QCOMPARE(DisponerDiagrama(vacio, area, 0, 100, {7, 14}).Columnas[0].Costo.height(), 0.0);
        QVERIFY(Cerca(v.Estructuras.height() / 0.62,
                      v.Estructuras.height() + v.SN.height() + v.Costo.height()));
        const double potencia = std::pow(10.0, std::floor(std::log10(r.EscalaCosto) + 1e-9));
        const double f = std::round(r.EscalaCosto / potencia);
        QVERIFY((f == 1 || f == 2 || f == 5) && std::fabs(r.EscalaCosto - f * potencia) < 1e-6);
        // El valor redondo anterior: la mitad de 1 y de 2, dos quintos de 5.
        QVERIFY(r.EscalaCosto >= costo && (f == 5 ? 0.4 : 0.5) * r.EscalaCosto < costo);
        QCOMPARE(r.Columnas.size(), 3);
        for (const ColumnaDispuesta& col : r.Columnas) {
            const ColumnaDiagrama& c = d.Columnas[col.Columna];
            QVERIFY(Cerca(col.Estructura.left(), r.X(c.Desde)) &&
                    Cerca(col.Estructura.right(), r.X(c.Hasta)));
            QVERIFY(Cerca(col.SN.bottom(), r.SN.bottom()) &&
                    Cerca(col.Costo.bottom(), r.Costo.bottom()));
            QVERIFY(Cerca(col.SN.height(), c.SNRequerido / r.EscalaSN * r.SN.height()));
            QVERIFY(Cerca(col.Costo.height(), c.CostoKm / r.EscalaCosto * r.Costo.height()));
        }
        const auto columnas = [&](double desde, double hasta) {
            QList<int> t;
            for (const ColumnaDispuesta& col :
                 DisponerDiagrama(d, area, desde, hasta, {7, 14}).Columnas)
                t << col.Columna;
            return t;
        };
        QVERIFY(columnas(0, 1000) == QList<int>{0} && columnas(1000, 1600) == (QList<int>{1, 2}));
        // Un tramo sin largo no da posiciones infinitas.
        QVERIFY(std::isfinite(DisponerDiagrama(d, area, 500, 500, {7, 14}).X(700)));
    }

    // La imagen crece con el camino (una hoja A4 apaisada a 200 ppp mide 2339 px) y,
    // pasado el máximo (aquí una hoja), se corta en varias.
    void pngCreceConElCamino_data() {
        // imagenes (0: varias).
        Columnas<int, int, int>({"unidades", "maximo", "imagenes"});
        QTest::newRow("corto") << 6 << MaximoAnchoPng << 1;
        QTest::newRow("largo") << 30 << MaximoAnchoPng << 1;
        // De a dos hojas, la última imagen con una sola.
        QTest::newRow("cortado") << 40 << 2 * 2339 << 0;
    }
    void pngCreceConElCamino() {
        TOMAR((unidades, maximo, imagenes), int, int, int);
        QTemporaryDir dir;
        ModuloVarek9 m;
        ProyectoDeDiseno(m, unidades);
        const DiagramaLineal d = CalcularDiagrama(m);
        QStringList escritos;
        QCOMPARE(ExportarPng(dir.filePath(u"d.png"_s), d, EncabezadoDe(m), &escritos, maximo),
                 QString());
        QCOMPARE(QDir(dir.path()).entryList({u"d*.png"_s}, QDir::Files).size(), escritos.size());
        QList<int> anchos;
        for (const QString& a : escritos)
            anchos << QImage(a).width();
        // Las hojas de una imagen: anchos útiles de hoja (277 mm) tras los márgenes de 10 mm,
        // a 200 ppp.
        const double util = 277 / 25.4 * 200;
        const auto hojas = [&](int ancho) { return (ancho - 20 / 25.4 * 200) / util; };
        if (imagenes == 1) {
            QCOMPARE(escritos, QStringList{dir.filePath(u"d.png"_s)});
            QVERIFY(unidades <= 6 ? anchos[0] == 2339 : anchos[0] > 2339);
            // Alto de la hoja apaisada (210 mm) y tantos anchos útiles de hoja (277 mm)
            // como páginas, más los márgenes de 10 mm, todo a 200 ppp.
            const QImage imagen(escritos[0]);
            QCOMPARE(imagen.height(), 1654);
            const double enteras = hojas(imagen.width());
            QVERIFY(std::abs(enteras - std::round(enteras)) * util <= 0.5);
            QVERIFY(qRound(imagen.dotsPerMeterX() * 0.0254) == 200 &&
                    qRound(imagen.dotsPerMeterY() * 0.0254) == 200);
            // Todas las columnas pintadas: las barras del costo, de un extremo al otro.
            int primera = imagen.width(), ultima = 0;
            for (int y = 0; y < imagen.height(); y += 8)
                for (int x = 0; x < imagen.width(); ++x)
                    if (imagen.pixel(x, y) == qRgb(120, 180, 120))
                        primera = std::min(primera, x), ultima = std::max(ultima, x);
            QVERIFY(primera < imagen.width() / 5 && ultima > imagen.width() * 4 / 5);
            return;
        }
        QVERIFY(escritos.size() > 1);
        QCOMPARE(escritos.mid(0, 2),
                 QStringList({dir.filePath(u"d-1.png"_s), dir.filePath(u"d-2.png"_s)}));
        for (int ancho : anchos)
            QVERIFY(ancho >= 2339 && ancho <= maximo);
        // Cada hoja del camino en una sola imagen: tantas como en la imagen entera.
        QStringList entera;
        QCOMPARE(ExportarPng(dir.filePath(u"e.png"_s), d, EncabezadoDe(m), &entera), QString());
        long suma = 0;
        for (int ancho : anchos)
            suma += std::lround(hojas(ancho));
        QVERIFY(std::lround(hojas(anchos.last())) == 1 &&
                suma == std::lround(hojas(QImage(entera.value(0)).width())));
        // Los márgenes de 10 mm (79 px) quedan en blanco; el cuadro del título empieza en ellos.
        const QImage imagen = QImage(escritos[1]).convertToFormat(QImage::Format_RGB32);
        const auto blanca = [&](int x, int y) { return imagen.pixel(x, y) == qRgb(255, 255, 255); };
        bool margenes = true, borde = false;
        for (int y = 0; y < imagen.height(); ++y)
            for (int x = 0; x < imagen.width(); ++x) {
                const bool margen =
                    x < 78 || y < 78 || x >= imagen.width() - 78 || y >= imagen.height() - 78;
                margenes = margenes && (!margen || blanca(x, y));
                borde = borde || ((x == 78 || x == 79) && (y == 78 || y == 79) && !blanca(x, y));
            }
        QVERIFY(margenes && borde);
    }

    // En la pantalla una columna puede no tener ancho para sus abscisas: la siguiente
    // escribe entonces también la que comparten.
    void abscisaCompartidaTrasUnaAngosta() {
        ModuloVarek9 m;
        const DiagramaLineal d = CalcularDiagrama(Tramos(m, {{0, 10}, {10, 1000}}, 0));
        DispositivoSvg svg(QSizeF(1200, 800), 96);
        const DisposicionDiagrama r = DisponerDiagrama(d, QRectF(0, 0, 1200, 800), 0, 1000,
                                                       MedirLetra(LetraDiagrama(), &svg));
        QVERIFY(!r.Columnas[0].AbscisasCaben && r.Columnas[1].AbscisasCaben);
        QPainter p(&svg);
        PintarDiagrama(p, d, r, {});
        p.end();
        const QByteArray cuerpo = svg.Tomar();
        QStringList abscisas;
        for (const ElementoSvg& e : LeerSvg(svg.Cabecera({}) + cuerpo + "</svg>\n").Elementos)
            if (e.Girado() && e.Texto.startsWith(u'K')) abscisas << e.Texto;
        QCOMPARE(abscisas, QStringList({u"K0+010"_s, u"K1+000"_s}));
    }

    // El rótulo del tratamiento va bajo su franja solo si la capa siguiente tiene alto para
    // él: con 3 m de capa de subrasante, la base queda de pocos milímetros.
    void rotuloDelTratamiento() {
        for (const double subrasante : {0.0, 300.0}) {
            ModuloVarek9 m;
            Tramos(m, {{0, 1000}}, 0).Proyecto.UH[1].EspesorSubrasante = subrasante;
            QTemporaryDir dir;
            QStringList escritos;
            QVERIFY(ExportarDiagrama(dir.filePath(u"d.svg"_s), CalcularDiagrama(m),
                                     {u"P"_s, {}, {}, {}}, &escritos)
                        .isEmpty());
            QCOMPARE(LeerSvg(LeerBytes(escritos.value(0))).Textos(u"UH1"_s).contains(u"TSD"_s),
                     subrasante == 0);
        }
    }

    // Cada material con su color en todas partes, y su texto legible sobre él: razón de
    // contraste de 4,5:1 o más con la luminancia relativa de sRGB.
    void coloresDeLosMateriales() {
        const auto luminancia = [](const QColor& c) {
            const auto canal = [](double v) {
                v /= 255;
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * canal(c.red()) + 0.7152 * canal(c.green()) + 0.0722 * canal(c.blue());
        };
        QSet<QRgb> fondos;
        QStringList colores, leyenda; // la del manual: fondo y rótulo de cada capa
        static const QRegularExpression fila(u"<tr><td>[^<]+</td><td><span[^>]*>[^<]*</span> "
                                             u"(#[0-9a-f]{6})</td><td>(negro|blanco)</td></tr>"_s);
        for (const auto& f : fila.globalMatch(QString::fromUtf8(
                 LeerBytes(VAREK9_EJEMPLOS u"/../doc/manual/manual-de-usuario.html"_s))))
            leyenda << f.captured(1) + u' ' + f.captured(2);
        for (int tipo = 1; tipo <= NumeroTiposCapa; ++tipo) {
            const auto [fondo, texto] = ColoresMaterial(tipo);
            if (tipo != CapaGEO) // el de la subrasante
                colores << Hex(fondo) + (texto == Qt::white ? u" blanco"_s : u" negro"_s);
            const double a = luminancia(fondo), b = luminancia(texto);
            QVERIFY2((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 4.5,
                     qPrintable(QString::number(tipo)));
            fondos.insert(fondo.rgb());
        }
        QCOMPARE(fondos.size(), NumeroTiposCapa - 1); // la subrasante y el geotextil, iguales
        QCOMPARE(colores, leyenda);

        // Las cajas del dibujo de alternativas (fondo/letra), las de la tabla de diseño;
        // la del afirmado y la de la capa de subrasante, iguales en todas.
        const QString esperadas[] = {u"#c0c0c0/#ffffff #ffc080/#ff0000 #ffe0c0/#ff00ff"_s,
                                     u"#c0c0c0/#ffffff #ffc080/#ff0000 #008080/#e0e0e0"_s,
                                     u"#808080/#ffffff #ffc080/#ff0000 #ffe0c0/#ff00ff"_s,
                                     u"#808080/#ffffff #e0e0e0/#000000 #ffe0c0/#ff00ff"_s,
                                     u"#404040/#ffffff #ffc080/#ff0000 #ffe0c0/#ff00ff"_s,
                                     u"#404040/#ffffff #ffc080/#ff0000 #ffe0c0/#ff00ff"_s};
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            QStringList cajas;
            for (int k = 0; k < 5; ++k)
                cajas << ColoresCaja(n, k).first.name() + u'/' + ColoresCaja(n, k).second.name();
            QCOMPARE(cajas.join(u' '), esperadas[n - 1] + u" #804000/#ffff00 #808000/#ff8000"_s);
        }
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasDiagramaSvg)
#include "PruebasDiagramaSvg.moc"
