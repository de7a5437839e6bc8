// Diálogo de impresión, impresión en PDF, puerto de texto y visor propio, fuera
// de pantalla con la plataforma guionada.
#include "ApoyoVentanas.h"
#include "Poppler.h"
#include "Pruebas.h"

#include "alternatives/Reportes.h"
#include "common/CarpetasSesion.h"
#include "common/ModuloLibzrl.h"
#include "common/Texto.h"
#include "printing/CodigoFormato.h"
#include "printing/ImpresoraQt.h"
#include "printing/Imprime.h"
#include "printing/frmVisor.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMap>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QByteArray P(int codigo) {
    return CodigoFormato(codigo).toLatin1();
}

// Dos encabezados y 120 líneas: 3 páginas de 58 líneas.
QByteArray ReporteTresPaginas() {
    QByteArray r = P(2101) + "#pg#fecha#\r\n" + P(2312) + "INFORME DE PRUEBA\r\n";
    for (int i = 1; i <= 120; ++i)
        r += P(100) + "linea " + QByteArray::number(i) + "\r\n";
    return r;
}

// Texto de un PDF por páginas (pdftotext termina cada página con el código 12).
QStringList PaginasPdf(const QString& pdf) {
    return SalidaPoppler(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).chopped(1).split(u'\f');
}

// Imprime el reporte en un PDF de la carpeta actual con la configuración dada.
ResultadoImpresora ImprimirPdf(const QString& reporte, int papel,
                               const ConfiguracionImpresion& configuracion = {}) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(u"r.pdf"_s);
    impresora.setPageSize(QPageSize(QPageSize::PageSizeId(papel)));
    return ImprimirEnImpresora(impresora, reporte, CargarProyecto(LeerBytes(reporte), 58),
                               configuracion, {.Fecha = "05/12/2026 10:00:00"}, false);
}

QLineEdit* Campo(QWidget& d, const char* nombre) {
    return Control<QLineEdit>(d, QString::fromLatin1(nombre));
}

void Elegir(Imprime& d, int destino) {
    QTest::mouseClick(Control(d, u"PantallaImpresora%1"_s.arg(destino)), Qt::LeftButton);
}

struct Escenario : CarpetaGuionada {
    QWidget ventana;                      // la ventana que llama al diálogo
    QString reporte = u"r00"_s, proyecto; // proyecto: el archivo del proyecto abierto

    explicit Escenario(const QByteArray& contenido = ReporteTresPaginas()) {
        EscribirBytes(reporte, contenido);
        plataforma.ImpresoraPdf.setOutputFormat(QPrinter::PdfFormat);
        plataforma.ImpresoraPdf.setOutputFileName(carpeta.filePath(u"salida.pdf"_s));
        plataforma.AceptarPropuesta = true;
        ventana.show();
    }
    // Abre el diálogo; accion actúa sobre él ya mostrado y activado.
    void Imprimir(const std::function<void(Imprime&)>& accion, const QString& alias = QString()) {
        plataforma.Modales.enqueue([accion](QDialog& d) {
            d.activateWindow();
            if (!QTest::qWaitForWindowActive(&d)) qFatal("diálogo sin activar");
            accion(static_cast<Imprime&>(d));
            return int(QDialog::Rejected);
        });
        ImprimirArchivo(plataforma, &ventana, reporte, alias, QString(), proyecto);
    }
    // Elige el destino, deja que antes ajuste el diálogo, pulsa "&Aceptar" y deja que
    // despues lo revise.
    void Aceptar(int destino, const std::function<void(Imprime&)>& antes = {},
                 const std::function<void(Imprime&)>& despues = {}) {
        Imprimir([&](Imprime& d) {
            Elegir(d, destino);
            if (antes) antes(d);
            QTest::mouseClick(Control(d, "Boton0"), Qt::LeftButton);
            if (despues) despues(d);
        });
    }
    void Configurar(const QByteArray& imprimeSet) { EscribirBytes(u"Imprime.set"_s, imprimeSet); }
};

} // namespace

