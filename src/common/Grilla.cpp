#include "common/Grilla.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

struct EstiloCelda {
    QColor Fondo;
    QColor Texto;
    Qt::Alignment Alineacion; // vacía: la de la columna
    bool Marcada = false;     // en negrita y con un marco delgado
    QString Aviso;            // con una marca roja en la esquina y esta ayuda
};

quint64 Clave(int fila, int columna) {
    return (quint64(quint32(fila)) << 32) | quint32(columna);
}

QList<QString> Redimensionar(const QList<QString>& textos, int filas, int columnas, int nuevasFilas,
                             int nuevasColumnas) {
    if (columnas == nuevasColumnas) {
        QList<QString> r = textos;
        r.resize(qsizetype(nuevasFilas) * nuevasColumnas);
        return r;
    }
    QList<QString> r(qsizetype(nuevasFilas) * nuevasColumnas);
    for (int f = 0; f < std::min(filas, nuevasFilas); ++f)
        for (int c = 0; c < std::min(columnas, nuevasColumnas); ++c)
            r[qsizetype(f) * nuevasColumnas + c] = textos.at(qsizetype(f) * columnas + c);
    return r;
}

} // namespace

// Los textos y estilos de todas las celdas, fijas incluidas; la vista ve solo
// las no fijas como filas y columnas del modelo.
class ModeloGrilla : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int Filas = 2;
    int Columnas = 2;
    int FilasFijas = 1;
    int ColumnasFijas = 1;
    QList<QString> Textos = QList<QString>(4);
    QHash<quint64, EstiloCelda> Estilos;
    ValoresCeldas Valores;
    QList<Qt::Alignment> AlineacionColumna = QList<Qt::Alignment>(2, Qt::AlignLeft);

    bool Valida(int f, int c) const { return f >= 0 && f < Filas && c >= 0 && c < Columnas; }
    const QString& Texto(int f, int c) const {
        static const QString vacio;
        return Valida(f, c) ? Textos.at(qsizetype(f) * Columnas + c) : vacio;
    }
    EstiloCelda Estilo(int f, int c) const { return Estilos.value(Clave(f, c)); }
    Qt::Alignment Alineacion(int f, int c) const {
        const auto e = Estilos.constFind(Clave(f, c));
        if (e != Estilos.cend() && e->Alineacion) return e->Alineacion;
        if (f < FilasFijas || c < ColumnasFijas) return Qt::AlignCenter;
        return (AlineacionColumna.value(c, Qt::AlignLeft) & Qt::AlignHorizontal_Mask) |
               Qt::AlignVCenter;
    }
    QModelIndex Indice(int f, int c) const { return index(f - FilasFijas, c - ColumnasFijas); }
    void AvisarCelda(int f, int c) {
        if (f >= FilasFijas && c >= ColumnasFijas) {
            const QModelIndex i = Indice(f, c);
            emit dataChanged(i, i);
        } else if (f < FilasFijas && c >= ColumnasFijas) {
            emit headerDataChanged(Qt::Horizontal, c - ColumnasFijas, c - ColumnasFijas);
        } else if (c < ColumnasFijas && f >= FilasFijas) {
            emit headerDataChanged(Qt::Vertical, f - FilasFijas, f - FilasFijas);
        }
    }
    void AvisarTodo() {
        if (rowCount({}) > 0 && columnCount({}) > 0)
            emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
        if (columnCount({}) > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount({}) - 1);
        if (rowCount({}) > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount({}) - 1);
    }

    int rowCount(const QModelIndex& padre) const override {
        return padre.isValid() ? 0 : std::max(Filas - FilasFijas, 0);
    }
    int columnCount(const QModelIndex& padre) const override {
        return padre.isValid() ? 0 : std::max(Columnas - ColumnasFijas, 0);
    }
    QVariant data(const QModelIndex& indice, int rol) const override {
        if (!checkIndex(indice, CheckIndexOption::IndexIsValid)) return {};
        const int f = indice.row() + FilasFijas;
        const int c = indice.column() + ColumnasFijas;
        switch (rol) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Texto(f, c);
        case Qt::TextAlignmentRole:
            return int(Alineacion(f, c));
        case Qt::BackgroundRole: {
            const QColor color = Estilo(f, c).Fondo;
            return color.isValid() ? QVariant(QBrush(color)) : QVariant();
        }
        case Qt::ForegroundRole: {
            const QColor color = Estilo(f, c).Texto;
            return color.isValid() ? QVariant(QBrush(color)) : QVariant();
        }
        case Qt::ToolTipRole: {
            const QString aviso = Estilo(f, c).Aviso;
            return aviso.isEmpty() ? QVariant() : QVariant(aviso);
        }
        case Qt::FontRole: {
            if (!Estilo(f, c).Marcada) return {};
            QFont negrita;
            negrita.setBold(true);
            return negrita;
        }
        default:
            return {};
        }
    }
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override {
        if (rol != Qt::DisplayRole || seccion < 0) return {};
        QStringList partes;
        if (orientacion == Qt::Horizontal) {
            const int c = seccion + ColumnasFijas;
            if (c >= Columnas) return {};
            for (int f = 0; f < FilasFijas; ++f)
                partes << Texto(f, c);
        } else {
            const int f = seccion + FilasFijas;
            if (f >= Filas) return {};
            for (int c = 0; c < ColumnasFijas; ++c)
                partes << Texto(f, c);
        }
        return partes.join(u'\n');
    }
    Qt::ItemFlags flags(const QModelIndex& indice) const override {
        return indice.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    // Cambia dimensiones y textos de una vez; la vista se rehace.
    void Reiniciar(int filas, int columnas, int filasFijas, int columnasFijas,
                   QList<QString> textos) {
        beginResetModel();
        Filas = filas;
        Columnas = columnas;
        FilasFijas = filasFijas;
        ColumnasFijas = columnasFijas;
        Textos = std::move(textos);
        Textos.resize(qsizetype(filas) * columnas);
        AlineacionColumna.resize(columnas, Qt::AlignLeft);
        for (auto v = Valores.begin(); v != Valores.end();)
            v = Valida(FilaDeClave(v.key()), ColumnaDeClave(v.key())) ? std::next(v)
                                                                      : Valores.erase(v);
        for (auto e = Estilos.begin(); e != Estilos.end();)
            e = Valida(FilaDeClave(e.key()), ColumnaDeClave(e.key())) ? std::next(e)
                                                                      : Estilos.erase(e);
        endResetModel();
    }
};

