#include "alternatives/PintarDiagrama.h"

#include "alternatives/DispositivoSvg.h"
#include "common/Formato.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>
#include <functional>
#include <tuple>

namespace {

const QColor ColorSN(0, 70, 170);
const QColor ColorCosto(120, 180, 120);
const QColor ColorSinAlternativa(200, 0, 0);
const QColor ColorRejilla(200, 200, 200);

// En una imagen o en la pantalla, rectángulos en píxeles enteros: el camino
// rápido del pintor (con fracciones rasteriza un trazado por rectángulo).
QRectF Ajustado(const QPainter& p, const QRectF& r) {
    if (p.paintEngine()->type() != QPaintEngine::Raster) return r;
    return QRectF(QPointF(std::round(r.left()), std::round(r.top())),
                  QPointF(std::round(r.right()), std::round(r.bottom())));
}

void Caja(QPainter& p, const QRectF& r) {
    if (p.paintEngine()->type() != QPaintEngine::Raster) return p.drawRect(r);
    const QRectF a = Ajustado(p, r);
    p.drawRect(QRect(qRound(a.left()), qRound(a.top()), qRound(a.width()), qRound(a.height())));
}

// Rayado a 45 grados dentro de un rectángulo: con líneas, para que salga igual
// en la pantalla, en PDF y en SVG.
void Rayar(QPainter& p, const QRectF& r, const QColor& color, double paso) {
    // Más angosto que el rayado: lleno de un tono claro y opaco de su color (con
    // transparencia el pintor reparte cada franja alta entre hilos: mil huecos pesan).
    if (r.width() < 2 * paso) {
        p.fillRect(Ajustado(p, r), color.lighter(140));
        return;
    }
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setPen(QPen(color, 0));
    for (double x = r.left() - r.height(); x < r.right(); x += paso)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

// Texto girado de abajo hacia arriba, con su base junto a x.
void TextoVertical(QPainter& p, double x, double abajo, double largo, const QString& texto,
                   Qt::Alignment alineacion, double alto) {
    p.save();
    p.translate(x, abajo);
    p.rotate(-90);
    p.drawText(QRectF(0, 0, largo, alto), alineacion | Qt::AlignVCenter, texto);
    p.restore();
}

QString Miles(double pesos) {
    return Formato(pesos / 1000, u"#,##0");
}

} // namespace

std::pair<QColor, QColor> ColoresCaja(int n, int k) {
    switch (k) {
    case 0: {
        const int gris = n <= 2 ? 192 : n <= 4 ? 128 : 64;
        return {QColor(gris, gris, gris), Qt::white};
    }
    case 1:
        if (n == 4) return {QColor(224, 224, 224), Qt::black};
        return {QColor(255, 192, 128), Qt::red};
    case 2:
        if (n == 2) return {QColor(0, 128, 128), QColor(224, 224, 224)};
        return {QColor(255, 224, 192), Qt::magenta};
    case 3:
        return {QColor(128, 64, 0), Qt::yellow};
    default:
        return {QColor(128, 128, 0), QColor(255, 128, 0)};
    }
}

std::pair<QColor, QColor> ColoresMaterial(int tipo) {
    // Fondos claros con letra negra y oscuros con letra blanca: contraste de 4,5:1
    // o más en todos.
    switch (tipo) {
    case CapaTSD:
        return {QColor(60, 60, 60), Qt::white};
    case CapaBG:
        return {QColor(255, 192, 128), Qt::black};
    case CapaSBG:
        return {QColor(255, 228, 196), Qt::black};
    case CapaBEC:
        return {QColor(0, 110, 110), Qt::white};
    case CapaMDF2:
        return {QColor(96, 96, 96), Qt::white};
    case CapaBEE3:
        return {QColor(200, 220, 240), Qt::black};
    case CapaMDC2:
        return {QColor(40, 40, 40), Qt::white};
    case CapaCSR:
        return {QColor(160, 160, 60), Qt::black};
    case CapaAFR:
        return {QColor(128, 64, 0), Qt::white};
    default:
        return {QColor(230, 230, 230), Qt::black};
    }
}

EncabezadoDiagrama EncabezadoDe(const ModuloVarek9& m) {
    return {QFileInfo(m.ArchivoProyecto).fileName(), m.Proyecto.Nombre.trimmed(),
            m.Proyecto.Ubicacion.trimmed(),
            QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))};
}