class PruebasImprime : public QObject {
    Q_OBJECT

private slots:
    void dialogoAlAbrirYAlCerrar() {
        Escenario e;
        e.Configurar("Puerto : LPT1\r\nPuertos : lab lpt3\r\n");
        e.Imprimir(
            [&](Imprime& d) {
                QVERIFY(Textos(d, {"Archivo", "lbPrefijo", "Paginas", "opcPuerto", "Copias",
                                   "Pagina0"}) == u"r00|LAB|3|LPT3|1|"_s &&
                        Texto(d, u"lbImpresora"_s).startsWith(u"PDF : "_s));
                QVERIFY(Control<QRadioButton>(d, "PantallaImpresora0")->isChecked());
                // Centrado en la pantalla (salvo el marco) a su tamaño.
                QVERIFY((d.frameGeometry().center() - d.screen()->availableGeometry().center())
                            .manhattanLength() <= 6);
                // Ningún control tapa a otro de su mismo marco; el prefijo, bajo la impresora.
                QCOMPARE(Control(d, "lbPrefijo")->x(), Control(d, "lbImpresora")->x());
                const QList<QWidget*> hijos = d.findChildren<QWidget*>();
                for (const QWidget* a : hijos)
                    for (const QWidget* b : hijos)
                        QVERIFY(a == b || a->parent() != b->parent() || !a->isVisible() ||
                                !b->isVisible() || !a->geometry().intersects(b->geometry()));
                // Mientras el diálogo está abierto el reporte queda retenido.
                QVERIFY(QFile::exists(u"r00.PRO"_s) && QFile::exists(u"r00.txt"_s));
                // Otra vez visible (de vuelta de minimizado), no carga de nuevo: el puerto
                // escrito queda.
                auto* puerto = Control<QComboBox>(d, "opcPuerto");
                puerto->setEditText(u"COM9"_s);
                QShowEvent otra;
                QApplication::sendEvent(&d, &otra);
                QCOMPARE(puerto->currentText(), u"COM9"_s);
                auto *inicial = Campo(d, "Pagina0"), *final = Campo(d, "Pagina1"),
                     *copias = Campo(d, "Copias");
                QVERIFY(inicial->maxLength() == 6 && final->maxLength() == 6); // seis cifras
                auto* aceptar = Control<QPushButton>(d, "Boton0");
                // La pantalla no lleva páginas ni copias; la impresora y el puerto, sí.
                for (const auto& [destino, activos] :
                     {std::pair{0, false}, {1, true}, {2, true}, {0, false}, {1, true}}) {
                    Elegir(d, destino); // Enter en el destino pasa al control siguiente
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                    QVERIFY(d.isVisible() &&
                            !Control(d, u"PantallaImpresora%1"_s.arg(destino))->hasFocus());
                    QCOMPARE(QList<bool>(
                                 {inicial->isEnabled(), final->isEnabled(), copias->isEnabled()}),
                             QList<bool>(3, activos));
                }

                // "&Aceptar" solo con la última no menor que la primera.
                inicial->setFocus();
                QTest::keyClicks(inicial, u"3"_s);
                QVERIFY(!aceptar->isEnabled());
                QTest::keyClick(inicial, Qt::Key_Return); // Enter pasa a la página final...
                QCOMPARE(QApplication::focusWidget(), final);
                // ...que toma la primera y queda seleccionada para escribir encima.
                QVERIFY(final->selectedText() == u"3"_s && aceptar->isEnabled());
                QTest::keyClicks(final, u"2"_s);
                QVERIFY(final->text() == u"2"_s && !aceptar->isEnabled());
                QTest::keyClicks(final, u"0"_s);
                QVERIFY(aceptar->isEnabled());
                QTest::keyClick(final, Qt::Key_Return);
                QVERIFY(QApplication::focusWidget() == copias && copias->selectedText() == u"1"_s);
                QTest::keyClicks(copias, u"12345"_s); // a lo sumo cuatro cifras
                QVERIFY(copias->text() == u"1234"_s &&
                        std::ranges::any_of(d.findChildren<QLabel*>(), [](const QLabel* l) {
                            return l->text() == u"Archivo :"_s && l->isVisible();
                        }));
                // Tab sigue por el puerto, la impresora y los botones.
                QStringList orden;
                for (int i = 0; i < 4; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    orden << QApplication::focusWidget()->objectName();
                }
                QCOMPARE(orden.join(u' '), u"opcPuerto btnImpresora Boton0 Boton1"_s);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // "&Salir" cierra
                QVERIFY(!d.isVisible());
            },
            u" lab "_s);
        QVERIFY(!QFile::exists(u"r00.PRO"_s));
        QCOMPARE(LeerBytes(u"Ultimo.inf"_s), QByteArray("r00\r\n"));
        QCOMPARE(e.plataforma.VentanasModales, QStringList{u"Imprime"_s});
    }

    void marcaDeAncho() {
        // Sin prefijos y más de 96 columnas: "c"; más de 80: "m".
        for (const auto& [ancho, marca] : {std::pair{97, "c"}, {81, "m"}, {80, ""}}) {
            Escenario e(QByteArray(ancho, 'x') + "\r\n");
            e.Imprimir([&](Imprime& d) { QCOMPARE(Texto(d, u"Paginas"_s), u"1"_s + marca); });
        }
    }

    void impresoraEnPdf() {
        SALTAR_SIN_PDFTOTEXT();
        Escenario e;
        e.Aceptar(1, {},
                  [](Imprime& d) { QCOMPARE(QApplication::focusWidget(), Control(d, "Boton1")); });
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        // La paginación y los encabezados, en PruebasPaginacion y reportesEnPdf; aquí,
        // que el diálogo imprime todo el reporte con su fecha y hora.
        const QStringList paginas = PaginasPdf(e.carpeta.filePath(u"salida.pdf"_s));
        QCOMPARE(paginas.size(), 3);
        QVERIFY2(paginas[2].contains(
                     QRegularExpression(u"\\b3 \\[\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\\]"_s)),
                 qPrintable(paginas[2].left(300)));

        // Rango 2 a 3 y dos copias: cuatro hojas, en el mismo PDF si se acepta reemplazarlo.
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        e.Aceptar(1, [](Imprime& d) {
            Campo(d, "Pagina0")->setText(u"2"_s);
            Campo(d, "Pagina1")->setText(u"3"_s);
            Campo(d, "Copias")->setText(u"2"_s);
        });
        QCOMPARE(
            e.Avisos(),
            QStringList{u"IMPRESORA: El archivo [salida.pdf] ya existe. ¿Desea reemplazarlo?"_s});
        const QStringList rango = PaginasPdf(e.carpeta.filePath(u"salida.pdf"_s));
        QCOMPARE(rango.size(), 4);
        QVERIFY(rango[0].contains(u"linea 57"_s) && rango[3].contains(u"linea 120"_s));

        // La longitud de página configurada vale al imprimir: 30 líneas, el encabezado y el
        // título en cada hoja y 28 del cuerpo, la quinta de 113 a 120.
        e.Configurar("Longitud Pagina :30\r\n");
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        e.Aceptar(1);
        const QStringList cortas = PaginasPdf(e.carpeta.filePath(u"salida.pdf"_s));
        QVERIFY(cortas.size() == 5 && cortas[1].contains(u"linea 56\n"_s) &&
                !cortas[1].contains(u"linea 57"_s) && cortas[4].contains(u"linea 113\n"_s));
        // Un rango tras la última página no imprime nada, ni una hoja en blanco.
        QVERIFY(QFile::remove(e.carpeta.filePath(u"salida.pdf"_s)));
        e.Aceptar(1, [](Imprime& d) {
            Campo(d, "Pagina0")->setText(u"6"_s);
            Campo(d, "Pagina1")->setText(u"9"_s);
        });
        QVERIFY(!QFile::exists(e.carpeta.filePath(u"salida.pdf"_s)));
    }