// Encabezado que pinta las filas fijas (a lo ancho) o las columnas fijas (a lo
// alto) con sus celdas combinadas.
class EncabezadoGrilla : public QHeaderView {
public:
    EncabezadoGrilla(Qt::Orientation orientacion, Grilla& grilla)
        : QHeaderView(orientacion, &grilla), grilla_(grilla) {}

    QSize sizeHint() const override {
        int grueso = 0;
        if (orientation() == Qt::Horizontal) {
            for (int alto : grilla_.altosFijos_)
                grueso += alto;
            return {length(), grueso};
        }
        for (int ancho : grilla_.anchosFijos_)
            grueso += ancho;
        return {grueso, length()};
    }

protected:
    void paintSection(QPainter* pintor, const QRect& rect, int logico) const override {
        if (orientation() == Qt::Horizontal) {
            const int c = logico + grilla_.ColumnasFijas();
            int y = 0;
            for (int f = 0; f < grilla_.FilasFijas(); ++f) {
                const int alto = grilla_.AltoFila(f);
                grilla_.PintarCeldaFija(*pintor, *viewport(), f, c,
                                        QRect(rect.x(), y, rect.width(), alto));
                y += alto;
            }
        } else {
            const int f = logico + grilla_.FilasFijas();
            int x = 0;
            for (int c = 0; c < grilla_.ColumnasFijas(); ++c) {
                const int ancho = grilla_.AnchoColumna(c);
                grilla_.PintarCeldaFija(*pintor, *viewport(), f, c,
                                        QRect(x, rect.y(), ancho, rect.height()));
                x += ancho;
            }
        }
    }

private:
    Grilla& grilla_;
};