QStringList TituloDiagrama(const EncabezadoDiagrama& e, double desde, double hasta, int pagina,
                           int paginas) {
    QString uno = QStringLiteral("DIAGRAMA LINEAL DE ESTRUCTURAS   Proyecto [%1]").arg(e.Codigo);
    if (!e.Nombre.isEmpty()) uno += QStringLiteral("  ") + e.Nombre;
    if (!e.Ubicacion.isEmpty()) uno += QStringLiteral("  -  ") + e.Ubicacion;
    QString dos = QStringLiteral("Abscisas %1 a %2").arg(TextoAbscisa(desde), TextoAbscisa(hasta));
    if (!e.Fecha.isEmpty()) dos += QStringLiteral("     Fecha %1").arg(e.Fecha);
    if (paginas > 0) dos += QStringLiteral("     Página %1 de %2").arg(pagina).arg(paginas);
    return {uno, dos};
}

QFont LetraDiagrama() {
    QFont letra(QStringLiteral("Liberation Sans"));
    letra.setStyleHint(QFont::SansSerif);
    letra.setPointSizeF(8);
    return letra;
}

MedidaLetra MedirLetra(const QFont& letra, QPaintDevice* dispositivo) {
    const QFontMetricsF m(letra, dispositivo);
    // El ancho de las cifras y mayúsculas de los rótulos (no el promedio de
    // minúsculas), con un margen: un rótulo que "cabe" no toca los bordes.
    return {m.horizontalAdvance(QStringLiteral("MDF-2 10.0")) / 10 * 1.1, m.height()};
}

