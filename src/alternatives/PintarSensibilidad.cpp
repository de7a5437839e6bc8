#include "alternatives/PintarSensibilidad.h"

#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "project/ArchivoProyecto.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

const QColor AzulSN(0, 70, 160);
const QColor RojoCosto(170, 40, 0);
const QColor GrisEje(90, 90, 90);
const QColor GrisRejilla(215, 215, 215);
const QColor GrisCorte(120, 120, 120);

// Un paso de 1, 2 o 5 por una potencia de 10 que da unas divisiones.
double PasoRedondo(double rango, int divisiones) {
    if (!(rango > 0)) return 1;
    const double bruto = rango / divisiones;
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    const double f = bruto / potencia;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * potencia;
}

// La máscara de los rótulos de un eje: las cifras decimales que pide su paso.
QString MascaraDePaso(double paso) {
    const int decimales = std::clamp(int(-std::floor(std::log10(paso) + 1e-9)), 0, 3);
    return decimales == 0 ? QStringLiteral("#,##0")
                          : QStringLiteral("0.") + QString(decimales, u'0');
}

class Lienzo {
public:
    Lienzo(DibujoSensibilidad& d, SeparadorDecimal separador) : d_(d), separador_(separador) {}

    void Linea(QPolygonF puntos, const QColor& color, double ancho,
               Qt::PenStyle estilo = Qt::SolidLine) {
        TrazoSensibilidad t;
        t.Puntos = std::move(puntos);
        t.Color = color;
        t.Ancho = ancho;
        t.Estilo = estilo;
        d_.Trazos.append(t);
    }
    void Texto(const QRectF& caja, const QString& texto, Qt::Alignment alineacion,
               double letra = 11, const QColor& color = Qt::black, bool negrita = false) {
        TrazoSensibilidad t;
        t.Tipo = TrazoSensibilidad::Texto;
        t.Caja = caja;
        t.Cadena = texto;
        t.Alineacion = alineacion;
        t.Letra = letra;
        t.Color = color;
        t.Negrita = negrita;
        d_.Trazos.append(t);
    }
    void Circulo(QPointF centro, double radio, const QColor& color) {
        TrazoSensibilidad t;
        t.Tipo = TrazoSensibilidad::Circulo;
        t.Puntos = {centro};
        t.Radio = radio;
        t.Color = color;
        t.Ancho = 2;
        d_.Trazos.append(t);
    }
    QString Numero(double valor, const QString& mascara) const {
        return TextoVentana(Formato(valor, mascara), separador_);
    }

private:
    DibujoSensibilidad& d_;
    SeparadorDecimal separador_;
};