// La celda actual con un marco; sola, sin el color de selección, para que se
// vea el color de su fila.
class DelegadoGrilla : public QStyledItemDelegate {
public:
    explicit DelegadoGrilla(Grilla& grilla) : QStyledItemDelegate(&grilla), grilla_(grilla) {}

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& indice) const override {
        QStyleOptionViewItem o = opcion;
        const bool actual = indice == grilla_.currentIndex();
        o.state &= ~QStyle::State_HasFocus;
        if (actual && grilla_.SoloCeldaActual()) o.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(pintor, o, indice);
        if (grilla_.Marcada(indice.row() + grilla_.FilasFijas(),
                            indice.column() + grilla_.ColumnasFijas())) {
            pintor->save();
            pintor->setPen(QPen(grilla_.palette().color(QPalette::Text), 0));
            pintor->setBrush(Qt::NoBrush);
            pintor->drawRect(QRectF(opcion.rect).adjusted(2.5, 2.5, -2.5, -2.5));
            pintor->restore();
        }
        if (!grilla_
                 .Aviso(indice.row() + grilla_.FilasFijas(),
                        indice.column() + grilla_.ColumnasFijas())
                 .isEmpty()) {
            // Un triángulo chico en la esquina: no tapa el número.
            const QRect r = opcion.rect;
            const int lado = std::max(5, r.height() / 3);
            const QPoint puntos[3] = {r.topLeft(), r.topLeft() + QPoint(lado, 0),
                                      r.topLeft() + QPoint(0, lado)};
            pintor->save();
            pintor->setPen(Qt::NoPen);
            pintor->setBrush(QColor(200, 0, 0));
            pintor->drawPolygon(puntos, 3);
            pintor->restore();
        }
        if (!actual) return;
        pintor->save();
        QPen marco(grilla_.palette().color(QPalette::Highlight));
        marco.setWidth(grilla_.hasFocus() ? 2 : 1);
        pintor->setPen(marco);
        pintor->setBrush(Qt::NoBrush);
        pintor->drawRect(opcion.rect.adjusted(1, 1, -1, -1));
        pintor->restore();
    }

private:
    Grilla& grilla_;
};

Grilla::Grilla(QWidget* padre)
    : QTableView(padre), modelo_(new ModeloGrilla(this)),
      encabezadoColumnas_(new EncabezadoGrilla(Qt::Horizontal, *this)),
      encabezadoFilas_(new EncabezadoGrilla(Qt::Vertical, *this)), altosFijos_{1}, anchosFijos_{1},
      combinarFila_{false}, combinarColumna_{false} {
    setHorizontalHeader(encabezadoColumnas_);
    setVerticalHeader(encabezadoFilas_);
    setModel(modelo_);
    setItemDelegate(new DelegadoGrilla(*this));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerItem);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
        h->setMinimumSectionSize(1);
    }
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    esquina_ = findChild<QAbstractButton*>();
    if (esquina_) esquina_->installEventFilter(this);

    const int alto = fontMetrics().height() + 6;
    PonerAltoNormal(alto);
    altosFijos_[0] = alto;
    anchosFijos_[0] = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8;
    ConectarSeleccion();
    ActualizarEncabezados();
}

Grilla::~Grilla() = default;

void Grilla::ConectarSeleccion() {
    QItemSelectionModel* seleccion = selectionModel();
    connect(seleccion, &QItemSelectionModel::currentChanged, this, [this] {
        if (!silenciarCelda_) emit CeldaCambiada();
    });
    connect(seleccion, &QItemSelectionModel::selectionChanged, this, [this, seleccion] {
        const QItemSelection s = seleccion->selection();
        soloCeldaActual_ =
            s.isEmpty() || (s.size() == 1 && s.first().height() == 1 && s.first().width() == 1);
    });
}

void Grilla::ActualizarEncabezados() {
    int alto = 0;
    for (int a : altosFijos_)
        alto += a;
    int ancho = 0;
    for (int a : anchosFijos_)
        ancho += a;
    horizontalHeader()->setFixedHeight(alto);
    verticalHeader()->setFixedWidth(ancho);
    horizontalHeader()->setVisible(modelo_->FilasFijas > 0);
    verticalHeader()->setVisible(modelo_->ColumnasFijas > 0);
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    if (esquina_) esquina_->update();
}

