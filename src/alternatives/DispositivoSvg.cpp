#include "alternatives/DispositivoSvg.h"

#include <QBuffer>
#include <QImage>
#include <QList>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QRegion>
#include <QTextItem>
#include <QTransform>

#include <cmath>
#include <optional>

namespace {

// Números con dos decimales a lo sumo, sin ceros de sobra y siempre con punto.
QByteArray Num(double v) {
    if (std::abs(v) < 0.005) return "0";
    QByteArray s = QByteArray::number(v, 'f', 2);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.')) s.chop(1);
    return s;
}

QByteArray Escapar(const QString& texto) {
    QString t = texto;
    t.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"))
        .replace(u'"', QStringLiteral("&quot;"));
    return t.toUtf8();
}

QByteArray Color(const QColor& c) {
    return c.name(QColor::HexRgb).toLatin1();
}

QByteArray Trazado(const QPainterPath& camino) {
    QByteArray d;
    for (int i = 0; i < camino.elementCount(); ++i) {
        const QPainterPath::Element e = camino.elementAt(i);
        const char* orden = e.isMoveTo() ? "M" : e.isLineTo() ? "L" : e.isCurveTo() ? "C" : "";
        if (*orden == '\0') d += ' '; // los dos puntos que siguen a una curva
        d += orden + Num(e.x) + ',' + Num(e.y);
    }
    return d;
}

} // namespace

class MotorSvg : public QPaintEngine {
public:
    MotorSvg()
        : QPaintEngine(PaintEngineFeatures(AllFeatures) &
                       ~PaintEngineFeatures(PatternBrush | PerspectiveTransform |
                                            ConicalGradientFill | PorterDuff)) {}

    bool begin(QPaintDevice*) override {
        // El pintor nuevo no avisa lo que ya coincide con su estado inicial: sin esto,
        // la brocha del pintor anterior rellenaría lo que este pinta sin brocha.
        Pluma = QPen();
        Brocha = QBrush();
        Transformacion = QTransform();
        Recorte.reset();
        return true;
    }
    bool end() override {
        CerrarGrupo();
        return true;
    }
    Type type() const override { return SVG; }

    void updateState(const QPaintEngineState& estado) override {
        const DirtyFlags f = estado.state();
        if (f & DirtyPen) Pluma = estado.pen();
        if (f & DirtyBrush) Brocha = estado.brush();
        if (f & DirtyTransform) Transformacion = estado.transform();
        if (f & DirtyClipEnabled) RecorteActivo = estado.isClipEnabled();
        if (f & DirtyClipPath) Recortar(Transformacion.map(estado.clipPath()), estado);
        if (f & DirtyClipRegion) {
            QPainterPath camino;
            camino.addRegion(estado.clipRegion());
            Recortar(Transformacion.map(camino), estado);
        }
    }