    void eleccionDeImpresora() {
        Escenario e;
        // Cada PDF pide su nombre; el "print.pdf" de la carpeta personal no se propone.
        e.plataforma.ImpresoraPdf.setOutputFileName(QDir::home().filePath(u"print.pdf"_s));
        e.plataforma.AceptarPropuesta = false;
        const QString nombrado = e.carpeta.filePath(u"nombrado"_s);
        e.plataforma.RutasGuardar.enqueue(nombrado);
        e.Aceptar(1);
        QCOMPARE(e.plataforma.PropuestasGuardar, QStringList{e.carpeta.filePath(u"r00.pdf"_s)});
        QCOMPARE(e.plataforma.ConfirmacionesGuardar, QList<bool>{false}); // pregunta el diálogo
        QVERIFY(QFile::exists(nombrado + u".pdf"_s));
        e.plataforma.AceptarPropuesta = true;

        const QString pdf = e.carpeta.filePath(u"elegido.pdf"_s);
        e.plataforma.EleccionImpresora = [&](QPrinter& p) {
            p.setOutputFileName(pdf);
            p.setPageOrientation(QPageLayout::Landscape);
        };
        e.plataforma.ImpresoraPdf.setOutputFileName(QString());
        e.Imprimir([&](Imprime& d) {
            QVERIFY(Texto(d, u"lbImpresora"_s).startsWith(u"(ninguna"_s));
            // Sin impresora ni archivo, imprimir abre primero el diálogo de impresora.
            Elegir(d, 1);
            QTest::mouseClick(Control(d, "Boton0"), Qt::LeftButton);
            QCOMPARE(e.plataforma.ImpresorasConfiguradas, 1);
            QVERIFY(Texto(d, u"lbImpresora"_s) == (u"PDF : "_s + pdf) && QFile::exists(pdf));
            // El botón de impresora muestra la elegida y deja el foco en "&Aceptar".
            const QString otro = e.carpeta.filePath(u"otro.pdf"_s);
            e.plataforma.EleccionImpresora = [&](QPrinter& p) { p.setOutputFileName(otro); };
            QTest::mouseClick(Control(d, "btnImpresora"), Qt::LeftButton);
            QCOMPARE(e.plataforma.ImpresorasConfiguradas, 2);
            QCOMPARE(Texto(d, u"lbImpresora"_s), u"PDF : "_s + otro);
            QCOMPARE(QApplication::focusWidget(), Control(d, "Boton0"));
        });
        // Cancelar el diálogo de impresora no imprime nada.
        e.plataforma.ImpresoraPdf.setOutputFileName(QString());
        e.plataforma.RespuestaImpresora = false;
        QFile::remove(pdf);
        e.Aceptar(1);
        QVERIFY(!QFile::exists(pdf) && e.plataforma.Mensajes.isEmpty());
    }