int Grilla::Filas() const {
    return modelo_->Filas;
}
int Grilla::Columnas() const {
    return modelo_->Columnas;
}
int Grilla::FilasFijas() const {
    return modelo_->FilasFijas;
}
int Grilla::ColumnasFijas() const {
    return modelo_->ColumnasFijas;
}

void Grilla::RestaurarCelda(int fila, int columna, int superior) {
    executeDelayedItemsLayout();
    silenciarCelda_ = true;
    PonerCelda(fila, columna);
    silenciarCelda_ = false;
    PonerFilaSuperior(superior);
    if (Fila() != fila || Columna() != columna) emit CeldaCambiada();
}

void Grilla::PonerTextos(int filas, int columnas, QList<QString> textos, ValoresCeldas valores) {
    filas = std::max(filas, modelo_->FilasFijas + 1);
    columnas = std::max(columnas, modelo_->ColumnasFijas + 1);
    modelo_->Valores = std::move(valores);
    if (filas == modelo_->Filas && columnas == modelo_->Columnas) {
        modelo_->Textos = std::move(textos);
        modelo_->Textos.resize(qsizetype(filas) * columnas);
        modelo_->AvisarTodo();
        return;
    }
    const int fila = Fila();
    const int columna = Columna();
    const int superior = FilaSuperior();
    // Los anchos de las columnas que quedan se conservan.
    QList<int> anchos;
    for (int c = 0; c < modelo_->Columnas; ++c)
        anchos << AnchoColumna(c);
    silenciarCelda_ = true;
    modelo_->Reiniciar(filas, columnas, modelo_->FilasFijas, modelo_->ColumnasFijas,
                       std::move(textos));
    silenciarCelda_ = false;
    for (int c = modelo_->ColumnasFijas; c < std::min<int>(columnas, int(anchos.size())); ++c)
        PonerAnchoColumna(c, anchos[c]);
    RestaurarCelda(fila, columna, superior);
}

void Grilla::PonerDimensiones(int filas, int columnas) {
    filas = std::max(filas, modelo_->FilasFijas + 1);
    columnas = std::max(columnas, modelo_->ColumnasFijas + 1);
    // Las celdas que quedan conservan su valor exacto.
    PonerTextos(filas, columnas,
                Redimensionar(modelo_->Textos, modelo_->Filas, modelo_->Columnas, filas, columnas),
                modelo_->Valores);
}

void Grilla::PonerFilas(int filas) {
    PonerDimensiones(filas, modelo_->Columnas);
}

void Grilla::PonerColumnas(int columnas) {
    PonerDimensiones(modelo_->Filas, columnas);
}

void Grilla::PonerFijas(int filasFijas, int columnasFijas) {
    filasFijas = std::max(filasFijas, 1);
    columnasFijas = std::max(columnasFijas, 0);
    const int filas = std::max(modelo_->Filas, filasFijas + 1);
    const int columnas = std::max(modelo_->Columnas, columnasFijas + 1);
    const int alto = AltoNormal();
    altosFijos_.resize(filasFijas, alto);
    combinarFila_.resize(filasFijas, false);
    anchosFijos_.resize(columnasFijas, anchosFijos_.value(0, 60));
    silenciarCelda_ = true;
    modelo_->Reiniciar(
        filas, columnas, filasFijas, columnasFijas,
        Redimensionar(modelo_->Textos, modelo_->Filas, modelo_->Columnas, filas, columnas));
    silenciarCelda_ = false;
    ActualizarEncabezados();
    RestaurarCelda(filasFijas, columnasFijas, filasFijas);
}

QString Grilla::Texto(int fila, int columna) const {
    return modelo_->Texto(fila, columna);
}

void Grilla::PonerTexto(int fila, int columna, const QString& texto) {
    if (!modelo_->Valida(fila, columna)) return;
    if (!modelo_->Valores.isEmpty()) modelo_->Valores.remove(ClaveCelda(fila, columna));
    QString& celda = modelo_->Textos[qsizetype(fila) * modelo_->Columnas + columna];
    if (celda == texto) return;
    celda = texto;
    modelo_->AvisarCelda(fila, columna);
    if (fila < FilasFijas() || columna < ColumnasFijas()) {
        horizontalHeader()->viewport()->update();
        verticalHeader()->viewport()->update();
        if (esquina_) esquina_->update();
    }
}

