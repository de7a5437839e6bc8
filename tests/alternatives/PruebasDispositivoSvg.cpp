// El SVG que escribe el dispositivo de pintura propio: cada primitiva del pintor
// como elemento, en coordenadas del dispositivo; los recortes, definidos una vez y
// usados por grupo; la cabecera con el tamaño en mm. Y el diagrama lineal en SVG:
// una página, un grupo por unidad y el recorte del rayado donde no hay alternativa.
#include "Archivos.h"
#include "Muestras.h"
#include "Poppler.h"
#include "Pruebas.h"

#include "alternatives/DiagramaLineal.h"
#include "alternatives/DispositivoSvg.h"
#include "alternatives/PintarDiagrama.h"
#include "alternatives/PintarSensibilidad.h"
#include "common/Formato.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class PruebasDispositivoSvg : public QObject {
    Q_OBJECT

private slots:
    // 1000 x 500 puntos a 100 ppp: 254 x 127 mm.
    void cabecera_y_medidas() {
        DispositivoSvg svg(QSizeF(1000, 500), 100);
        QCOMPARE((QList<int>{svg.width(), svg.heightMM(), svg.logicalDpiX()}),
                 (QList<int>{1000, 127, 100}));
        const QString c = QString::fromUtf8(svg.Cabecera(u"Uno & <dos>"_s));
        QVERIFY(c.startsWith(u"<?xml"_s));
        QVERIFY(c.contains(u"width=\"254mm\" height=\"127mm\" viewBox=\"0 0 1000 500\""_s));
        QVERIFY(c.contains(u"<title>Uno &amp; &lt;dos&gt;</title>"_s));
        QVERIFY(c.endsWith(u"<defs>\n</defs>\n"_s));
    }

    // Rectángulo lleno, línea cosmética trasladada, pluma de 3 escalada al doble y texto.
    void primitivas() {
        DispositivoSvg svg(QSizeF(1000, 500), 100);
        QPainter p(&svg);
        p.fillRect(QRectF(10, 20, 30, 40), QColor(255, 0, 0));
        p.translate(100, 50);
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QPointF(0, 0), QPointF(10, 0));
        p.scale(2, 2);
        QPen gruesa(QColor(0, 0, 255), 3);
        gruesa.setCapStyle(Qt::FlatCap);
        gruesa.setJoinStyle(Qt::MiterJoin);
        p.setPen(gruesa);
        p.drawLine(QPointF(1, 1), QPointF(2, 3));
        p.resetTransform();
        QFont letra(u"Liberation Sans"_s);
        letra.setPointSizeF(18); // 18 pt a 100 ppp: 25 puntos
        p.setFont(letra);
        p.setPen(QColor(0, 128, 0));
        p.drawText(QPointF(10, 30), u"A<B"_s);
        p.translate(200, 100);
        p.drawText(QPointF(1, 2), u"T"_s); // solo trasladado: la posición en la hoja
        // Girado 45°: la matriz con seis cifras (cos 45° = sen 45° = 0.707107).
        p.rotate(45);
        p.drawText(QPointF(1, 2), u"R"_s);
        p.end();
        const QStringList e = QString::fromUtf8(svg.Tomar()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(e.size(), 6);
        QCOMPARE(e[0], u"<rect x=\"10\" y=\"20\" width=\"30\" height=\"40\" fill=\"#ff0000\" "
                       "stroke=\"none\"/>"_s);
        QVERIFY2(e[1].startsWith(u"<line x1=\"100\" y1=\"50\" x2=\"110\" y2=\"50\" "
                                 "stroke=\"#000000\" stroke-width=\"1\""_s),
                 qPrintable(e[1]));
        QCOMPARE(e[2], u"<line x1=\"102\" y1=\"52\" x2=\"104\" y2=\"56\" stroke=\"#0000ff\" "
                       "stroke-width=\"6\"/>"_s);
        QCOMPARE(e[3], u"<text x=\"10\" y=\"30\" font-family=\"Liberation Sans\" font-size=\"25\" "
                       "fill=\"#008000\" xml:space=\"preserve\">A&lt;B</text>"_s);
        QVERIFY(e[4].startsWith(u"<text x=\"201\" y=\"102\" font-family"_s));
        QCOMPARE(e[5], u"<text x=\"1\" y=\"2\" transform=\"matrix(0.707107 0.707107 -0.707107 "
                       u"0.707107 200 100)\" "
                       "font-family=\"Liberation Sans\" font-size=\"25\" fill=\"#008000\" "
                       "xml:space=\"preserve\">R</text>"_s);
        // Lo tomado ya no vuelve.
        QCOMPARE(svg.Tomar(), QByteArray());
    }

    // Polilínea abierta, polígono lleno, imagen y trazado, trasladados.
    void polilineas() {
        DispositivoSvg svg(QSizeF(1000, 500), 100);
        QPainter p(&svg);
        p.translate(5, 10);
        // Casi opacos: la opacidad se escribe igual.
        p.setPen(QPen(QColor(0, 0, 0, 254), 0));
        const QPointF puntos[] = {{0, 0}, {10, 5}, {20, 0.5}};
        p.drawPolyline(puntos, 3);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(QColor(0, 0, 255, 254));
        p.drawPolygon(puntos, 3);
        // Y una imagen: la parte pedida de la fuente, en PNG dentro del SVG.
        QImage dos(2, 1, QImage::Format_RGB32);
        dos.setPixel(0, 0, qRgb(255, 0, 0)), dos.setPixel(1, 0, qRgb(0, 0, 255));
        p.drawPixmap(QRectF(30, 40, 8, 4), QPixmap::fromImage(dos), QRectF(1, 0, 1, 1));
        // Y un trazado con su regla de relleno.
        QPainterPath camino;
        camino.addRect(QRectF(0, 0, 2, 2));
        camino.setFillRule(Qt::WindingFill);
        p.drawPath(camino);
        p.end();
        const QStringList e = QString::fromUtf8(svg.Tomar()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(e.size() == 4 && e[3].startsWith(u"<path d=\"M5,10L7,10L7,12L5,12L5,10\""_s) &&
                e[3].contains(u" fill-rule=\"nonzero\""_s));
        QVERIFY2(e[2].startsWith(u"<image x=\"35\" y=\"50\" width=\"8\" height=\"4\" "
                                 u"preserveAspectRatio=\"none\" href=\"data:image/png;base64,"_s),
                 qPrintable(e[2]));
        const QImage png = QImage::fromData(
            QByteArray::fromBase64(e[2].section(u"base64,"_s, 1).section(u'"', 0, 0).toLatin1()));
        QVERIFY(png.size() == QSize(1, 1) && png.pixel(0, 0) == qRgb(0, 0, 255));
        QVERIFY2(e[0].startsWith(u"<polyline points=\"5,10 15,15 25,10.5\" fill=\"none\" "
                                 "stroke=\"#000000\""_s),
                 qPrintable(e[0]));
        QVERIFY2(
            e[1].startsWith(u"<polygon points=\"5,10 15,15 25,10.5\" fill=\"#0000ff\" "
                            "fill-opacity=\"0.996\" fill-rule=\"evenodd\" stroke=\"#000000\""_s),
            qPrintable(e[1]));
        QVERIFY(e[0].contains(u"stroke-opacity=\"0.996\""_s) &&
                !e[1].contains(u"stroke-opacity"_s));
    }

    // [0,50]² cortado con [25,75]² deja [25,50]²: un solo clipPath, usado dos veces.
    void recortes() {
        DispositivoSvg svg(QSizeF(100, 100), 72);
        QPainter p(&svg);
        p.setBrush(Qt::black);
        p.setPen(Qt::NoPen);
        for (int vez = 0; vez < 2; ++vez) {
            p.save();
            p.setClipRect(QRectF(0, 0, 50, 50));
            p.setClipRect(QRectF(25, 25, 50, 50), Qt::IntersectClip);
            p.drawRect(QRectF(0, 0, 100, 100));
            p.restore();
            p.drawRect(QRectF(1, 2, 3, 4));
        }
        // El último recortado: su grupo se cierra una sola vez.
        p.setClipRect(QRectF(0, 0, 50, 50));
        p.setClipRect(QRectF(25, 25, 50, 50), Qt::IntersectClip);
        p.drawRect(QRectF(0, 0, 5, 5));
        // Con el recorte apagado, fuera del grupo.
        p.setClipping(false);
        p.drawRect(QRectF(6, 6, 1, 1));
        p.end();
        const QString cuerpo = QString::fromUtf8(svg.Tomar());
        QVERIFY(cuerpo.count(u"</g>"_s) == 3 && cuerpo.count(u"<g "_s) == 3);
        QVERIFY(cuerpo.contains(u"</g>\n<rect x=\"6\""_s));
        const QString grupo = u"<g clip-path=\"url(#recorte1)\">\n<rect x=\"0\" y=\"0\" "
                              "width=\"100\" height=\"100\" fill=\"#000000\" stroke=\"none\"/>\n"
                              "</g>\n<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\""_s;
        QCOMPARE(cuerpo.count(grupo), 2);
        const QString defs = QString::fromUtf8(svg.Recortes());
        QCOMPARE(defs.count(u"<clipPath "_s), 1);
        // Los vértices del recorte, en cualquier orden: sus extremos son 25 y 50.
        QList<double> xs, ys;
        const QRegularExpression punto(u"[ML](-?[\\d.]+),(-?[\\d.]+)"_s);
        for (const QRegularExpressionMatch& m : punto.globalMatch(defs)) {
            xs << m.captured(1).toDouble();
            ys << m.captured(2).toDouble();
        }
        QVERIFY(!xs.isEmpty());
        QCOMPARE((QList<double>{std::ranges::min(xs), std::ranges::max(xs), std::ranges::min(ys),
                                std::ranges::max(ys)}),
                 (QList<double>{25, 50, 25, 50}));
    }

    // Dos unidades seguidas (0 a 1000 y 1000 a 2000 m), la segunda sin CBR y por
    // tanto sin alternativa: A4 apaisada (297 x 210 mm a 1200 ppp), dos grupos y un
    // solo recorte, el del rayado de la segunda.
    void diagrama() {
        ModuloVarek9 m;
        ProyectoDeDiseno(m, 2);
        m.Proyecto.UH[1].AbscisaInicial = 0;
        m.Proyecto.UH[1].AbscisaFinal = 1000;
        m.Proyecto.UH[2].AbscisaInicial = 1000;
        m.Proyecto.UH[2].AbscisaFinal = 2000;
        m.Proyecto.UH[2].CBR = 0;
        const DiagramaLineal d = CalcularDiagrama(m);
        QTemporaryDir dir;
        const QString ruta = dir.filePath(u"d.svg"_s);
        QCOMPARE(ExportarDiagrama(ruta, d, {u"P.vk9"_s, {}, {}, {}}), QString());
        const QString svg = QString::fromUtf8(LeerBytes(ruta));
        QVERIFY(
            svg.contains(u"width=\"297mm\" height=\"210mm\" viewBox=\"0 0 14031.5 9921.26\""_s));
        QVERIFY(svg.contains(u"<title>Diagrama lineal de estructuras [P.vk9]</title>"_s));
        QVERIFY(svg.count(u"class=\"unidad\""_s) == 2 && svg.count(u"<clipPath "_s) == 1);
        const qsizetype uno = svg.indexOf(u"<g id=\"UH1\""_s);
        const qsizetype dos = svg.indexOf(u"<g id=\"UH2\""_s);
        QVERIFY(uno > 0 && dos > uno);
        const QString grupo1 = svg.mid(uno, dos - uno);
        // Sin huecos ni solapes no se pinta nada encima: tras UH2 solo queda el cierre.
        const QString grupo2 = svg.mid(dos);
        QVERIFY(!grupo1.contains(u"clip-path"_s));
        QVERIFY(grupo2.contains(u"clip-path=\"url(#recorte1)\""_s));
        QVERIFY(grupo2.contains(u">Sin alternativa</text>"_s) && svg.endsWith(u"</svg>\n"_s));
        // En la ventana, sin páginas, la de 10 m entre 1010 es más angosta que dos pasos del
        // rayado: llena de un rojo claro y opaco, sin rayas rojas.
        m.Proyecto.UH[2].AbscisaFinal = 1010;
        const DiagramaLineal angosta = CalcularDiagrama(m);
        DispositivoSvg lienzo(QSizeF(1000, 600), 96);
        QPainter p(&lienzo);
        PintarColumna(p, angosta,
                      DisponerDiagrama(angosta, QRectF(0, 0, 1000, 600), 0, 1010,
                                       MedirLetra(LetraDiagrama(), &lienzo)),
                      1);
        p.end();
        const QString columna = QString::fromUtf8(lienzo.Tomar());
        QVERIFY(columna.contains(u"fill=\"%1\""_s.arg(QColor(200, 0, 0).lighter(140).name())) &&
                columna.count(u"#c80000"_s) == 1); // el rojo, solo en el borde
    }

    // Cada eje de las curvas de sensibilidad rotula desde 0 en la base hasta su tope
    // arriba, a paso fijo.
    // Los trazos de la sensibilidad en SVG (tests/datos/sensibilidad.svg, escrito a mano): líneas
    // con su trazo, el círculo con relleno blanco, los textos anclados según su alineación y
    // escapados; y el PNG, al doble del lienzo.
    void svgDeLaSensibilidad() {
        DibujoSensibilidad d;
        d.Ancho = 300.5, d.Alto = 200;
        const auto trazo = [&](TrazoSensibilidad::Clase tipo, QPolygonF puntos, QColor color) {
            TrazoSensibilidad t;
            t.Tipo = tipo, t.Puntos = std::move(puntos), t.Color = color;
            d.Trazos << t;
            return &d.Trazos.last();
        };
        trazo(TrazoSensibilidad::Linea, {{1, 2}, {3.125, 4}}, QColor(170, 40, 0))->Estilo =
            Qt::DashLine;
        trazo(TrazoSensibilidad::Linea, {{0, 0}, {5, 5}}, Qt::gray)->Estilo = Qt::DotLine;
        auto* c = trazo(TrazoSensibilidad::Circulo, {{10, 20}}, QColor(0, 70, 160));
        c->Radio = 4, c->Ancho = 2;
        for (const auto alineacion : {Qt::AlignRight, Qt::AlignLeft, Qt::AlignHCenter}) {
            auto* t = trazo(TrazoSensibilidad::Texto, {}, Qt::black);
            t->Caja = QRectF(10, 30, 40, 12), t->Alineacion = alineacion | Qt::AlignVCenter;
            t->Cadena = u"A<&>\"B"_s, t->Negrita = alineacion == Qt::AlignRight;
        }
        QCOMPARE(SvgSensibilidad(d), LeerBytes(VAREK9_DATOS_PRUEBA u"/sensibilidad.svg"_s));
        // Pintado como en la ventana, centrado en un destino más ancho (300,5 a cada
        // lado) o más alto (100 arriba y abajo), y el texto en negrita sigue en negrita.
        for (const auto& [destino, punto] : {std::pair(QSizeF(901.5, 200), u"301.5,2 "_s),
                                             std::pair(QSizeF(300.5, 400), u"1,102 "_s)}) {
            DispositivoSvg svg(destino, 72);
            QPainter p(&svg);
            PintarSensibilidad(p, QRectF(QPointF(), destino), d);
            p.end();
            const QString pintado = QString::fromUtf8(svg.Tomar());
            QVERIFY2(pintado.contains(u"points=\""_s + punto), qPrintable(pintado.left(300)));
            QCOMPARE(pintado.count(u"font-weight=\"bold\""_s), 1);
            QCOMPARE(pintado.count(u"stroke=\"#0046a0\" stroke-width=\"2\""_s), 1);
            QCOMPARE(pintado.count(u"stroke-dasharray"_s), 2); // la raya y el punteado
        }
        // El tamaño físico del dispositivo: 720 x 360 puntos a 72 por pulgada, 254 x 127 mm.
        const DispositivoSvg fisico(QSizeF(720, 360), 72);
        QCOMPARE(QSize(fisico.widthMM(), fisico.heightMM()), QSize(254, 127));
        QTemporaryDir dir;
        QCOMPARE(ExportarSensibilidad(dir.filePath(u"s.png"_s), d), QString());
        // Sobre blanco: la esquina de abajo a la derecha no tiene trazos.
        const QImage png(dir.filePath(u"s.png"_s));
        QCOMPARE(std::pair(png.size(), png.pixel(600, 399)),
                 std::pair(QSize(601, 400), qRgb(255, 255, 255)));
        // El PDF, en una hoja A4 apaisada (297 x 210 mm: 842 x 595 puntos).
        QCOMPARE(ExportarSensibilidad(dir.filePath(u"s.pdf"_s), d), QString());
        // Con su título en los datos del PDF (UTF-16 con su marca).
        const QByteArray pdf = LeerBytes(dir.filePath(u"s.pdf"_s));
        QStringEncoder utf16(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        QVERIFY(pdf.contains("/Title (" + QByteArray(utf16.encode(u"Sensibilidad"))));
        const auto hoja = QRegularExpression(uR"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])"_s)
                              .match(QString::fromLatin1(pdf));
        QCOMPARE(u"%1 %2"_s.arg(hoja.captured(1).toDouble()).arg(hoja.captured(2).toDouble()),
                 u"842 595"_s);
        // Dentro de márgenes de 10 mm (277 x 190), a la escala de lo ancho (s mm por unidad)
        // y centrado en lo alto. El texto centrado en su caja (30, 36) es el del medio de los
        // tres: los otros dos quedan a los lados de 30 por igual.
        SALTAR_SIN_PDFTOTEXT();
        QList<QPointF> centros;
        for (const PalabraPdf& w : PalabrasPdf(dir.filePath(u"s.pdf"_s)))
            centros << w.Caja.center();
        std::ranges::sort(centros, {}, &QPointF::x);
        const double s = 277 / 300.5, mm = 72 / 25.4;
        QVERIFY(centros.size() == 3 && std::abs(centros[1].x() - (10 + 30 * s) * mm) < 1 &&
                std::abs(centros[1].y() - (10 + (190 - 200 * s) / 2 + 36 * s) * mm) < 2);
    }

    // Cada eje va de 0 a su tope con el menor paso redondo (1, 2 o 5 por una potencia de
    // 10) que cubre el máximo de la curva en cinco divisiones; las curvas, dentro de su
    // recuadro; el rótulo de la unidad, con el costo de su punto en miles.
    void ejesDeLaSensibilidad_data() {
        // costos: el factor de los costos unitarios.
        Columnas<double, double, double>({"ejes", "cbr", "costos"});
        QTest::newRow("120000 ejes, CBR 5,7")
            << 120000.0 << 5.7 << 1.0; // el tránsito, de 30.000 a 240.000
        QTest::newRow("20000 ejes, CBR 30") << 20000.0 << 30.0 << 1.0; // SN bajo 2,5: paso 0,5
        QTest::newRow("sin costos: de 0 a 1") << 20000.0 << 30.0 << 0.0;
        QTest::newRow("costos de menos de mil: paso menor que 1") << 20000.0 << 30.0 << 1e-4;
    }
    void ejesDeLaSensibilidad() {
        TOMAR((ejes, cbr, costos), double, double, double);
        ModuloVarek9 m;
        ProyectoDeDiseno(m, 2);
        for (double& c : m.Proyecto.CostosUnitarios)
            c *= costos;
        std::tie(m.Proyecto.UH[1].EjesEquivalentes, m.Proyecto.UH[1].CBR) = std::pair(ejes, cbr);
        const QList<CurvaSensibilidad> curvas = CalcularSensibilidad(m, 1, 50);
        // El menor paso 1, 2 o 5 por 10ⁿ que cubre un valor en unas divisiones.
        const auto redondo = [](double valor, int divisiones) {
            if (valor == 0) return 1.0;
            for (double potencia = 1e-3;; potencia *= 10)
                for (const double f : {1, 2, 5})
                    if (f * potencia * divisiones >= valor * (1 - 1e-12)) return f * potencia;
        };
        const DibujoSensibilidad d = DibujarSensibilidad(curvas, u"t"_s, SeparadorDecimal::Punto);
        // El título primero, en negrita de 14, centrado en el lienzo y en una caja que le cabe,
        // encima del título del primer recuadro.
        const TrazoSensibilidad& t0 = d.Trazos[0];
        QVERIFY(t0.Cadena == u"t"_s && t0.Letra == 14 && t0.Negrita && t0.Caja.height() >= 14);
        QVERIFY(t0.Caja.center().x() == d.Ancho / 2 && t0.Caja.bottom() <= d.Trazos[1].Caja.top());
        // El de cada recuadro, en negrita de 12.
        QVERIFY(d.Trazos[1].Cadena == u"Confiabilidad (%)"_s && d.Trazos[1].Letra == 12 &&
                d.Trazos[1].Negrita);
        // Las dos líneas de la leyenda, en letra de 11, centradas a 16 del borde de abajo.
        QCOMPARE(std::ranges::count_if(d.Trazos,
                                       [&](const TrazoSensibilidad& t) {
                                           return (t.Cadena == u"SN requerido"_s ||
                                                   t.Cadena.startsWith(u"Costo de la "_s)) &&
                                                  t.Letra == 11 &&
                                                  t.Caja.center().y() == d.Alto - 16;
                                       }),
                 2);
        QList<QRectF> areas;
        for (const TrazoSensibilidad& caja : d.Trazos)
            if (caja.Tipo == TrazoSensibilidad::Linea && caja.Puntos.size() == 4 && caja.Ancho == 1)
                areas << caja.Puntos.boundingRect();
        QCOMPARE(areas.size(), curvas.size());
        QList<QRectF> sn, miles; // los nombres de los ejes, uno por recuadro
        for (const TrazoSensibilidad& t : d.Trazos) {
            if (t.Cadena == u"SN") sn << t.Caja;
            if (t.Cadena == u"miles $") miles << t.Caja;
        }
        for (qsizetype k = 0; k < areas.size(); ++k) {
            const QRectF area = areas[k];
            // Encima del recuadro, en una misma línea, el del SN hasta su borde izquierdo; el
            // del costo, desde el derecho.
            QVERIFY(sn[k].right() == area.left() && sn[k].bottom() < area.top() &&
                    miles[k].left() == area.right() && miles[k].top() == sn[k].top() &&
                    miles[k].height() == sn[k].height());
            double maximos[2] = {0, 0};
            for (const PuntoSensibilidad& p : curvas[k].Puntos)
                maximos[0] = std::max(maximos[0], p.SN),
                maximos[1] = std::max(maximos[1], p.Costo / 1000);
            double topes[2] = {0, 0};
            for (const int lado : {0, 1}) {
                const double borde = lado == 0 ? area.left() - 58 : area.right() + 6;
                QList<TrazoSensibilidad> r;
                for (const TrazoSensibilidad& t : d.Trazos)
                    if (t.Tipo == TrazoSensibilidad::Texto && t.Caja.left() == borde) r << t;
                std::sort(r.begin(), r.end(), [](const auto& a, const auto& b) {
                    return a.Caja.center().y() > b.Caja.center().y();
                });
                QVERIFY(r.size() >= 2);
                QCOMPARE(r.back().Color, lado == 0 ? QColor(0, 70, 160) : QColor(170, 40, 0));
                QVERIFY(std::ranges::all_of(
                    r, [](const TrazoSensibilidad& t) { return t.Letra == 10; }));
                QCOMPARE(r.front().Caja.center().y(), area.bottom());
                QCOMPARE(r.back().Caja.center().y(), area.top());
                const double paso = redondo(maximos[lado], 5);
                QCOMPARE(r.size() - 1, std::max(1.0, std::ceil(maximos[lado] / paso - 1e-9)));
                // Los miles, con su separador.
                for (qsizetype j = 0; j < r.size(); ++j)
                    QVERIFY((j * paso < 1000 || r[j].Cadena.contains(u',')) &&
                            std::fabs(r[j].Cadena.remove(u',').toDouble() - j * paso) < 1e-9);
                topes[lado] = double(r.size() - 1) * paso;
                // Una línea gris de la rejilla, de lado a lado, por cada rótulo del SN.
                const auto rejilla = [&](const TrazoSensibilidad& t) {
                    return t.Color == QColor(215, 215, 215) && t.Puntos.size() == 2 &&
                           t.Puntos[0] == QPointF(area.left(), t.Puntos[1].y()) &&
                           t.Puntos[1].x() == area.right();
                };
                if (lado == 0)
                    QCOMPARE(std::count_if(d.Trazos.begin(), d.Trazos.end(), rejilla), r.size());
            }
            // Cada punto con diseño, a escala dentro del recuadro: el SN en la línea azul y el
            // costo en miles en la roja de trazos.
            for (const TrazoSensibilidad& t : d.Trazos)
                if (t.Tipo == TrazoSensibilidad::Linea && t.Puntos.size() > 4 &&
                    area.contains(t.Puntos.first()))
                    for (const QPointF& q : t.Puntos)
                        QVERIFY(area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(q));
            const CurvaSensibilidad& c = curvas[k];
            // Las abscisas, al menor paso que cubre el rango en cuatro divisiones (las del
            // tránsito, 52.500 por división: suben a 100.000).
            // Ninguna fuera del recuadro, aunque quepa en el marco de la curva.
            QList<double> abscisas;
            for (const TrazoSensibilidad& t : d.Trazos)
                if (const double x = t.Caja.center().x();
                    t.Tipo == t.Texto && t.Caja.top() == area.bottom() + 4 &&
                    std::abs(x - area.center().x()) < area.width() / 2 + 62) {
                    QVERIFY(x >= area.left() - 1e-6 && x <= area.right() + 1e-6);
                    abscisas << QString(t.Cadena).remove(u',').toDouble();
                }
            QVERIFY(abscisas.size() >= 2);
            QCOMPARE(abscisas[1] - abscisas[0], redondo(c.Hasta - c.Desde, 4));
            QList<QPointF> esperados[2], trazados[2];
            for (const PuntoSensibilidad& p : c.Puntos)
                for (const int lado : {0, 1})
                    if (p.Alternativa > 0)
                        esperados[lado] << QPointF(
                            area.left() + (p.X - c.Desde) / (c.Hasta - c.Desde) * area.width(),
                            area.bottom() -
                                (lado ? p.Costo / 1000 : p.SN) / topes[lado] * area.height());
            for (const TrazoSensibilidad& t : d.Trazos)
                if (t.Tipo == t.Linea && t.Ancho == 2 && area.contains(t.Puntos.first()))
                    trazados[t.Estilo == Qt::DashLine] += t.Puntos;
            for (const int lado : {0, 1}) {
                QCOMPARE(trazados[lado].size(), esperados[lado].size());
                for (qsizetype j = 0; j < esperados[lado].size(); ++j)
                    QVERIFY(QLineF(trazados[lado][j], esperados[lado][j]).length() < 1e-6);
            }
            // Cada "Alt n", justo encima del costo donde esa alternativa pasa a ser la más
            // barata (otra vez tras un punto sin diseño).
            int cambios = 0, previa = 0;
            for (const PuntoSensibilidad& p : c.Puntos)
                cambios += p.Alternativa > 0 && p.Alternativa != previa, previa = p.Alternativa;
            const auto sobreSuCosto = [&](const TrazoSensibilidad& t) {
                const QPointF ancla = t.Caja.bottomLeft() + QPointF(2, 4);
                const auto en = [&](QPointF q) { return QLineF(q, ancla).length() < 1e-6; };
                return t.Cadena.startsWith(u"Alt "_s) && t.Letra == 9 &&
                       std::any_of(esperados[1].begin(), esperados[1].end(), en);
            };
            QCOMPARE(std::count_if(d.Trazos.begin(), d.Trazos.end(), sobreSuCosto), cambios);
            const auto punto = std::find_if(c.Puntos.begin(), c.Puntos.end(),
                                            [&](const auto& p) { return p.X == c.Unidad.X; });
            QVERIFY(punto != c.Puntos.end());
            // Los círculos de la unidad, de radio 4, sobre su SN y sobre su costo en miles.
            const double xu =
                area.left() + (c.Unidad.X - c.Desde) / (c.Hasta - c.Desde) * area.width();
            for (const auto& [y, color] :
                 {std::pair(c.Unidad.SN / topes[0], QColor(0, 70, 160)),
                  std::pair(c.Unidad.Costo / 1000 / topes[1], QColor(170, 40, 0))})
                QVERIFY(std::ranges::any_of(d.Trazos, [&](const auto& t) {
                    const QPointF centro(xu, area.bottom() - y * area.height());
                    return t.Tipo == t.Circulo && t.Color == color && t.Radio == 4 &&
                           QLineF(t.Puntos.value(0), centro).length() < 1e-6;
                }));
            const QString rotulo = u"alternativa %1, %2 miles $"_s.arg(punto->Alternativa)
                                       .arg(Formato(punto->Costo / 1000, u"#,##0"));
            QCOMPARE(std::count_if(d.Trazos.begin(), d.Trazos.end(),
                                   [&](const auto& t) {
                                       // Bajo los rótulos de las abscisas, en una caja que le cabe.
                                       return t.Cadena.endsWith(rotulo) && t.Letra == 10 &&
                                              t.Caja.top() > area.bottom() + 18 &&
                                              t.Caja.height() >= 10;
                                   }),
                     curvas.size()); // la misma unidad en las tres
        }
        // La unidad marcada en cada curva: una vertical de trazos, un círculo en su SN y otro
        // en su costo.
        QCOMPARE(std::count_if(d.Trazos.begin(), d.Trazos.end(),
                               [](const auto& t) {
                                   return t.Estilo == Qt::DashLine && t.Puntos.size() == 2 &&
                                          t.Puntos[0].x() == t.Puntos[1].x();
                               }),
                 3);
        QCOMPARE(std::count_if(d.Trazos.begin(), d.Trazos.end(),
                               [](const auto& t) { return t.Tipo == t.Circulo && t.Radio > 0; }),
                 2 * 3);
        // La leyenda al pie: la muestra de cada línea, de 30 de largo, y su texto a 6 de ella
        // y a su altura.
        for (const auto& [texto, color, estilo] :
             {std::tuple(u"SN requerido"_s, QColor(0, 70, 160), Qt::SolidLine),
              std::tuple(u"Costo de la alternativa aplicable más barata (miles de pesos)"_s,
                         QColor(170, 40, 0), Qt::DashLine)}) {
            const auto t = std::ranges::find(d.Trazos, texto, &TrazoSensibilidad::Cadena);
            QVERIFY(t != d.Trazos.end() && t->Caja.bottom() <= d.Alto);
            const QPointF fin(t->Caja.left() - 6, t->Caja.center().y());
            QVERIFY(std::ranges::any_of(d.Trazos, [&](const TrazoSensibilidad& m) {
                return m.Puntos == QPolygonF({fin - QPointF(30, 0), fin}) && m.Color == color &&
                       m.Estilo == estilo;
            }));
        }
        // Tras un punto sin diseño la alternativa más barata se rotula otra vez.
        CurvaSensibilidad c{VariableSensibilidad::CBR, 0, 2, {}, {}, {}};
        for (const int alternativa : {1, 1, 0, 1})
            c.Puntos << PuntoSensibilidad{double(c.Puntos.size()), 2, 1e6, alternativa, {}};
        // Cada corte, una vertical gris punteada con lo que cambia a su derecha, uno bajo otro.
        c.Cortes = {{0.5, 3, true}, {1.5, 4, false}};
        QStringList cortes, esperados;
        // Sin rango (de 2 a 2), todo al centro y nada fuera de lugar.
        CurvaSensibilidad plana{VariableSensibilidad::CBR, 2, 2, {{2, 2, 1e6, 1, {}}}, {}, {}};
        const DibujoSensibilidad h =
            DibujarSensibilidad({c, plana}, u"t"_s, SeparadorDecimal::Punto);
        QCOMPARE(
            std::ranges::count_if(h.Trazos, [](const auto& t) { return t.Cadena == u"Alt 1"; }), 3);
        // Dos puntos seguidos hacen la línea del SN y la del costo; uno solo, ninguna (las otras
        // dos son las de la leyenda).
        QList<qsizetype> lineas;
        for (const TrazoSensibilidad& t : h.Trazos) {
            if (t.Tipo == t.Linea && t.Ancho == 2) lineas << t.Puntos.size();
            for (const QPointF& q : t.Puntos)
                QVERIFY(std::isfinite(q.x()) && std::isfinite(q.y()));
        }
        QCOMPARE(lineas, (QList<qsizetype>{2, 2, 2, 2}));
        const QColor gris(120, 120, 120);
        for (const TrazoSensibilidad& t : h.Trazos) {
            if (t.Tipo == t.Linea && t.Estilo == Qt::DotLine && t.Color == gris)
                esperados << u"%1 %2"_s.arg(t.Puntos[0].x() + 3)
                                 .arg(t.Puntos[0].y() + 2 + 12 * esperados.size());
            if (t.Tipo == t.Texto && t.Color == gris)
                cortes << u"%1 %2"_s.arg(t.Caja.left()).arg(t.Caja.top()) + u' ' + t.Cadena;
        }
        QCOMPARE(esperados.size(), 2);
        esperados[0] += u" Alt 3 aplica"_s, esperados[1] += u" Alt 4 no aplica"_s;
        QCOMPARE(cortes, esperados);
        // Un costo justo en cinco pasos redondos (5.000 miles) los toma tal cual.
        plana.Puntos[0].Costo = 5e6;
        QStringList rotulosMiles;
        for (const TrazoSensibilidad& t :
             DibujarSensibilidad({plana}, u"t"_s, SeparadorDecimal::Punto).Trazos)
            if (t.Tipo == t.Texto && t.Color == QColor(170, 40, 0) && t.Caja.width() == 56)
                rotulosMiles << t.Cadena;
        QCOMPARE(rotulosMiles.join(u' '), u"0 1,000 2,000 3,000 4,000 5,000"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasDispositivoSvg)
#include "PruebasDispositivoSvg.moc"