// Una curva en su recuadro: ejes, rejilla, las dos líneas, la unidad y los cortes.
void DibujarCurva(Lienzo& l, const CurvaSensibilidad& c, const QRectF& marco) {
    const QRectF area = marco.adjusted(62, 40, -62, -62);
    const double rangoX = c.Hasta - c.Desde;
    double snMaximo = 0, costoMaximo = 0;
    for (const PuntoSensibilidad& p : c.Puntos) {
        snMaximo = std::max(snMaximo, p.SN);
        costoMaximo = std::max(costoMaximo, p.Costo / 1000);
    }
    const double pasoSN = PasoRedondo(snMaximo, 5);
    const double pasoCosto = PasoRedondo(costoMaximo, 5);
    const double topeSN = std::max(pasoSN, std::ceil(snMaximo / pasoSN) * pasoSN);
    const double topeCosto = std::max(pasoCosto, std::ceil(costoMaximo / pasoCosto) * pasoCosto);
    const auto x = [&](double v) {
        return rangoX > 0 ? area.left() + (v - c.Desde) / rangoX * area.width() : area.center().x();
    };
    const auto ySN = [&](double v) { return area.bottom() - v / topeSN * area.height(); };
    const auto yCosto = [&](double v) { return area.bottom() - v / topeCosto * area.height(); };

    l.Texto(QRectF(marco.left(), marco.top(), marco.width(), 20), TituloVariable(c.Variable),
            Qt::AlignCenter, 12, Qt::black, true);
    l.Texto(QRectF(area.left() - 60, area.top() - 20, 60, 14), QStringLiteral("SN"), Qt::AlignRight,
            10, AzulSN, true);
    l.Texto(QRectF(area.right(), area.top() - 20, 62, 14), QStringLiteral("miles $"), Qt::AlignLeft,
            10, RojoCosto, true);

    // Rejilla y rótulos de los ejes: SN a la izquierda, costo a la derecha.
    const QString mascaraSN = MascaraDePaso(pasoSN);
    for (double v = 0; v <= topeSN + pasoSN / 2; v += pasoSN) {
        const double y = ySN(v);
        l.Linea({QPointF(area.left(), y), QPointF(area.right(), y)}, GrisRejilla, 1);
        l.Texto(QRectF(area.left() - 58, y - 7, 52, 14), l.Numero(v, mascaraSN),
                Qt::AlignRight | Qt::AlignVCenter, 10, AzulSN);
    }
    const QString mascaraCosto = MascaraDePaso(pasoCosto);
    for (double v = 0; v <= topeCosto + pasoCosto / 2; v += pasoCosto)
        l.Texto(QRectF(area.right() + 6, yCosto(v) - 7, 56, 14), l.Numero(v, mascaraCosto),
                Qt::AlignLeft | Qt::AlignVCenter, 10, RojoCosto);
    const double pasoX = PasoRedondo(rangoX, 4);
    const QString mascaraX = MascaraDePaso(pasoX);
    for (double v = std::ceil(c.Desde / pasoX - 1e-9) * pasoX; v <= c.Hasta + pasoX * 1e-9;
         v += pasoX) {
        l.Linea({QPointF(x(v), area.top()), QPointF(x(v), area.bottom())}, GrisRejilla, 1);
        l.Texto(QRectF(x(v) - 40, area.bottom() + 4, 80, 14), l.Numero(v, mascaraX),
                Qt::AlignHCenter | Qt::AlignVCenter, 10);
    }
    l.Linea({area.topLeft(), area.bottomLeft(), area.bottomRight(), area.topRight()}, GrisEje, 1);

    // Los cortes: una alternativa deja de aplicar (o empieza) en ese punto.
    double altoRotulo = area.top() + 2;
    for (const CorteSensibilidad& k : c.Cortes) {
        l.Linea({QPointF(x(k.X), area.top()), QPointF(x(k.X), area.bottom())}, GrisCorte, 1,
                Qt::DotLine);
        l.Texto(QRectF(x(k.X) + 3, altoRotulo, 120, 12),
                QStringLiteral("Alt %1 %2")
                    .arg(k.Alternativa)
                    .arg(k.AplicaDespues ? QStringLiteral("aplica") : QStringLiteral("no aplica")),
                Qt::AlignLeft | Qt::AlignVCenter, 9, GrisCorte);
        altoRotulo += 12;
    }

    // Las líneas se cortan donde la unidad queda sin diseño.
    QPolygonF sn, costo;
    const auto cerrar = [&] {
        if (sn.size() >= 2) l.Linea(sn, AzulSN, 2);
        if (costo.size() >= 2) l.Linea(costo, RojoCosto, 2, Qt::DashLine);
        sn.clear();
        costo.clear();
    };
    int anterior = 0;
    for (const PuntoSensibilidad& p : c.Puntos) {
        if (p.Alternativa == 0) {
            cerrar();
            anterior = 0;
            continue;
        }
        sn << QPointF(x(p.X), ySN(p.SN));
        costo << QPointF(x(p.X), yCosto(p.Costo / 1000));
        // Cuál alternativa es la más barata, donde empieza a serlo.
        if (p.Alternativa != anterior)
            l.Texto(QRectF(x(p.X) - 2, yCosto(p.Costo / 1000) - 16, 40, 12),
                    QStringLiteral("Alt %1").arg(p.Alternativa), Qt::AlignLeft | Qt::AlignVCenter,
                    9, RojoCosto);
        anterior = p.Alternativa;
    }
    cerrar();

    // La unidad tal como está diseñada.
    const double xu = x(c.Unidad.X);
    l.Linea({QPointF(xu, area.top()), QPointF(xu, area.bottom())}, GrisEje, 1, Qt::DashLine);
    l.Circulo(QPointF(xu, ySN(c.Unidad.SN)), 4, AzulSN);
    l.Circulo(QPointF(xu, yCosto(c.Unidad.Costo / 1000)), 4, RojoCosto);
    l.Texto(QRectF(marco.left(), area.bottom() + 22, marco.width(), 16),
            QStringLiteral("Unidad: %1; SN %2; alternativa %3, %4 miles $")
                .arg(l.Numero(c.Unidad.X, c.Variable == VariableSensibilidad::Transito
                                              ? QStringLiteral("#,##0")
                                              : QStringLiteral("0.0")),
                     l.Numero(c.Unidad.SN, QStringLiteral("0.00")))
                .arg(c.Unidad.Alternativa)
                .arg(l.Numero(c.Unidad.Costo / 1000, QStringLiteral("#,##0"))),
            Qt::AlignCenter, 10);
}