const QList<QString>& Grilla::Textos() const {
    return modelo_->Textos;
}

void Grilla::PonerValor(int fila, int columna, const QString& texto, double valor) {
    if (!modelo_->Valida(fila, columna)) return;
    PonerTexto(fila, columna, texto);
    modelo_->Valores.insert(ClaveCelda(fila, columna), valor);
}

void Grilla::PonerValor(int fila, int columna, const QString& texto, std::optional<double> valor) {
    if (valor)
        PonerValor(fila, columna, texto, *valor);
    else
        PonerTexto(fila, columna, texto);
}

const ValoresCeldas& Grilla::Valores() const {
    return modelo_->Valores;
}

std::optional<double> Grilla::Valor(int fila, int columna) const {
    const auto v = modelo_->Valores.constFind(ClaveCelda(fila, columna));
    return v != modelo_->Valores.cend() ? std::optional<double>(*v) : std::nullopt;
}

int Grilla::Fila() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + FilasFijas() : FilasFijas();
}

int Grilla::Columna() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + ColumnasFijas() : ColumnasFijas();
}

void Grilla::PonerCelda(int fila, int columna) {
    fila = std::clamp(fila, FilasFijas(), Filas() - 1);
    columna = std::clamp(columna, ColumnasFijas(), Columnas() - 1);
    // Como en la grilla de las ventanas: mover el cursor no desplaza la vista;
    // quien lo mueve decide la fila superior.
    const bool desplazar = hasAutoScroll();
    setAutoScroll(false);
    // Por la vista y no por el modelo de selección: así Mayús+flecha extiende la
    // selección desde esta celda.
    setCurrentIndex(modelo_->Indice(fila, columna));
    setAutoScroll(desplazar);
}

QRect Grilla::Seleccion() const {
    const QItemSelection s = selectionModel()->selection();
    if (s.isEmpty()) return QRect(Columna(), Fila(), 1, 1);
    int arriba = s.first().top(), abajo = s.first().bottom();
    int izquierda = s.first().left(), derecha = s.first().right();
    for (const QItemSelectionRange& r : s) {
        arriba = std::min(arriba, r.top());
        abajo = std::max(abajo, r.bottom());
        izquierda = std::min(izquierda, r.left());
        derecha = std::max(derecha, r.right());
    }
    return QRect(QPoint(izquierda + ColumnasFijas(), arriba + FilasFijas()),
                 QPoint(derecha + ColumnasFijas(), abajo + FilasFijas()));
}

int Grilla::FilaSuperior() const {
    const int fila = rowAt(0);
    return (fila < 0 ? 0 : fila) + FilasFijas();
}

void Grilla::PonerFilaSuperior(int fila) {
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(std::max(fila - FilasFijas(), 0));
}

bool Grilla::FilaVisible(int fila) const {
    if (fila < FilasFijas()) return true;
    if (fila >= Filas()) return false;
    const int y = rowViewportPosition(fila - FilasFijas());
    return y + AltoFila(fila) > 0 && y < viewport()->height();
}

QRect Grilla::RectanguloCelda(int fila, int columna) const {
    int x = 0;
    if (columna < ColumnasFijas()) {
        x = verticalHeader()->geometry().x();
        for (int c = 0; c < columna; ++c)
            x += AnchoColumna(c);
    } else {
        x = viewport()->geometry().x() + columnViewportPosition(columna - ColumnasFijas());
    }
    int y = 0;
    if (fila < FilasFijas()) {
        y = horizontalHeader()->geometry().y();
        for (int f = 0; f < fila; ++f)
            y += AltoFila(f);
    } else {
        y = viewport()->geometry().y() + rowViewportPosition(fila - FilasFijas());
    }
    return QRect(x, y, AnchoColumna(columna), AltoFila(fila));
}