void PintarFondo(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r,
                 const QStringList& titulo) {
    const double a = r.Rotulos.height() / 2;
    const double izquierda = r.Titulo.left() - r.MargenIzquierdo;
    p.setPen(Qt::black);
    QFont negrita = p.font();
    negrita.setBold(true);
    // Cuadro de título: proyecto, ubicación, tramo, fecha y página.
    const QRectF cuadro(izquierda, r.Titulo.top(), r.Titulo.right() - izquierda, 2 * a);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(cuadro);
    for (qsizetype l = 0; l < titulo.size() && l < 2; ++l) {
        p.save();
        if (l == 0) p.setFont(negrita);
        p.drawText(cuadro.adjusted(a / 3, l * a, -a / 3, (l - 1) * a),
                   Qt::AlignLeft | Qt::AlignVCenter, titulo[l]);
        p.restore();
    }
    const QRectF margen(izquierda, 0, r.MargenIzquierdo - a / 3, 0);
    // Los rótulos de las escalas no se salen de su franja (no tapan a los vecinos).
    const auto aLaIzquierda = [&](double y, const QString& texto, const QRectF& dentro) {
        const double arriba = dentro.top() + a / 2;
        y = std::clamp(y, arriba, std::max(arriba, dentro.bottom() - a / 2));
        p.drawText(QRectF(margen.left(), y - a / 2, margen.width(), a),
                   Qt::AlignRight | Qt::AlignVCenter, texto);
    };

    // Escala vertical de los espesores y rejilla de los kilómetros.
    // Solo dentro de las franjas del dibujo: no cruza los rótulos ni las abscisas.
    p.setPen(QPen(ColorRejilla, 0));
    for (const auto& [x, m] : r.MarcasX)
        for (const QRectF& franja : {r.Estructuras, r.SN, r.Costo})
            p.drawLine(QPointF(x, franja.top()), QPointF(x, franja.bottom()));
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(r.Estructuras.topLeft(), r.Estructuras.bottomLeft());
    for (const auto& [y, m] : r.MarcasCm) {
        p.drawLine(QPointF(r.Estructuras.left() - a / 3, y), QPointF(r.Estructuras.left(), y));
        aLaIzquierda(y, m.Texto, r.Estructuras);
    }
    aLaIzquierda(r.Rotulos.top() + a / 2, QStringLiteral("UH"), r.Rotulos);
    aLaIzquierda(r.Rotulos.top() + 1.5 * a, QStringLiteral("Alternativa"), r.Rotulos);

    // Eje de abscisas con sus marcas.
    p.drawLine(r.Abscisas.topLeft(), r.Abscisas.topRight());
    aLaIzquierda(r.Abscisas.top() + 1.5 * a, QStringLiteral("Abscisa"), r.Abscisas);
    for (const auto& [x, m] : r.MarcasX) {
        p.drawLine(QPointF(x, r.Abscisas.top()), QPointF(x, r.Abscisas.top() + a / 3));
        p.drawText(QRectF(x - 5 * a, r.Abscisas.top() + a / 4, 10 * a, a), Qt::AlignCenter,
                   m.Texto);
    }

    // Franjas del número estructural y del costo por km, con su escala.
    for (const auto& [franja, rotulo, escala] :
         {std::tuple{r.SN, QStringLiteral("Número estructural requerido"),
                     Formato(r.EscalaSN, u"0.0")},
          std::tuple{r.Costo,
                     QStringLiteral("Costo por km de la alternativa seleccionada "
                                    "(miles de pesos)"),
                     Formato(r.EscalaCosto, u"#,##0")}}) {
        p.setPen(QPen(ColorRejilla, 0));
        p.drawRect(franja);
        p.setPen(Qt::black);
        p.drawText(QRectF(franja.left(), franja.top() - a, franja.width(), a),
                   Qt::AlignLeft | Qt::AlignVCenter, rotulo);
        aLaIzquierda(franja.top(), escala, franja);
        aLaIzquierda(franja.bottom(), QStringLiteral("0"), franja);
    }

    p.drawText(QRectF(izquierda, r.Totales.top(), r.Totales.right() - izquierda, a),
               Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Longitud: %1 m     Costo total de la selección: %2 miles de pesos"
                              "     Promedio: %3 miles de pesos por km")
                   .arg(Formato(d.Longitud, u"#,##0.00"), Miles(d.CostoTotal),
                        Formato(d.CostoPromedioKm, u"#,##0")));
}