    void drawRects(const QRectF* rects, int cantidad) override {
        for (int i = 0; i < cantidad; ++i) {
            if (Transformacion.type() > QTransform::TxScale) {
                QPainterPath camino;
                camino.addRect(rects[i]);
                drawPath(camino);
                continue;
            }
            const QRectF r = Transformacion.mapRect(rects[i]);
            Elemento("<rect x=\"" + Num(r.x()) + "\" y=\"" + Num(r.y()) + "\" width=\"" +
                     Num(r.width()) + "\" height=\"" + Num(r.height()) + '"' + Relleno() + Trazo() +
                     "/>");
        }
    }
    void drawLines(const QLineF* lineas, int cantidad) override {
        for (int i = 0; i < cantidad; ++i) {
            const QLineF l = Transformacion.map(lineas[i]);
            Elemento("<line x1=\"" + Num(l.x1()) + "\" y1=\"" + Num(l.y1()) + "\" x2=\"" +
                     Num(l.x2()) + "\" y2=\"" + Num(l.y2()) + '"' + Trazo() + "/>");
        }
    }
    void drawPath(const QPainterPath& camino) override {
        const QPainterPath c = Transformacion.map(camino);
        const QByteArray regla =
            c.fillRule() == Qt::WindingFill ? " fill-rule=\"nonzero\"" : " fill-rule=\"evenodd\"";
        Elemento("<path d=\"" + Trazado(c) + '"' + Relleno() + regla + Trazo() + "/>");
    }
    void drawPolygon(const QPointF* puntos, int cantidad, PolygonDrawMode modo) override {
        QByteArray lista;
        for (int i = 0; i < cantidad; ++i) {
            const QPointF q = Transformacion.map(puntos[i]);
            if (i > 0) lista += ' ';
            lista += Num(q.x()) + ',' + Num(q.y());
        }
        if (modo == PolylineMode) {
            Elemento("<polyline points=\"" + lista + "\" fill=\"none\"" + Trazo() + "/>");
            return;
        }
        const QByteArray regla =
            modo == WindingMode ? " fill-rule=\"nonzero\"" : " fill-rule=\"evenodd\"";
        Elemento("<polygon points=\"" + lista + '"' + Relleno() + regla + Trazo() + "/>");
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pm.copy(sr.toRect()).save(&buffer, "PNG");
        const QRectF d = Transformacion.mapRect(r);
        Elemento("<image x=\"" + Num(d.x()) + "\" y=\"" + Num(d.y()) + "\" width=\"" +
                 Num(d.width()) + "\" height=\"" + Num(d.height()) +
                 "\" preserveAspectRatio=\"none\" href=\"data:image/png;base64," + png.toBase64() +
                 "\"/>");
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFont f = item.font();
        // La letra ya resuelta para este dispositivo: su tamaño en píxeles del dispositivo.
        const double tamano = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * Ppp / 72;
        QByteArray posicion;
        if (Transformacion.type() <= QTransform::TxTranslate) {
            const QPointF q = Transformacion.map(p);
            posicion = "x=\"" + Num(q.x()) + "\" y=\"" + Num(q.y()) + '"';
        } else {
            const QTransform& t = Transformacion;
            posicion =
                "x=\"" + Num(p.x()) + "\" y=\"" + Num(p.y()) + "\" transform=\"matrix(" +
                QByteArray::number(t.m11(), 'g', 6) + ' ' + QByteArray::number(t.m12(), 'g', 6) +
                ' ' + QByteArray::number(t.m21(), 'g', 6) + ' ' +
                QByteArray::number(t.m22(), 'g', 6) + ' ' + Num(t.dx()) + ' ' + Num(t.dy()) + ")\"";
        }
        QByteArray estilo =
            " font-family=\"" + Escapar(f.family()) + "\" font-size=\"" + Num(tamano) + '"';
        if (f.bold()) estilo += " font-weight=\"bold\"";
        if (f.italic()) estilo += " font-style=\"italic\"";
        Elemento("<text " + posicion + estilo + " fill=\"" + Color(Pluma.color()) +
                 "\" xml:space=\"preserve\">" + Escapar(item.text()) + "</text>");
    }

    QByteArray Tomar() {
        CerrarGrupo();
        QByteArray s;
        s.swap(Salida);
        return s;
    }

    QByteArray Definiciones;
    double Ppp = 72;

private:
    void Recortar(const QPainterPath& camino, const QPaintEngineState& estado) {
        switch (estado.clipOperation()) {
        case Qt::NoClip:
            Recorte.reset();
            break;
        case Qt::ReplaceClip:
            Recorte = camino;
            break;
        case Qt::IntersectClip:
            Recorte = Recorte ? Recorte->intersected(camino) : camino;
            break;
        }
        RecorteActivo = Recorte.has_value() && estado.clipOperation() != Qt::NoClip;
    }

    // El id del clipPath del recorte vigente; se define la primera vez que se usa.
    int IdRecorte() {
        for (qsizetype i = 0; i < Conocidos.size(); ++i)
            if (Conocidos[i] == *Recorte) return static_cast<int>(i) + 1;
        Conocidos.append(*Recorte);
        const int id = static_cast<int>(Conocidos.size());
        Definiciones += "<clipPath id=\"recorte" + QByteArray::number(id) + "\"><path d=\"" +
                        Trazado(*Recorte) + "\"/></clipPath>\n";
        return id;
    }