QRect Grilla::RectanguloCombinado(int fila, int columna) const {
    int c1 = columna, c2 = columna, f1 = fila, f2 = fila;
    const QString& texto = modelo_->Texto(fila, columna);
    if (!texto.isEmpty()) {
        if (fila < FilasFijas() && combinarFila_.value(fila)) {
            // Dentro de la misma zona: las columnas fijas no se unen con las otras.
            const int desde = columna < ColumnasFijas() ? 0 : ColumnasFijas();
            const int hasta = columna < ColumnasFijas() ? ColumnasFijas() - 1 : Columnas() - 1;
            while (c1 > desde && modelo_->Texto(fila, c1 - 1) == texto)
                --c1;
            while (c2 < hasta && modelo_->Texto(fila, c2 + 1) == texto)
                ++c2;
        }
        // Una columna que combina lo hace en su zona fija: a lo alto de toda ella si
        // es fija, solo entre las filas de títulos si no.
        if (combinarColumna_.value(columna) && (columna < ColumnasFijas() || fila < FilasFijas())) {
            const int desde = fila < FilasFijas() ? 0 : FilasFijas();
            const int hasta = fila < FilasFijas() ? FilasFijas() - 1 : Filas() - 1;
            while (f1 > desde && modelo_->Texto(f1 - 1, columna) == texto)
                --f1;
            while (f2 < hasta && modelo_->Texto(f2 + 1, columna) == texto)
                ++f2;
        }
    }
    return RectanguloCelda(f1, c1).united(RectanguloCelda(f2, c2));
}

void Grilla::PintarCeldaFija(QPainter& pintor, QWidget& superficie, int fila, int columna,
                             const QRect& recorte) {
    const QRect celda =
        RectanguloCombinado(fila, columna).translated(-superficie.mapTo(this, QPoint(0, 0)));
    const EstiloCelda estilo = modelo_->Estilo(fila, columna);
    pintor.save();
    pintor.setClipRect(recorte);
    pintor.fillRect(celda,
                    estilo.Fondo.isValid() ? estilo.Fondo : palette().color(QPalette::Button));
    pintor.setPen(palette().color(QPalette::Mid));
    pintor.drawLine(celda.topRight(), celda.bottomRight());
    pintor.drawLine(celda.bottomLeft(), celda.bottomRight());
    pintor.setPen(estilo.Texto.isValid() ? estilo.Texto : palette().color(QPalette::ButtonText));
    pintor.setFont(font());
    pintor.drawText(celda.adjusted(2, 1, -3, -2),
                    int(modelo_->Alineacion(fila, columna)) | Qt::TextWordWrap,
                    modelo_->Texto(fila, columna));
    pintor.restore();
}

void Grilla::PintarEsquina() {
    QPainter pintor(esquina_);
    int y = 0;
    for (int f = 0; f < FilasFijas(); ++f) {
        int x = 0;
        for (int c = 0; c < ColumnasFijas(); ++c) {
            PintarCeldaFija(pintor, *esquina_, f, c, QRect(x, y, AnchoColumna(c), AltoFila(f)));
            x += AnchoColumna(c);
        }
        y += AltoFila(f);
    }
}

bool Grilla::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == esquina_ && evento->type() == QEvent::Paint) {
        PintarEsquina();
        return true;
    }
    return QTableView::eventFilter(objeto, evento);
}

void Grilla::PonerBarras(bool visibles) {
    barras_ = visibles;
    const auto politica = visibles ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(politica);
    setVerticalScrollBarPolicy(politica);
}

int Grilla::AnchoColumna(int columna) const {
    if (columna < 0 || columna >= Columnas()) return 0;
    if (columna < ColumnasFijas()) return anchosFijos_.value(columna);
    return columnWidth(columna - ColumnasFijas());
}

void Grilla::PonerAnchoColumna(int columna, int pixeles) {
    if (columna < 0 || columna >= Columnas()) return;
    pixeles = std::max(pixeles, 0);
    if (columna < ColumnasFijas()) {
        anchosFijos_[columna] = pixeles;
        ActualizarEncabezados();
        return;
    }
    setColumnWidth(columna - ColumnasFijas(), pixeles);
}

double Grilla::EscalaTwips() const {
    const double cifra = fontMetrics().horizontalAdvance(QChar(u'0')) * 1440.0 / logicalDpiX();
    return std::max(1.0, cifra / 90.0);
}

void Grilla::PonerAnchoColumnaTwips(int columna, double twips) {
    PonerAnchoColumna(columna, PixelesDeTwips(twips * EscalaTwips(), this));
}