QString Escapar(const QString& texto) {
    QString r = texto;
    r.replace(u'&', QStringLiteral("&amp;"));
    r.replace(u'<', QStringLiteral("&lt;"));
    r.replace(u'>', QStringLiteral("&gt;"));
    r.replace(u'"', QStringLiteral("&quot;"));
    return r;
}

QString Color(const QColor& c) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString Num(double v) {
    return QString::number(v, 'f', 2);
}

} // namespace

DibujoSensibilidad DibujarSensibilidad(const QList<CurvaSensibilidad>& curvas,
                                       const QString& titulo, SeparadorDecimal separador) {
    DibujoSensibilidad d;
    Lienzo l(d, separador);
    l.Texto(QRectF(0, 4, d.Ancho, 22), titulo, Qt::AlignCenter, 14, Qt::black, true);
    const double ancho = d.Ancho / std::max<qsizetype>(1, curvas.size());
    for (qsizetype k = 0; k < curvas.size(); ++k)
        DibujarCurva(l, curvas[k], QRectF(k * ancho, 34, ancho, d.Alto - 60));
    // Leyenda al pie.
    const double y = d.Alto - 16;
    l.Linea({QPointF(360, y), QPointF(390, y)}, AzulSN, 2);
    l.Texto(QRectF(396, y - 8, 200, 16), QStringLiteral("SN requerido"), Qt::AlignLeft, 11);
    l.Linea({QPointF(560, y), QPointF(590, y)}, RojoCosto, 2, Qt::DashLine);
    l.Texto(QRectF(596, y - 8, 400, 16),
            QStringLiteral("Costo de la alternativa aplicable más barata (miles de pesos)"),
            Qt::AlignLeft, 11);
    return d;
}

void PintarSensibilidad(QPainter& p, const QRectF& destino, const DibujoSensibilidad& d) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double escala = std::min(destino.width() / d.Ancho, destino.height() / d.Alto);
    p.translate(destino.left() + (destino.width() - d.Ancho * escala) / 2,
                destino.top() + (destino.height() - d.Alto * escala) / 2);
    p.scale(escala, escala);
    for (const TrazoSensibilidad& t : d.Trazos) {
        switch (t.Tipo) {
        case TrazoSensibilidad::Linea: {
            QPen pluma(t.Color, t.Ancho, t.Estilo);
            p.setPen(pluma);
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(t.Puntos);
            break;
        }
        case TrazoSensibilidad::Circulo:
            p.setPen(QPen(t.Color, t.Ancho));
            p.setBrush(Qt::white);
            p.drawEllipse(t.Puntos.value(0), t.Radio, t.Radio);
            break;
        case TrazoSensibilidad::Texto: {
            QFont letra = p.font();
            letra.setPixelSize(std::max(1, qRound(t.Letra)));
            letra.setBold(t.Negrita);
            p.setFont(letra);
            p.setPen(t.Color);
            p.drawText(t.Caja, int(t.Alineacion | Qt::AlignVCenter) | Qt::TextDontClip, t.Cadena);
            break;
        }
        }
    }
    p.restore();
}