    // Los elementos seguidos con el mismo recorte van en un grupo con él.
    void Elemento(const QByteArray& e) {
        const int id = RecorteActivo && Recorte ? IdRecorte() : 0;
        if (id != GrupoAbierto) {
            CerrarGrupo();
            if (id > 0) Salida += "<g clip-path=\"url(#recorte" + QByteArray::number(id) + ")\">\n";
            GrupoAbierto = id;
        }
        Salida += e + '\n';
    }
    void CerrarGrupo() {
        if (GrupoAbierto > 0) Salida += "</g>\n";
        GrupoAbierto = 0;
    }

    QByteArray Relleno() const {
        if (Brocha.style() == Qt::NoBrush) return " fill=\"none\"";
        // Toda otra brocha, del color de la brocha (el diagrama solo usa colores lisos).
        QByteArray s = " fill=\"" + Color(Brocha.color()) + '"';
        if (Brocha.color().alpha() < 255)
            s += " fill-opacity=\"" + QByteArray::number(Brocha.color().alphaF(), 'g', 3) + '"';
        return s;
    }
    QByteArray Trazo() const {
        if (Pluma.style() == Qt::NoPen) return " stroke=\"none\"";
        // Una pluma cosmética (ancho 0 o fijada así) mide un punto del dispositivo,
        // cualquiera sea la transformación; las demás escalan con ella.
        double ancho = Pluma.widthF();
        if (Pluma.isCosmetic())
            ancho = std::max(ancho, 1.0);
        else
            ancho *= std::sqrt(std::abs(Transformacion.determinant()));
        QByteArray s =
            " stroke=\"" + Color(Pluma.color()) + "\" stroke-width=\"" + Num(ancho) + '"';
        if (Pluma.color().alpha() < 255)
            s += " stroke-opacity=\"" + QByteArray::number(Pluma.color().alphaF(), 'g', 3) + '"';
        if (Pluma.capStyle() == Qt::SquareCap) s += " stroke-linecap=\"square\"";
        if (Pluma.capStyle() == Qt::RoundCap) s += " stroke-linecap=\"round\"";
        if (Pluma.joinStyle() == Qt::BevelJoin) s += " stroke-linejoin=\"bevel\"";
        if (Pluma.joinStyle() == Qt::RoundJoin) s += " stroke-linejoin=\"round\"";
        if (Pluma.style() != Qt::SolidLine) {
            QByteArray guiones;
            for (const double g : Pluma.dashPattern())
                guiones += (guiones.isEmpty() ? "" : ",") + Num(g * ancho);
            if (!guiones.isEmpty()) s += " stroke-dasharray=\"" + guiones + '"';
        }
        return s;
    }

    QPen Pluma;
    QBrush Brocha;
    QTransform Transformacion;
    std::optional<QPainterPath> Recorte;
    bool RecorteActivo = false;
    QList<QPainterPath> Conocidos;
    int GrupoAbierto = 0;
    QByteArray Salida;
};

DispositivoSvg::DispositivoSvg(const QSizeF& tamano, double ppp)
    : Tamano(tamano), Ppp(ppp), Motor(std::make_unique<MotorSvg>()) {
    Motor->Ppp = ppp;
}

DispositivoSvg::~DispositivoSvg() = default;

QPaintEngine* DispositivoSvg::paintEngine() const {
    return Motor.get();
}

QByteArray DispositivoSvg::Tomar() {
    return Motor->Tomar();
}

QByteArray DispositivoSvg::Recortes() const {
    return Motor->Definiciones;
}

QByteArray DispositivoSvg::Cabecera(const QString& titulo) const {
    const double mm = 25.4 / Ppp;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           Num(Tamano.width() * mm) + "mm\" height=\"" + Num(Tamano.height() * mm) +
           "mm\" viewBox=\"0 0 " + Num(Tamano.width()) + ' ' + Num(Tamano.height()) +
           "\">\n<title>" + Escapar(titulo) + "</title>\n<defs>\n" + Motor->Definiciones +
           "</defs>\n";
}

int DispositivoSvg::metric(PaintDeviceMetric metrica) const {
    switch (metrica) {
    case PdmWidth:
        return qRound(Tamano.width());
    case PdmHeight:
        return qRound(Tamano.height());
    case PdmWidthMM:
        return qRound(Tamano.width() * 25.4 / Ppp);
    case PdmHeightMM:
        return qRound(Tamano.height() * 25.4 / Ppp);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return qRound(Ppp);
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}