int Grilla::AltoFila(int fila) const {
    if (fila < 0 || fila >= Filas()) return 0;
    if (fila < FilasFijas()) return altosFijos_.value(fila);
    return rowHeight(fila - FilasFijas());
}

void Grilla::PonerAltoFilaFija(int fila, int pixeles) {
    if (fila < 0 || fila >= FilasFijas()) return;
    altosFijos_[fila] = std::max(pixeles, 1);
    ActualizarEncabezados();
}

int Grilla::AltoNormal() const {
    return verticalHeader()->defaultSectionSize();
}

void Grilla::PonerAltoNormal(int pixeles) {
    verticalHeader()->setDefaultSectionSize(std::max(pixeles, 1));
}

void Grilla::PonerAlineacionColumna(int columna, Qt::Alignment alineacion) {
    if (columna < 0 || columna >= Columnas()) return;
    modelo_->AlineacionColumna[columna] = alineacion;
    modelo_->AvisarTodo();
}

void Grilla::PonerAlineacion(int fila, int columna, Qt::Alignment alineacion) {
    if (!modelo_->Valida(fila, columna)) return;
    modelo_->Estilos[Clave(fila, columna)].Alineacion = alineacion;
    modelo_->AvisarCelda(fila, columna);
}

Qt::Alignment Grilla::Alineacion(int fila, int columna) const {
    return modelo_->Alineacion(fila, columna);
}

void Grilla::PonerColorFondo(int fila, int columna, const QColor& color) {
    if (!modelo_->Valida(fila, columna)) return;
    const auto e = modelo_->Estilos.constFind(Clave(fila, columna));
    if (e == modelo_->Estilos.cend() ? !color.isValid() : e->Fondo == color) return;
    modelo_->Estilos[Clave(fila, columna)].Fondo = color;
    modelo_->AvisarCelda(fila, columna);
}

QColor Grilla::ColorFondo(int fila, int columna) const {
    return modelo_->Estilo(fila, columna).Fondo;
}

void Grilla::PonerMarcada(int fila, int columna, bool marcada) {
    if (!modelo_->Valida(fila, columna)) return;
    const auto e = modelo_->Estilos.constFind(Clave(fila, columna));
    if ((e == modelo_->Estilos.cend() ? false : e->Marcada) == marcada) return;
    modelo_->Estilos[Clave(fila, columna)].Marcada = marcada;
    modelo_->AvisarCelda(fila, columna);
}

bool Grilla::Marcada(int fila, int columna) const {
    return modelo_->Estilo(fila, columna).Marcada;
}

void Grilla::PonerAviso(int fila, int columna, const QString& aviso) {
    if (!modelo_->Valida(fila, columna)) return;
    const auto e = modelo_->Estilos.constFind(Clave(fila, columna));
    if ((e == modelo_->Estilos.cend() ? QString() : e->Aviso) == aviso) return;
    modelo_->Estilos[Clave(fila, columna)].Aviso = aviso;
    modelo_->AvisarCelda(fila, columna);
}

QString Grilla::Aviso(int fila, int columna) const {
    return modelo_->Estilo(fila, columna).Aviso;
}

void Grilla::PonerColorTexto(int fila, int columna, const QColor& color) {
    if (!modelo_->Valida(fila, columna)) return;
    modelo_->Estilos[Clave(fila, columna)].Texto = color;
    modelo_->AvisarCelda(fila, columna);
}

QColor Grilla::ColorTexto(int fila, int columna) const {
    return modelo_->Estilo(fila, columna).Texto;
}

void Grilla::PonerCombinarFila(int fila, bool combinar) {
    if (fila < 0 || fila >= FilasFijas()) return;
    combinarFila_[fila] = combinar;
    ActualizarEncabezados();
}

void Grilla::PonerCombinarColumna(int columna, bool combinar) {
    if (columna < 0 || columna >= Columnas()) return;
    if (combinarColumna_.size() <= columna) combinarColumna_.resize(columna + 1, false);
    combinarColumna_[columna] = combinar;
    ActualizarEncabezados();
}