    void disenoDePagina_data() {
        // El ancho, extremo derecho del cuerpo en twips; las líneas, de 240 twips; la
        // orientación elegida: -1 libre, 0 de pie, 1 apaisada.
        Columnas<int, double, int, int, QString, double>(
            {"papel", "ancho", "lineas", "elegida", "orientacion", "escala"});
        const auto fila = [](const char* nombre, QPageSize::PageSizeId papel, double ancho,
                             int lineas, const char* orientacion, double escala, int elegida = -1) {
            QTest::newRow(nombre) << int(papel) << ancho << lineas << elegida
                                  << QString(orientacion) << escala;
        };
        const auto carta = QPageSize::Letter, a4 = QPageSize::A4;
        // Un cuerpo de 102 columnas a 8.5 puntos cabe de pie a tamaño real en los dos papeles.
        fila("angosto carta", carta, 10404, 58, "de pie", 1);
        fila("angosto A4", a4, 10404, 58, "de pie", 1);
        // Ancho y una página llena: de pie reducido gana a apaisado limitado por lo alto.
        fila("ancho y largo carta", carta, 13260, 58, "de pie", 0.8341);
        fila("ancho y largo A4", a4, 13260, 58, "de pie", 0.8084);
        fila("ancho y corto A4", a4, 13668, 34, "apaisada", 1);
        fila("muy ancho carta", carta, 20400, 20, "apaisada", 0.7186);
        fila("muy largo carta", carta, 8000, 70, "de pie", 0.8726);
        fila("elegida apaisada", carta, 8000, 58, "apaisada", 0.7945, 1);
        fila("elegida de pie", carta, 20400, 20, "de pie", 0.5422, 0);
        fila("vacío", a4, 0, 0, "de pie", 1);
    }
    void disenoDePagina() {
        TOMAR((papel, ancho, lineas, elegida), int, double, int, int);
        const QPageLayout hoja(QPageSize(QPageSize::PageSizeId(papel)), QPageLayout::Landscape,
                               QMarginsF(29, 29, 29, 29), QPageLayout::Point);
        const QSizeF area = AreaDePie(hoja, 1200);
        QVERIFY(area.width() < area.height());
        const DisenoPagina d =
            ElegirDisenoPagina(area, ancho, 240.0 * lineas,
                               elegida < 0 ? std::nullopt : std::optional<bool>(elegida == 1));
        QTEST(QString(d.Apaisada ? "apaisada" : "de pie"), "orientacion");
        QFETCH(double, escala);
        QVERIFY2(std::abs(d.Escala - escala) < 0.0005, qPrintable(QString::number(d.Escala)));
        // La línea a la escala del trabajo llena el ancho imprimible.
        QCOMPARE(d.AnchoLinea * d.Escala, d.Apaisada ? area.height() : area.width());

        QCOMPARE(PapelDeTerritorio(QLocale::Colombia), QPageSize::Letter);
        QCOMPARE(PapelDeTerritorio(QLocale::Spain), QPageSize::A4);
    }