QByteArray SvgSensibilidad(const DibujoSensibilidad& d) {
    QString s = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                               "height=\"%2\" viewBox=\"0 0 %1 %2\" font-family=\"sans-serif\">\n"
                               "<rect width=\"%1\" height=\"%2\" fill=\"white\"/>\n")
                    .arg(Num(d.Ancho), Num(d.Alto));
    for (const TrazoSensibilidad& t : d.Trazos) {
        switch (t.Tipo) {
        case TrazoSensibilidad::Linea: {
            QStringList puntos;
            for (const QPointF& q : t.Puntos)
                puntos << Num(q.x()) + u',' + Num(q.y());
            const QString trazo =
                t.Estilo == Qt::DashLine  ? QStringLiteral(" stroke-dasharray=\"6,4\"")
                : t.Estilo == Qt::DotLine ? QStringLiteral(" stroke-dasharray=\"2,3\"")
                                          : QString();
            s += QStringLiteral("<polyline points=\"%1\" fill=\"none\" stroke=\"%2\" "
                                "stroke-width=\"%3\"%4/>\n")
                     .arg(puntos.join(u' '), Color(t.Color), Num(t.Ancho), trazo);
            break;
        }
        case TrazoSensibilidad::Circulo: {
            const QPointF c = t.Puntos.value(0);
            s += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"white\" "
                                "stroke=\"%4\" stroke-width=\"%5\"/>\n")
                     .arg(Num(c.x()), Num(c.y()), Num(t.Radio), Color(t.Color), Num(t.Ancho));
            break;
        }
        case TrazoSensibilidad::Texto: {
            const bool derecha = t.Alineacion & Qt::AlignRight;
            const bool izquierda = t.Alineacion & Qt::AlignLeft;
            const double x = derecha     ? t.Caja.right()
                             : izquierda ? t.Caja.left()
                                         : t.Caja.center().x();
            const QString ancla = derecha     ? QStringLiteral("end")
                                  : izquierda ? QStringLiteral("start")
                                              : QStringLiteral("middle");
            s += QStringLiteral("<text x=\"%1\" y=\"%2\" font-size=\"%3\" fill=\"%4\" "
                                "text-anchor=\"%5\" dominant-baseline=\"central\"%6>%7</text>\n")
                     .arg(Num(x), Num(t.Caja.center().y()), Num(t.Letra), Color(t.Color), ancla,
                          t.Negrita ? QStringLiteral(" font-weight=\"bold\"") : QString(),
                          Escapar(t.Cadena));
            break;
        }
        }
    }
    s += QStringLiteral("</svg>\n");
    return s.toUtf8();
}

QString ExportarSensibilidad(const QString& archivo, const DibujoSensibilidad& d) {
    const QString extension = QFileInfo(archivo).suffix().toLower();
    const QString fallo = QStringLiteral("No se pudo escribir [%1]...").arg(archivo);
    if (extension == u"pdf") {
        QPdfWriter pdf(archivo);
        pdf.setTitle(QStringLiteral("Sensibilidad"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QPainter p;
        if (!p.begin(&pdf)) return fallo;
        PintarSensibilidad(p, QRectF(0, 0, pdf.width(), pdf.height()), d);
        p.end();
        return QString();
    }
    QByteArray bytes;
    if (extension == u"svg") {
        bytes = SvgSensibilidad(d);
    } else if (extension == u"png") {
        // Al doble del lienzo: se lee bien impresa en media página.
        QImage imagen(qRound(d.Ancho * 2), qRound(d.Alto * 2), QImage::Format_RGB32);
        imagen.fill(Qt::white);
        QPainter p(&imagen);
        PintarSensibilidad(p, QRectF(0, 0, imagen.width(), imagen.height()), d);
        p.end();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        imagen.save(&buffer, "PNG");
    } else {
        return QStringLiteral("El archivo [%1] no es .pdf, .svg ni .png.").arg(archivo);
    }
    return EscribirArchivoSeguro(archivo, bytes).Ok ? QString() : fallo;
}