void PintarColumna(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r, int j) {
    const ColumnaDispuesta& col = r.Columnas[j];
    const ColumnaDiagrama& c = d.Columnas[col.Columna];
    const double a = r.Rotulos.height() / 2;
    const QRectF& e = col.Estructura;
    if (c.Alternativa == 0) {
        // Sin alternativa: la columna entera rayada, con su texto si cabe.
        p.setPen(QPen(ColorSinAlternativa, 0));
        p.setBrush(Qt::NoBrush);
        Caja(p, e);
        Rayar(p, e, ColorSinAlternativa, a);
        if (e.width() >= a) {
            p.setPen(ColorSinAlternativa);
            TextoVertical(p, e.center().x() - a / 2, e.bottom(), e.height(),
                          QStringLiteral("Sin alternativa"), Qt::AlignLeft, a);
        }
    }
    for (qsizetype k = 0; k < c.Capas.size(); ++k) {
        const CapaDiagrama& capa = c.Capas[k];
        const QRectF& rect = col.Capas[k].Rectangulo;
        if (capa.Espesor <= 0) continue; // el tratamiento, encima de todo
        const auto [fondo, texto] = ColoresMaterial(capa.Tipo);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(fondo);
        Caja(p, rect);
        if (col.Capas[k].EtiquetaCabe) {
            p.setPen(texto);
            p.drawText(rect, Qt::AlignCenter, capa.Etiqueta);
        }
    }
    for (qsizetype k = 0; k < c.Capas.size(); ++k) {
        const CapaDiagrama& capa = c.Capas[k];
        const QRectF& rect = col.Capas[k].Rectangulo;
        if (capa.Espesor <= 0) {
            // El tratamiento superficial no tiene espesor a escala: una franja delgada
            // en la superficie, con su rótulo debajo si la capa siguiente lo deja.
            const QRectF franja(e.left(), rect.top(), e.width(), a / 2);
            p.setPen(QPen(Qt::black, 0));
            p.setBrush(ColoresMaterial(capa.Tipo).first);
            Caja(p, franja);
            const QRectF debajo = k + 1 < c.Capas.size() ? col.Capas[k + 1].Rectangulo : QRectF();
            if (debajo.height() >= 3 * a && debajo.width() >= 4 * a) {
                p.setPen(Qt::black);
                p.drawText(QRectF(e.left(), franja.bottom(), e.width(), a), Qt::AlignCenter,
                           capa.Etiqueta);
            }
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::black);
    if (col.RotuloCabe) {
        p.drawText(QRectF(e.left(), col.Rotulo.top(), e.width(), a), Qt::AlignCenter, c.Codigo);
        p.drawText(QRectF(e.left(), col.Rotulo.top() + a, e.width(), a), Qt::AlignCenter,
                   c.TextoAlternativa());
    }
    if (col.AbscisasCaben) {
        const QRectF& b = col.Abscisas;
        // Donde dos unidades se tocan la abscisa se escribe una vez, con la anterior.
        const bool escrita = j > 0 && r.Columnas[j - 1].AbscisasCaben &&
                             d.Columnas[r.Columnas[j - 1].Columna].Hasta == c.Desde;
        if (!escrita)
            TextoVertical(p, b.left(), b.bottom(), b.height(), TextoAbscisa(c.Desde), Qt::AlignLeft,
                          a);
        TextoVertical(p, b.right() - a, b.bottom(), b.height(), TextoAbscisa(c.Hasta),
                      Qt::AlignLeft, a);
    }
    // Escalón del número estructural, unido al de la columna anterior si se tocan.
    p.setPen(QPen(ColorSN, std::max(1.0, a / 8)));
    const QRectF sn = Ajustado(p, col.SN);
    p.drawLine(sn.topLeft(), sn.topRight());
    if (j > 0) {
        const ColumnaDispuesta& antes = r.Columnas[j - 1];
        if (std::abs(antes.SN.right() - col.SN.left()) < 0.5)
            p.drawLine(QPointF(sn.left(), Ajustado(p, antes.SN).top()), sn.topLeft());
    }
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(ColorCosto);
    if (col.Costo.height() > 0) Caja(p, col.Costo);
    p.setBrush(Qt::NoBrush);
}

void PintarEncima(QPainter& p, const DiagramaLineal&, const DisposicionDiagrama& r) {
    const double a = r.Rotulos.height() / 2;
    const auto marcar = [&](const QList<QRectF>& rects, const QColor& color, const QString& t) {
        for (const QRectF& rect : rects) {
            Rayar(p, rect, color, a / 2);
            if (rect.width() < a) continue;
            p.setPen(QPen(color, 0));
            p.setBrush(Qt::NoBrush);
            Caja(p, rect);
            if (rect.width() >= a) {
                p.setPen(color);
                TextoVertical(p, rect.center().x() - a / 2, rect.bottom(), rect.height(), t,
                              Qt::AlignRight, a);
            }
        }
    };
    marcar(r.Huecos, QColor(110, 110, 110), QStringLiteral("Hueco"));
    marcar(r.Solapes, QColor(220, 0, 120), QStringLiteral("Solape"));
}

void PintarDiagrama(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r,
                    const QStringList& titulo) {
    PintarFondo(p, d, r, titulo);
    for (qsizetype j = 0; j < r.Columnas.size(); ++j)
        PintarColumna(p, d, r, static_cast<int>(j));
    PintarEncima(p, d, r);
}

namespace {

double AnchoUtil(const QRectF& area, const MedidaLetra& letra) {
    return DisponerDiagrama(DiagramaLineal{}, area, 0, 1, letra).Estructuras.width();
}

} // namespace

// Lo que la columna necesita de ancho para que todos sus rótulos se lean.
QList<PaginaDiagrama> PaginasDiagrama(const DiagramaLineal& d, const QRectF& area,
                                      const MedidaLetra& letra) {
    qsizetype largo = 0;
    for (const ColumnaDiagrama& c : d.Columnas) {
        largo = std::max({largo, c.Codigo.size(), c.TextoAlternativa().size()});
        for (const CapaDiagrama& capa : c.Capas)
            largo = std::max(largo, capa.Etiqueta.size());
    }
    return PaginarDiagrama(d, AnchoUtil(area, letra),
                           std::max(largo * letra.Ancho + 4, 2 * letra.Alto + 4));
}

int ImprimirDiagrama(QPagedPaintDevice& dispositivo, const DiagramaLineal& d,
                     const EncabezadoDiagrama& e) {
    dispositivo.setPageOrientation(QPageLayout::Landscape);
    QPainter p;
    if (!p.begin(&dispositivo)) return 0;
    const QFont letra = LetraDiagrama();
    p.setFont(letra);
    const MedidaLetra medida = MedirLetra(letra, &dispositivo);
    const QRectF area(0, 0, dispositivo.width(), dispositivo.height());
    const QList<PaginaDiagrama> paginas = PaginasDiagrama(d, area, medida);
    for (qsizetype k = 0; k < paginas.size(); ++k) {
        if (k > 0) dispositivo.newPage();
        const PaginaDiagrama& pg = paginas[k];
        const double desde = pg.Desde, hasta = pg.Hasta;
        PintarDiagrama(p, d, DisponerDiagrama(d, area, desde, hasta, medida, pg.Primera, pg.Ultima),
                       TituloDiagrama(e, desde, hasta, static_cast<int>(k) + 1,
                                      static_cast<int>(paginas.size())));
    }
    p.end();
    return static_cast<int>(paginas.size());
}

namespace {

QString EscaparXml(QString texto) {
    return texto.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"))
        .replace(u'"', QStringLiteral("&quot;"));
}

// Un SVG por página impresa, del tamaño de la hoja A4 apaisada; cada unidad, en un
// grupo con su nombre y una descripción legible por máquina (abscisas y capas).
QList<QByteArray> SvgPaginas(const DiagramaLineal& d, const EncabezadoDiagrama& e) {
    // La resolución del PDF: la letra mide lo mismo y las páginas coinciden.
    constexpr double Ppp = 1200;
    const QSizeF hoja(297 / 25.4 * Ppp, 210 / 25.4 * Ppp);
    const double margen = 10 / 25.4 * Ppp;
    const QRectF area(margen, margen, hoja.width() - 2 * margen, hoja.height() - 2 * margen);
    const QFont letra = LetraDiagrama();

    DispositivoSvg medida(hoja, Ppp);
    const MedidaLetra m = MedirLetra(letra, &medida);
    QList<PaginaDiagrama> paginas;
    if (!d.Columnas.isEmpty()) paginas = PaginasDiagrama(d, area, m);
    // Sin unidades, una hoja con el fondo, como la imprime el PDF.
    if (paginas.isEmpty()) {
        PaginaDiagrama toda;
        toda.Desde = d.AbscisaMinima;
        toda.Hasta = d.AbscisaMaxima;
        toda.Ultima = -1;
        paginas << toda;
    }
    QList<QByteArray> svgs;
    for (qsizetype k = 0; k < paginas.size(); ++k) {
        const PaginaDiagrama& pg = paginas[k];
        const DisposicionDiagrama r =
            DisponerDiagrama(d, area, pg.Desde, pg.Hasta, m, pg.Primera, pg.Ultima);
        DispositivoSvg svg(hoja, Ppp);
        const auto pintar = [&](const std::function<void(QPainter&)>& dibujo) {
            QPainter p(&svg);
            p.setFont(letra);
            dibujo(p);
            p.end();
            return svg.Tomar();
        };
        QByteArray cuerpo = pintar([&](QPainter& p) {
            p.fillRect(QRectF(QPointF(0, 0), hoja), Qt::white);
            PintarFondo(p, d, r,
                        TituloDiagrama(e, pg.Desde, pg.Hasta, static_cast<int>(k) + 1,
                                       static_cast<int>(paginas.size())));
        });
        for (qsizetype j = 0; j < r.Columnas.size(); ++j) {
            const ColumnaDiagrama& c = d.Columnas[r.Columnas[j].Columna];
            QStringList capas;
            for (const CapaDiagrama& capa : c.Capas)
                capas << capa.Etiqueta;
            const QString id = QStringLiteral("UH%1").arg(c.Unidad);
            cuerpo += QStringLiteral("<g id=\"%1\" class=\"unidad\">\n<desc>%2</desc>\n")
                          .arg(id, EscaparXml(QStringLiteral("%1 %2 a %3 %4: %5")
                                                  .arg(c.Codigo, TextoAbscisa(c.Desde),
                                                       TextoAbscisa(c.Hasta), c.TextoAlternativa(),
                                                       capas.join(u", "))))
                          .toUtf8();
            cuerpo += pintar([&](QPainter& p) { PintarColumna(p, d, r, static_cast<int>(j)); });
            cuerpo += "</g>\n";
        }
        cuerpo += pintar([&](QPainter& p) { PintarEncima(p, d, r); });
        // Los recortes se conocen al final: la cabecera, con sus definiciones, va después.
        QString titulo = QStringLiteral("Diagrama lineal de estructuras [%1]").arg(e.Codigo);
        if (paginas.size() > 1)
            titulo += QStringLiteral(", página %1 de %2").arg(k + 1).arg(paginas.size());
        svgs << svg.Cabecera(titulo) + cuerpo + "</svg>\n";
    }
    return svgs;
}

} // namespace

namespace {

// Un PNG del tramo [desde, hasta] a 200 ppp, del ancho dado y el alto de una A4 apaisada.
QByteArray Png(const DiagramaLineal& d, const EncabezadoDiagrama& e, int ancho, double desde,
               double hasta, int primera, int ultima, int imagen, int imagenes) {
    constexpr double Ppp = 200;
    QImage lienzo(ancho, qRound(210 / 25.4 * Ppp), QImage::Format_RGB32);
    lienzo.setDotsPerMeterX(qRound(Ppp / 0.0254));
    lienzo.setDotsPerMeterY(qRound(Ppp / 0.0254));
    lienzo.fill(Qt::white);
    QPainter p(&lienzo);
    const QFont letra = LetraDiagrama();
    p.setFont(letra);
    const double margen = 10 / 25.4 * Ppp;
    const QRectF area(margen, margen, lienzo.width() - 2 * margen, lienzo.height() - 2 * margen);
    PintarDiagrama(
        p, d, DisponerDiagrama(d, area, desde, hasta, MedirLetra(letra, &lienzo), primera, ultima),
        TituloDiagrama(e, desde, hasta, imagen, imagenes));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    lienzo.save(&buffer, "PNG");
    return bytes;
}

// "x.svg" si hay una parte; si no, "x-1.svg", "x-2.svg"...
QString NombreParte(const QString& archivo, qsizetype parte, qsizetype partes) {
    if (partes == 1) return archivo;
    const QFileInfo info(archivo);
    const QString nombre =
        QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(parte + 1).arg(info.suffix());
    // Un nombre sin carpeta sigue sin ella: "x-1.svg", no "./x-1.svg".
    return info.path() == u"." && !archivo.startsWith(u'.') ? nombre : info.dir().filePath(nombre);
}

QString EscribirBytes(const QString& archivo, const QByteArray& bytes) {
    QSaveFile salida(archivo);
    if (!salida.open(QIODevice::WriteOnly) || salida.write(bytes) != bytes.size() ||
        !salida.commit())
        return QStringLiteral("No se pudo escribir [%1]...").arg(archivo);
    return QString();
}

} // namespace

QString ExportarPng(const QString& archivo, const DiagramaLineal& d, const EncabezadoDiagrama& e,
                    QStringList* escritos, int maximoAncho) {
    constexpr double Ppp = 200;
    const int anchoA4 = qRound(297 / 25.4 * Ppp);
    const double margen = 10 / 25.4 * Ppp;
    // La imagen crece con el camino: tantas hojas de ancho como pide que cada rótulo se
    // lea; pasado el máximo, el camino se corta en varias imágenes.
    QImage medida(anchoA4, qRound(210 / 25.4 * Ppp), QImage::Format_RGB32);
    medida.setDotsPerMeterX(qRound(Ppp / 0.0254));
    medida.setDotsPerMeterY(qRound(Ppp / 0.0254));
    const MedidaLetra letra = MedirLetra(LetraDiagrama(), &medida);
    const QRectF hoja(margen, margen, anchoA4 - 2 * margen, medida.height() - 2 * margen);
    const QList<PaginaDiagrama> hojas =
        d.Columnas.isEmpty() ? QList<PaginaDiagrama>() : PaginasDiagrama(d, hoja, letra);
    const qsizetype porImagen = std::max<qsizetype>(1, maximoAncho / anchoA4);
    const qsizetype imagenes = hojas.isEmpty() ? 1 : (hojas.size() + porImagen - 1) / porImagen;
    for (qsizetype k = 0; k < imagenes; ++k) {
        double desde = d.AbscisaMinima, hasta = d.AbscisaMaxima;
        int primera = 0, ultima = -1;
        qsizetype n = 1;
        if (!hojas.isEmpty()) {
            const qsizetype i = k * porImagen;
            const qsizetype j = std::min(hojas.size(), i + porImagen) - 1;
            n = j - i + 1;
            desde = hojas[i].Desde;
            hasta = hojas[j].Hasta;
            if (imagenes > 1) {
                primera = hojas[i].Primera;
                ultima = hojas[j].Ultima;
            }
        }
        const QString nombre = NombreParte(archivo, k, imagenes);
        const int ancho = qRound(n * (297 / 25.4 * Ppp - 2 * margen) + 2 * margen);
        const QString error =
            EscribirBytes(nombre, Png(d, e, ancho, desde, hasta, primera, ultima,
                                      static_cast<int>(k) + 1, static_cast<int>(imagenes)));
        if (!error.isEmpty()) return error;
        if (escritos) escritos->append(nombre);
    }
    return QString();
}

QString ExportarDiagrama(const QString& archivo, const DiagramaLineal& d,
                         const EncabezadoDiagrama& e, QStringList* escritos) {
    const QString extension = QFileInfo(archivo).suffix().toLower();
    if (extension == u"pdf") {
        QPdfWriter pdf(archivo);
        pdf.setTitle(QStringLiteral("Diagrama lineal de estructuras [%1]").arg(e.Codigo));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        if (ImprimirDiagrama(pdf, d, e) == 0)
            return QStringLiteral("No se pudo escribir [%1]...").arg(archivo);
        if (escritos) escritos->append(archivo);
        return QString();
    }
    if (extension == u"png") return ExportarPng(archivo, d, e, escritos);
    if (extension != u"svg")
        return QStringLiteral("El archivo [%1] no es .pdf, .svg ni .png...").arg(archivo);
    const QList<QByteArray> paginas = SvgPaginas(d, e);
    for (qsizetype k = 0; k < paginas.size(); ++k) {
        const QString nombre = NombreParte(archivo, k, paginas.size());
        const QString error = EscribirBytes(nombre, paginas[k]);
        if (!error.isEmpty()) return error;
        if (escritos) escritos->append(nombre);
    }
    return QString();
}