    void reportesEnPdf_data() {
        // reporte: "ejemplo N", un archivo de datos o "bordes"; apaisada (-1: la que resulte).
        Columnas<QString, int, int, bool>({"reporte", "papel", "apaisada", "tamanoReal"});
        for (const auto& [nombre, papel] :
             {std::pair{"carta", QPageSize::Letter}, std::pair{"A4", QPageSize::A4}}) {
            // Los reportes 1 y 3 del ejemplo salen apaisados; el 3 y el 4, a tamaño real.
            for (int n = 1; n <= 4; ++n)
                QTest::addRow("ejemplo %d %s", n, nombre)
                    << u"ejemplo %1"_s.arg(n) << int(papel) << n % 2 << (n >= 3);
            for (int n = 1; n <= 4; ++n)
                QTest::addRow("datos %d %s", n, nombre)
                    << u"%1/reportes/reporte%2.txt"_s.arg(VAREK9_DATOS_PRUEBA).arg(n) << int(papel)
                    << -1 << false;
            QTest::addRow("bordes %s", nombre) << u"bordes"_s << int(papel) << 1 << false;
        }
    }
    void reportesEnPdf() {
        // Tamaño de página, orientación y todo el texto dentro de los márgenes de 10 mm.
        TOMAR((reporte, papel, apaisada, tamanoReal), QString, int, int, bool);
        SALTAR_SIN_PDFTOTEXT();
        const CarpetaGuionada aqui;
        if (reporte.startsWith(u"ejemplo"_s)) {
            ModuloVarek9 modulo;
            LeerProyectoDesde(modulo, QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9"));
            EstadoDiseno estado;
            QVERIFY(EscribirReporte(reporte.back().digitValue(), modulo, estado, u"r"_s).Ok);
            reporte = u"r"_s;
        } else if (reporte == u"bordes") {
            // Un cuerpo muy ancho reduce el trabajo; a la derecha y justificada terminan
            // en el borde imprimible a esa escala.
            QVERIFY(EscribirBytes(u"r"_s, P(2101) + "#pg#fecha#\r\n" + P(100) +
                                              QByteArray(180, 'x') + "\r\n" + P(1) + "DERECHA\r\n" +
                                              P(3) + "uno dos JUSTIFICADA\r\n"));
            reporte = u"r"_s;
        }
        const QByteArray datos = LeerBytes(reporte);
        const ResultadoImpresora r = ImprimirPdf(reporte, papel);
        QVERIFY2(r.Ok, qPrintable(r.Error));
        QCOMPARE(r.Paginas, CargarProyecto(datos, 58).TotalPaginas);
        if (apaisada >= 0) QCOMPARE(r.Apaisada, apaisada == 1);
        if (tamanoReal) QCOMPARE(r.Escala, 1.0);

        const QSizeF hoja = QPageSize(QPageSize::PageSizeId(papel)).size(QPageSize::Point);
        const double margen = 10 / 25.4 * 72;
        const QList<PalabraPdf> palabras = PalabrasPdf(u"r.pdf"_s);
        QStringList texto;
        for (const PalabraPdf& p : palabras) {
            const double ancho = p.Hoja.width(), alto = p.Hoja.height();
            QCOMPARE(ancho > alto, r.Apaisada);
            QVERIFY(std::abs(std::min(ancho, alto) - hoja.width()) < 1 &&
                    std::abs(std::max(ancho, alto) - hoja.height()) < 1);
            texto << p.Texto;
            QVERIFY2(p.Caja.left() >= margen && p.Caja.top() >= margen &&
                         p.Caja.right() <= ancho - margen && p.Caja.bottom() <= alto - margen,
                     qPrintable(p.Texto + u" fuera del margen"_s));
            if (p.Texto == u"DERECHA" || p.Texto == u"JUSTIFICADA")
                QVERIFY2(ancho - margen - p.Caja.right() < 1.5, qPrintable(p.Texto));
        }
        QCOMPARE(palabras.isEmpty() ? 0 : palabras.last().Pagina, r.Paginas);
        // Nada cortado: la última palabra de la línea más ancha está en el PDF.
        QByteArray ancha;
        for (const QByteArray& l : datos.split('\n'))
            if (l.trimmed().size() > ancha.trimmed().size()) ancha = l;
        const QString ultima = DecodificarAnsi(ancha.trimmed().split(' ').last())
                                   .remove(QRegularExpression(u"[\\x00-\\x1f]"_s));
        QVERIFY2(texto.contains(ultima), qPrintable(ultima));
    }

    // Las reglas de dibujo medidas en el PDF, en puntos: la hoja Carta de pie empieza
    // a 29.5 (margen de 29 y medio punto de holgura) y termina en 612 - 29.5; cada
    // letra de Courier avanza 0.6 veces su tamaño; la letra chica va en celdas de 86
    // twips (4.3 puntos).
    void reglasDeDibujo_data() {
        // microFeed: twips; caja: izquierda, derecha y, si se mide, arriba.
        Columnas<QByteArray, int, QString, QList<double>>(
            {"linea", "microFeed", "palabra", "caja"});
        const auto prefijo = [](int tamano, int alineacion) {
            return QByteArray(1, char(LineaCuerpo)) + char(tamano) + '\1' + char(alineacion);
        };
        const auto fila = [](const char* nombre, const QByteArray& linea, const char* palabra,
                             const QList<double>& caja, int microFeed = 0) {
            QTest::newRow(nombre) << linea << microFeed << QString::fromLatin1(palabra) << caja;
        };
        const char* diez = "ABCDEFGHIJ";
        const char* veinte = "ABCDEFGHIJKLMNOPQRST";
        const double izq = 29.5, der = 612 - 29.5, medio = (izq + der) / 2;
        // El 8 se dibuja a 8.5 puntos.
        for (const auto& [tamano, ancho] : {std::pair{8, 51}, {10, 60}, {14, 84}, {20, 120}})
            fila(qPrintable(u"%1 puntos"_s.arg(tamano)), prefijo(tamano, 1) + diez, diez,
                 {izq, izq + ancho});
        fila("12 puntos", prefijo(12, 1) + diez, diez, {izq, izq + 72, izq});
        fila("7 en celdas", prefijo(7, 1) + diez, diez, {izq, izq + 9 * 4.3 + 4.2});
        fila("6 en celdas", prefijo(6, 1) + veinte, veinte, {izq, izq + 19 * 4.3 + 3.6});
        fila("derecha", prefijo(12, 2) + diez + "   ", diez, {der - 72, der});
        fila("centrada", prefijo(12, 3) + "  " + diez, diez, {medio - 36, medio + 36});
        const QByteArray tres = prefijo(12, 4) + "  uno dos tres";
        fila("justificada, primera", tres, "uno", {izq + 2 * 7.2, izq + 5 * 7.2});
        fila("justificada, última", tres, "tres", {der - 4 * 7.2, der});
        fila("celdas", prefijo(12, 5) + "AB CD", "CD", {izq + 3 * 7.2, izq + 5 * 7.2});
        const double sangria = izq + 5 * 6.6; // cinco blancos de 11 puntos
        fila("sangría a 11 puntos", prefijo(8, 6) + "     " + diez, diez, {sangria, sangria + 51});
        fila("celdas con sangría", prefijo(20, 7) + "     " + diez, diez, {sangria, sangria + 120});
        // Sin prefijos el tamaño sale del ancho mayor: más de 96 columnas, 8 puntos;
        // más de 80, 10; si no, 12.
        for (const auto& [columnas, avance] : {std::pair{97, 4.8}, {81, 6.0}, {60, 7.2}})
            fila(qPrintable(u"sin prefijos, %1"_s.arg(columnas)), QByteArray(columnas, 'x'),
                 QByteArray(columnas, 'x'), {izq, izq + columnas * avance});
        // El avance inicial de la página baja la primera línea.
        fila("avance de 200 twips", prefijo(12, 1) + diez, diez, {izq, izq + 72, izq + 10}, 200);
    }
    void reglasDeDibujo() {
        TOMAR((linea, microFeed, palabra, caja), QByteArray, int, QString, QList<double>);
        SALTAR_SIN_PDFTOTEXT();
        const Escenario e(linea + "\r\n");
        ConfiguracionImpresion configuracion;
        configuracion.MicroFeed = microFeed;
        const ResultadoImpresora r = ImprimirPdf(e.reporte, QPageSize::Letter, configuracion);
        QVERIFY2(r.Ok, qPrintable(r.Error));
        QVERIFY(r.Escala == 1 && !r.Apaisada);
        const QList<PalabraPdf> palabras = PalabrasPdf(u"r.pdf"_s);
        const auto p = std::ranges::find(palabras, palabra, &PalabraPdf::Texto);
        QVERIFY2(p != palabras.end(), qPrintable(palabras.value(0).Texto));
        // Medio punto, más lo que acumula el redondeo de cada avance en una línea larga.
        const auto cerca = [](double medido, double esperado) {
            return std::abs(medido - esperado) < 0.4 + 0.0025 * esperado;
        };
        const QList<double> medida{p->Caja.left(), p->Caja.right(), p->Caja.top()};
        for (qsizetype i = 0; i < caja.size(); ++i)
            QVERIFY2(
                cerca(medida[i], caja[i]),
                qPrintable(u"%1 .. %2, arriba %3"_s.arg(medida[0]).arg(medida[1]).arg(medida[2])));
    }

    void imagenesDeLaLista() {
        Escenario e;
        // Una imagen de 960 x 480 puntos a 3780 puntos por metro (unos 96 ppp).
        QImage logo(960, 480, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        logo.setDotsPerMeterX(3780);
        logo.setDotsPerMeterY(3780);
        QVERIFY(logo.save(u"logo.png"_s));
        EscribirBytes(u"r00.img"_s, "logo.png 100 200\r\nfalta.png 0 0\r\n");
        const ResultadoImpresora r = ImprimirPdf(u"r00"_s, QPageSize::A4);
        QVERIFY2(r.Ok, qPrintable(r.Error));
        // A la derecha del margen izquierdo (3 cm) más su X, con su ancho natural; la que
        // no existe se salta. Lo que pasa del papel se reduce: nada queda cortado.
        QVERIFY(std::abs(r.AnchoCuerpo - (CmATwips(3) + 100 + 960 / (3780 * 0.0254) * 1440)) < 1);
        QVERIFY(r.AltoTwips >= 200 + 7200 && r.Escala < 1);

        // Una imagen más de las que admite la lista.
        EscribirBytes(u"r00.img"_s, QByteArray("logo.png 10 10\r\n").repeated(21));
        e.Aceptar(1);
        QCOMPARE(e.Avisos(), QStringList{u"IMPRESORA: Error al imprimir..."_s});

        // Un reporte que ya no existe: imprimir no hace nada.
        QFile::remove(u"r00.img"_s);
        e.Aceptar(1, [&](Imprime&) { QFile::remove(e.reporte); });
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
    }

    void puertoDeTexto() {
        Escenario e(P(2000) + "TITULO\r\n" + P(1) + "derecha\r\n");
        const QString destino = e.carpeta.filePath(u"puerto.txt"_s);
        e.Aceptar(2, [&](Imprime& d) { Control<QComboBox>(d, "opcPuerto")->setEditText(destino); });
        // Las columnas del puerto de texto y la línea de "q.bat", en PruebasPaginacion.
        QCOMPARE(LeerBytes(destino), "TITULO\r\n" + QByteArray(80 - 7, ' ') + "derecha\r\n\f");
        QVERIFY(LeerBytes(u"q.bat"_s).endsWith(" >" + destino.toLocal8Bit() + "\r\n"));

#ifdef Q_OS_WIN
        QSKIP("En Windows PRN escribe en la impresora predeterminada de verdad");
#endif
        // PRN va a la impresora predeterminada con lp; un puerto que no existe falla.
        e.Aceptar(2, [](Imprime& d) { Control<QComboBox>(d, "opcPuerto")->setEditText(u"PRN"_s); });
        QCOMPARE(e.plataforma.ProcesosIniciados.size(), 1);
        QVERIFY(e.plataforma.ProcesosIniciados[0].startsWith(u"lp t"_s) && e.Avisos().isEmpty());
        e.plataforma.ProcesosIniciables = false;
        e.Aceptar(2);
        QCOMPARE(e.Avisos(), QStringList{u"IMPRESORA: Error al imprimir..."_s});
        QCOMPARE(e.plataforma.Mensajes[0].Icono, IconoMensaje::Critico);
        // LPT1 a LPT4 son los dispositivos /dev/lp0 a lp3: sin ellos también falla, sin dejar
        // un archivo; LPT5, LPT0 y LPT12 son archivos.
        if (QFileInfo::exists(u"/dev/lp0"_s) || QFileInfo::exists(u"/dev/lp3"_s)) return;
        for (const QString& puerto : {u"lpt1"_s, u"LPT4"_s, u"lpt5"_s, u"lpt0"_s, u"LPT12"_s})
            e.Aceptar(2,
                      [&](Imprime& d) { Control<QComboBox>(d, "opcPuerto")->setEditText(puerto); });
        QCOMPARE(e.plataforma.Mensajes.size(), 3);
        QVERIFY(!QFile::exists(u"lpt1"_s) && !QFile::exists(u"LPT4"_s) &&
                QFile::exists(u"lpt5"_s) && QFile::exists(u"lpt0"_s) && QFile::exists(u"LPT12"_s));
    }

    // Ningún puerto (escrito en su campo) ni PDF (del diálogo de guardar) cae sobre el
    // proyecto abierto u otro; otro archivo se reemplaza solo si se acepta.
    void salidaSobreArchivos_data() {
        // respuesta (-1: sin pregunta); escrito: el archivo reemplazado, o ninguno.
        Columnas<int, QString, int, QString, QString>(
            {"destino", "nombre", "respuesta", "aviso", "escrito"});
        const QString no = u"IMPRESORA: El archivo [%1] es %2: no se puede escribir sobre él. "
                           "Elija otro nombre..."_s;
        const QString existe = u"IMPRESORA: El archivo [%1] ya existe. ¿Desea reemplazarlo?"_s;
        const int No = int(RespuestaMensaje::No), Si = int(RespuestaMensaje::Si);
        const auto fila = [](const char* etiqueta, int destino, const QString& nombre,
                             int respuesta, const QString& aviso, const QString& escrito = {}) {
            QTest::newRow(etiqueta) << destino << nombre << respuesta << aviso << escrito;
        };
        const QString proyecto = u"Ejemplo.vk9"_s;
        fila("puerto al proyecto", 2, proyecto, -1, no.arg(proyecto, u"el proyecto abierto"_s));
        fila("PDF al proyecto", 1, proyecto, -1, no.arg(proyecto, u"el proyecto abierto"_s));
        fila("puerto a un archivo, no", 2, u"notas.txt"_s, No, existe.arg(u"notas.txt"_s));
        fila("puerto a un archivo, sí", 2, u"notas.txt"_s, Si, existe.arg(u"notas.txt"_s),
             u"notas.txt"_s);
        fila("PDF a un archivo, no", 1, u"viejo.pdf"_s, No, existe.arg(u"viejo.pdf"_s));
        fila("PDF sin extensión, sí", 1, "viejo", Si, existe.arg(u"viejo.pdf"_s), "viejo.pdf");
    }
    void salidaSobreArchivos() {
        TOMAR((destino, nombre, respuesta, escrito), int, QString, int, QString);
        Escenario e;
        e.proyecto = e.carpeta.filePath(u"Ejemplo.vk9"_s);
        QMap<QString, QByteArray> antes{
            {u"Ejemplo.vk9"_s, LeerBytes(VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s)},
            {u"notas.txt"_s, "notas\r\n"},
            {u"viejo.pdf"_s, "viejo\r\n"}};
        for (auto a = antes.cbegin(); a != antes.cend(); ++a)
            QVERIFY(EscribirBytes(a.key(), a.value()));
        if (respuesta >= 0) e.plataforma.Respuestas.enqueue(RespuestaMensaje(respuesta));
        e.plataforma.RutasGuardar.enqueue(e.carpeta.filePath(nombre));
        e.Imprimir([&](Imprime& d) {
            Elegir(d, destino);
            auto* puerto = Control<QComboBox>(d, "opcPuerto");
            if (destino == 2) {
                puerto->lineEdit()->setFocus();
                QTest::keyClick(puerto->lineEdit(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(puerto->lineEdit(), nombre);
            }
            QTest::mouseClick(Control(d, "Boton0"), Qt::LeftButton);
            // El puerto que no se escribió queda con el foco para corregirlo.
            QCOMPARE(puerto->hasFocus(), destino == 2 && escrito.isEmpty());
        });
        QFETCH(QString, aviso);
        QCOMPARE(e.Avisos(), QStringList{aviso});
        for (auto a = antes.cbegin(); a != antes.cend(); ++a)
            QCOMPARE(LeerBytes(a.key()) == a.value(), a.key() != escrito);
        if (!escrito.isEmpty())
            QVERIFY(destino == 1 ? LeerBytes(escrito).startsWith("%PDF")
                                 : LeerBytes(escrito).contains("linea 120\r\n\f"));
        // Lo que no se escribió no deja su cola ni su "q.bat".
        for (const QString& trabajo : {u"q.bat"_s, u"t00"_s})
            QCOMPARE(QFile::exists(trabajo), destino == 2 && !escrito.isEmpty());
    }

    void visores() {
#ifdef _WIN32
        QSKIP("El visor de prueba es una orden de sh, que Windows no tiene");
#endif
        Escenario e;
        e.Aceptar(0);
        // Q.COM es un visor de DOS: se abre el del programa, que sobrevive al diálogo.
        frmVisor* visor = e.ventana.findChild<frmVisor*>();
        QVERIFY(visor && visor->isVisible() && visor->parentWidget() == (&e.ventana));
        QVERIFY(visor->Paginas() == 3 && visor->windowTitle().startsWith(u"Ver Informe : "_s));
        const QString texto = visor->Texto();
        QVERIFY(texto.contains(frmVisor::Separador(3)) && !texto.contains(u'\f'));
        QVERIFY(texto.indexOf(u"linea 56"_s) < texto.indexOf(frmVisor::Separador(2)));
        QVERIFY(visor->Buscar(u"linea 120"_s) && !visor->Buscar(u"no está"_s));
        // Las marcas de página y fecha se ven como en el papel.
        QVERIFY(EscribirBytes("marcas.text", "#pg#fecha#\r\nA\r\n\f#pg#fecha#\r\nB #pgde#\r\n\f"));
        const QString marcas =
            frmVisor(e.plataforma, u"marcas.text"_s, QString(), nullptr, u"05/12/2026 19:45:00"_s)
                .Texto();
        const QString fecha = u" [05/12/2026 19:45:00]"_s;
        QCOMPARE(marcas.split(u'\n'),
                 QStringList({QString(80 - 23, u' ') + u'1' + fecha, u"A"_s, frmVisor::Separador(2),
                              QString(80 - 23, u' ') + u'2' + fecha, u"B pag. 2 de 2"_s}));
        QTest::mouseClick(Control(*visor, "btnCopiar"), Qt::LeftButton);
        QVERIFY(e.plataforma.Portapapeles.contains(u"linea 120"_s));
        // Imprimir desde el visor abre el diálogo del mismo reporte.
        QString titulo;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            titulo = d.windowTitle();
            return 0;
        });
        QTest::mouseClick(Control(*visor, "btnImprimir"), Qt::LeftButton);
        QCOMPARE(titulo, u"Imprimir Archivo : r00"_s);

        const auto visores = [&] { return e.ventana.findChildren<frmVisor*>().size(); };
        // Visor en blanco: "q.bat" con q.com y el visor del programa.
        e.Configurar("Archivo para Ver Informes :   \r\n");
        e.Aceptar(0);
        QCOMPARE(LeerBytes(u"q.bat"_s), QByteArray("q.com r00.txt\r\n"));
        QVERIFY(e.plataforma.ProcesosIniciados.isEmpty() && visores() == 2);

        // Un programa que existe se respeta; uno que no, cae en el visor propio.
        e.Configurar("Archivo para Ver Informes : sh -c true\r\n");
        e.Aceptar(0);
        QCOMPARE(e.plataforma.ProcesosIniciados,
                 QStringList{QStandardPaths::findExecutable(u"sh"_s) + u" -c true r00.txt"_s});
        QCOMPARE(visores(), 2);
        e.Configurar("Archivo para Ver Informes : NOTEPAD.EXE\r\n");
        e.Aceptar(0);
        QCOMPARE(visores(), 3);
        // El nombre del visor del programa lo abre, aunque un programa se llame así.
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(u"true"_s), u"Varek-9"_s));
        e.Configurar("Archivo para Ver Informes : Varek-9\r\n");
        e.Aceptar(0);
        QVERIFY(e.plataforma.ProcesosIniciados.size() == 1 && visores() == 4);
        for (frmVisor* v : e.ventana.findChildren<frmVisor*>())
            v->close();
    }