void Grilla::keyPressEvent(QKeyEvent* evento) {
    evento->ignore();
    emit TeclaAbajo(evento);
    if (evento->isAccepted()) return;
    const QString texto = evento->text();
    const bool caracter =
        !texto.isEmpty() && texto.front().isPrint() &&
        !(evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (caracter) {
        // Un carácter nunca busca en la grilla: lo atiende la ventana.
        evento->accept();
        emit TeclaPulsada(texto);
        return;
    }
    evento->accept();
    QTableView::keyPressEvent(evento);
    // Enter y Escape no pasan a la ventana: en un diálogo lo cerrarían.
    const int tecla = evento->key();
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_Escape)
        evento->accept();
}

void Grilla::mousePressEvent(QMouseEvent* evento) {
    pulsadoEnCeldas_ = evento->button() == Qt::LeftButton;
    dobleClic_ = false;
    QTableView::mousePressEvent(evento);
}

void Grilla::mouseReleaseEvent(QMouseEvent* evento) {
    QTableView::mouseReleaseEvent(evento);
    const bool clic = pulsadoEnCeldas_ && !dobleClic_ && evento->button() == Qt::LeftButton;
    pulsadoEnCeldas_ = false;
    dobleClic_ = false;
    if (clic) emit Clic();
}

void Grilla::mouseDoubleClickEvent(QMouseEvent* evento) {
    QTableView::mouseDoubleClickEvent(evento);
    if (evento->button() != Qt::LeftButton) return;
    // La suelta que sigue al doble clic no es otro clic.
    dobleClic_ = true;
    emit DobleClic();
}

void Grilla::wheelEvent(QWheelEvent* evento) {
    if (!barras_) {
        evento->accept();
        return;
    }
    QTableView::wheelEvent(evento);
}

int PixelesDeTwips(double twips, const QWidget* control) {
    const int ppp = control ? control->logicalDpiX() : 96;
    return static_cast<int>(std::lround(twips * ppp / 1440.0));
}

void NumerarFilas(Grilla& grilla) {
    QList<QString> textos = grilla.Textos();
    const int columnas = grilla.Columnas();
    for (int f = 1; f < grilla.Filas(); ++f)
        textos[qsizetype(f) * columnas] = QString::number(f);
    grilla.PonerTextos(grilla.Filas(), columnas, std::move(textos), grilla.Valores());
}

void MoverCeldaTrasTecla(Grilla& grilla, int tecla) {
    const int fila = grilla.Fila();
    const int columna = grilla.Columna();
    switch (tecla) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (columna < grilla.Columnas() - 1)
            grilla.PonerCelda(fila, columna + 1);
        else if (fila < grilla.Filas() - 1)
            grilla.PonerCelda(fila + 1, grilla.ColumnasFijas());
        else
            grilla.PonerCelda(fila, grilla.ColumnasFijas());
        break;
    case Qt::Key_Tab:
        if (columna < grilla.Columnas() - 1) grilla.PonerCelda(fila, columna + 1);
        break;
    case Qt::Key_Backtab:
        if (columna > grilla.ColumnasFijas()) grilla.PonerCelda(fila, columna - 1);
        break;
    case Qt::Key_Up:
        if (fila > grilla.FilasFijas()) grilla.PonerCelda(fila - 1, columna);
        break;
    case Qt::Key_Down:
        if (fila < grilla.Filas() - 1) grilla.PonerCelda(fila + 1, columna);
        break;
    default:
        break;
    }
    if (!grilla.FilaVisible(grilla.Fila())) grilla.PonerFilaSuperior(grilla.Fila());
}

void UbicarObjetoEnCelda(QWidget& editor, Grilla& grilla) {
    const QRect celda = grilla.RectanguloCelda(grilla.Fila(), grilla.Columna());
    QWidget* padre = editor.parentWidget();
    QPoint esquina = celda.topLeft();
    if (padre && padre->isAncestorOf(&grilla))
        esquina = grilla.mapTo(padre, esquina);
    else if (padre)
        esquina = padre->mapFromGlobal(grilla.mapToGlobal(esquina));
    int ancho = celda.width();
    // Una lista necesita lugar para su botón.
    if (editor.objectName().startsWith(u"lst")) ancho += PixelesDeTwips(250, &grilla);
    editor.setGeometry(esquina.x(), esquina.y(), ancho, celda.height());
}