    // En una sesión de la interfaz nada cae en la carpeta de arranque: la
    // configuración va a la del usuario y el reporte, su copia, la cola y "q.bat"
    // a la carpeta de trabajo, que desaparece con la sesión.
    void sesionNoEscribeDondeArranca() {
        CarpetaGuionada e;
        QVERIFY(QDir().mkpath(u"inicio"_s) && QDir().mkpath(u"config"_s));
        const QDir inicio(e.carpeta.filePath(u"inicio"_s));
        // Una carpeta que el usuario no puede escribir.
        QVERIFY(QFile::setPermissions(inicio.path(), QFile::ReadOwner | QFile::ExeOwner));
        QString trabajo;
        {
            const DirectorioActual aqui(inicio.path());
            const CarpetasSesion sesion(e.carpeta.filePath(u"config"_s), e.carpeta.path());
            QVERIFY(sesion.Ok());
            trabajo = CarpetaArchivosTrabajo();
            QVERIFY(trabajo.startsWith(e.carpeta.path() + u"/varek9-"_s));
            const QString reporte = NombreArchivoReporte();
            QCOMPARE(reporte, trabajo + u"/r00"_s);
            EscribirBytes(reporte, P(2000) + "TITULO\r\n" + P(1) + "derecha\r\n");
            QWidget ventana;
            ventana.show();
            QString titulo;
            const QString puerto = e.carpeta.filePath(u"puerto.txt"_s);
            e.plataforma.Modales.enqueue([&titulo, &puerto](QDialog& d) {
                titulo = d.windowTitle();
                Elegir(static_cast<Imprime&>(d), 2);
                Control<QComboBox>(d, u"opcPuerto"_s)->setEditText(puerto);
                QTest::mouseClick(Control(d, "Boton0"), Qt::LeftButton);
                return int(QDialog::Rejected);
            });
            ImprimirArchivo(e.plataforma, &ventana, reporte, QString(), QString(), QString());
            QCOMPARE(titulo, u"Imprimir Archivo : r00"_s);
            // El puerto (un archivo) recibe la cola, que quedó en la carpeta de trabajo.
            QVERIFY(LeerBytes(puerto).contains("TITULO") && QFileInfo::exists(trabajo + u"/t00"_s));
#ifndef Q_OS_WIN
            QCOMPARE(LeerBytes(trabajo + u"/q.bat"_s),
                     "TYPE " + trabajo.toLocal8Bit() + "/t00 >" + puerto.toLocal8Bit() + "\r\n");
#endif
            QCOMPARE(LeerBytes(u"../config/Ultimo.inf"_s), (trabajo + u"/r00\r\n"_s).toLocal8Bit());
            // El archivo nuevo nombra el visor del programa y el editor del sistema.
            const QByteArray set = LeerBytes(u"../config/Imprime.set"_s);
            QVERIFY(set.startsWith(
                "Archivo para Ver Informes : Varek-9\r\nArchivo para Editar TXT : "));
            QVERIFY(!set.contains("Q.COM") && !set.contains("NOTEPAD"));
            QVERIFY(QFileInfo::exists(trabajo + u"/r00.txt"_s));
            QCOMPARE(inicio.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList());
        }
        QVERIFY(!QFileInfo::exists(trabajo));
        // Sin sesión, otra vez la carpeta actual.
        QCOMPARE(RutaTrabajo(u"q.bat"_s), u"q.bat"_s);
        QCOMPARE(RutaConfiguracion(u"Imprime.set"_s), u"Imprime.set"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasImprime)
#include "PruebasImprime.moc"
