// Modelo del proyecto: reglas derivadas, catálogo y plantillas, vaciado de unidades;
// el solucionador AASHTO: valores conocidos de Zr y SN y las particularidades del
// método (el número estructural exacto del diseño completo se fija en PruebasDiseno).
// Archivo de proyecto: bytes exactos, ida y vuelta, reglas de lectura, archivos dañados
// y el archivo del último proyecto; copia de recuperación y bloqueo de un proyecto
// abierto. Arranque: la carpeta de trabajo y la preparación de librerías (fechas,
// copia, "DirLib", el lote y la espera).
#include "Pruebas.h"

#include "Archivos.h"
#include "Muestras.h"

#include "alternatives/Diseno.h"
#include "app/Arranque.h"
#include "app/CopiaLibrerias.h"
#include "common/CarpetasSesion.h"
#include "common/Formato.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "project/ArchivoProyecto.h"
#include "project/SesionProyecto.h"
#include "project/Solucionador.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <numeric>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

const QDateTime Ahora(QDate(2026, 12, 6), QTime(10, 0));

// Líneas de archivo escritas en una sola cadena, separadas por "|".
QStringList L(const char* lineas) {
    return QString::fromUtf8(lineas).split(u'|');
}

QByteArray Archivo(const QStringList& lineas) {
    return CodificarAnsi(QString(lineas.join(u"\r\n"_s) + u"\r\n"_s));
}

// Encabezado mínimo seguido de las líneas dadas y del cierre del proyecto.
QByteArray ConEncabezado(const QStringList& cuerpo) {
    QStringList l = {u"[Proyecto]"_s, u" 1 "_s, u"P"_s};
    l += cuerpo;
    l += u"[FinProyecto]"_s;
    return Archivo(l);
}

// Las líneas de un proyecto pequeño, numeradas en los comentarios de las pruebas:
// 1 "[Proyecto]", 5 NumeroUH, bloques de la unidad 1 en 6..13, de la 2 (con dos
// líneas N82) en 14..27 y de la 3 en 28..35, costos en 36..40, cierre en 41.
QStringList LineasBase() {
    QStringList l{"[Proyecto]", " 1 ", "Vía", " 9 ", " 3 "};
    const auto bloque = [&](int i, const char* codigo, int cbr, QStringList resto) {
        l << " 10 " << u" %1 "_s.arg(i) << "[InicioUH]"
          << " 11 " << codigo << " 33 " << u" %1 "_s.arg(cbr) << resto << "[FinUH]";
    };
    bloque(1, "A", 3, {});
    bloque(2, "B", 4, L(" 50 | 2 |[InicioN82]|  n1|  n2|[FinN82]"));
    bloque(3, "C", 5, {});
    l += L(" 100 | 1 |[InicioCU]| 7 |[FinCU]|[FinProyecto]");
    return l;
}

// Líneas desde..hasta (desde 1) unidas con CR LF, cada una con su fin de línea.
QByteArray Tramo(const QStringList& lineas, int desde, int hasta, const char* fin = "\r\n") {
    QByteArray b;
    for (int i = desde; i <= hasta; ++i)
        b += CodificarAnsi(lineas[i - 1]) + fin;
    return b;
}

// Un número como se escribe en el archivo, sin los blancos.
QString N(double v) {
    return Recortar(FormatoGeneral(v));
}

// Lo leído en una línea: nombre, NumeroUH, código:CBR (y líneas N82) de cada unidad,
// el primer costo y, tras "+", el código de cualquier unidad que quede más allá.
QString Resumen(const Proyecto& p) {
    QStringList partes{p.Nombre, QString::number(p.NumeroUH)};
    for (int i = 1; i <= p.CapacidadUH(); ++i) {
        const UnidadHomogenea& u = p.UH[i];
        if (i > p.NumeroUH) {
            if (!(u == UnidadHomogenea{})) partes << u'+' + u.CodigoTramo;
            continue;
        }
        QString unidad = u.CodigoTramo + u':' + N(u.CBR);
        if (!u.N82.isEmpty()) unidad += u'/' + u.N82.join(u'+');
        partes << unidad;
    }
    partes << N(p.CostosUnitarios[1]);
    return partes.join(u'|');
}

// El encabezado leído: descripción, ubicación, R, pt, "V" si la confiabilidad es del
// tránsito, y So.
QString Encabezado(const Proyecto& p) {
    const QString transito = p.ConfiabilidadTransito ? u"V"_s : u"F"_s;
    return QStringList{p.Descripcion, p.Ubicacion, N(p.Confiabilidad), N(p.ServiciabilidadFinal),
                       transito,      N(p.So)}
        .join(u'|');
}

// Módulo de la subrasante para CBR 10, como lo deriva el diseño.
const double MrCbr10 = 2555 * std::pow(10.0, 0.64);

// Escribe el archivo fechado ese día a esa hora.
bool Crear(const QString& ruta, const QByteArray& datos, QDate dia, int hora = 12) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size() && f.flush() &&
           f.setFileTime(QDateTime(dia, QTime(hora, 0)), QFileDevice::FileModificationTime);
}

QString Dia(QDate fecha) {
    return QLocale::system().toString(fecha, QLocale::ShortFormat);
}

// Lo que devolvió la preparación, las líneas del registro y lo que vio el ejecutor del lote.
struct Corrida {
    bool Preparo = false;
    QStringList Lineas;
    QByteArray Lote;
    LoteRegistro Datos;
    QString Restos; // quedaron en la carpeta: el marcador ("M") y el lote ("L")
    QString Resumen() const {
        return (Preparo ? u"si|"_s : u"no|"_s) + Lineas.join(u';') + u'|' + Restos;
    }
};

// accion 1: el ejecutor borra el marcador; 2: lo borra después un temporizador (la
// espera atiende eventos); 0: no lo borra; -1: no inicia el lote.
Corrida Correr(const QString& actual, const QString& sistema, int accion = 1,
               std::chrono::milliseconds espera = 10s) {
    Corrida c;
    const EntornoLibrerias e{actual, sistema,
                             [&c, accion](const LoteRegistro& lote) {
                                 c.Lote = LeerBytes(lote.Archivo);
                                 c.Datos = lote;
                                 if (accion == 1) QFile::remove(lote.Marcador);
                                 if (accion == 2)
                                     QTimer::singleShot(50,
                                                        [m = lote.Marcador] { QFile::remove(m); });
                                 return accion >= 0;
                             },
                             espera};
    c.Preparo = PrepararLibrerias(e, [&c](const QString& l) { c.Lineas.append(l); });
    c.Restos = QString(QFile::exists(actual + "/registro.registrando") ? "M" : "") +
               (QFile::exists(actual + "/registro.bat") ? "L" : "");
    return c;
}

} // namespace

class PruebasArchivoProyecto : public QObject {
    Q_OBJECT
private slots:
    // R y pt se limitan; So y Zr se derivan. Lo esperado: "R|pt|So".
    void reglasDerivadas_data() {
        Columnas<double, double, bool, QString>({"R", "pt", "transito", "esperado"});
        const auto fila = [](const char* nombre, double R, double pt, bool transito,
                             const char* esperado) {
            QTest::newRow(nombre) << R << pt << transito << QString(esperado);
        };
        fila("99.5 queda", 99.5, 2.5, false, "99.5|2.5|.44");
        fila("100 pasa a 99", 100, 2, true, "99|2|.49");
        fila("120 pasa a 99", 120, 2, false, "99|2|.44");
        fila("49.9 pasa a 50", 49.9, 2, false, "50|2|.44");
        fila("pt 4.2 pasa a 2", 90, 4.2, false, "90|2|.44");
        fila("pt 1 queda", 90, 1, true, "90|1|.49");
        fila("pt 0.5 pasa a 2", 90, 0.5, false, "90|2|.44");
        fila("pt 4.19 queda", 90, 4.19, false, "90|4.19|.44");
    }

    void reglasDerivadas() {
        TOMAR((R, pt, transito), double, double, bool);
        Proyecto p;
        p.Confiabilidad = R;
        p.ServiciabilidadFinal = pt;
        p.ConfiabilidadTransito = transito;
        p.Zr = 123;
        p.So = 7;
        AplicarReglasDerivadas(p);
        QTEST(N(p.Confiabilidad) + u'|' + N(p.ServiciabilidadFinal) + u'|' + N(p.So), "esperado");
        QVERIFY(p.Zr == CalcularZr(p.Confiabilidad / 100 - 0.5));
    }

    // El catálogo y las seis estructuras, copiados a mano de las tablas del modelo.
    void catalogoYPlantillas() {
        ModuloVarek9 m;
        InicializarCatalogo(m, 0, 0);
        const auto numeros = [](const auto& v, int desde) {
            QStringList t;
            for (std::size_t i = desde; i < v.size(); ++i)
                t << N(v[i]);
            return t.join(u' ');
        };
        QStringList catalogo, plantillas; // tests/datos/catalogo.txt
        for (int t = 1; t <= NumeroTiposCapa; ++t) {
            const TipoCapa& c = m.TipoCapa[t];
            catalogo << c.Codigo + u'|' + c.Descripcion + u'|' + c.Unidad + u'|' +
                            numeros(c.CoefEstructural, 1) + u'|' + numeros(c.CoefDrenaje, 1) +
                            u'|' + N(c.Modulo);
        }
        // Por ranura: tipo inicial/mínimo bajo/mínimo alto, * diseño por capas, ? opcional.
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            const AlternativaUH& a = m.AlternativaUH[n];
            QStringList t{N(a.CBRMinimo) + u' ' + N(a.NumeroCapas) + u' ' + N(a.Aplicable)};
            for (int k = 1; k <= NumeroRanuras; ++k) {
                const CapaAlternativa& c = a.Capas[k];
                t << m.TipoCapa[c.Tipo].Codigo + u' ' + N(c.EspesorInicial) + u'/' +
                         N(c.EspesorMinimoBajo) + u'/' + N(c.EspesorMinimoAlto) +
                         (c.DisenoPorCapas ? u"*"_s : u""_s) + (c.Opcional ? u"?"_s : u""_s);
                QCOMPARE(c.Espesor + c.CoefEstructural + c.CoefDrenaje + c.Modulo + c.EspesorDiseno,
                         0.0);
            }
            plantillas << t.join(u" | ");
        }
        QCOMPARE(catalogo + QStringList{QString()} + plantillas,
                 TextoDeDatos(u"catalogo.txt"_s).split(u'\n'));

        // Volver a inicializar descarta lo calculado.
        InicializarCatalogo(m, 200, 0.08);
        m.AlternativaUH[3].Capas[1].Espesor = 75;
        m.AlternativaUH[3].Capas[1].EspesorDiseno = 61;
        m.AlternativaUH[3].Aplicable = true;
        m.TipoCapa[CapaBG].Modulo = 1;
        InicializarCatalogo(m, 0, 0);
        const AlternativaUH& a = m.AlternativaUH[3];
        QCOMPARE(
            QList<double>({a.Capas[1].Espesor, a.Capas[1].EspesorDiseno, double(a.Aplicable),
                           double(a.NumeroCapas), a.Capas[4].Espesor, m.TipoCapa[CapaBG].Modulo}),
            QList<double>({0, 0, 0, 3, 0, 30000}));
    }

    void nuevoProyectoVaciaSoloLasUnidades() {
        ModuloVarek9 m;
        Proyecto& p = m.Proyecto;
        p.Nombre = QStringLiteral("Vía");
        p.Confiabilidad = 95;
        p.CostosUnitarios[3] = 1234;
        p.AsegurarCapacidad(1500);
        p.NumeroUH = 1500;
        p.UH[7].CodigoTramo = QStringLiteral("T7");
        p.UH[7].CBR = 5;
        p.UH[7].N82 = QStringList{QStringLiteral("x")};
        p.UH[1500].MR = QStringList{QStringLiteral("y")};
        NuevoProyectoDatos(m);
        QVERIFY(p.NumeroUH == 0 && p.CapacidadUH() == 1000);
        for (int i = 1; i <= p.CapacidadUH(); ++i)
            QVERIFY(p.UH[i] == UnidadHomogenea{});
        QCOMPARE(p.Nombre + u'|' + N(p.Confiabilidad) + u'|' + N(p.CostosUnitarios[3]),
                 QStringLiteral("Vía|95|1234"));
        // Lo que quedó más allá de las unidades en uso también se limpia.
        p.NumeroUH = 2;
        p.UH[1000].CodigoTramo = QStringLiteral("resto"); // la última, más allá de las usadas
        NuevoProyectoDatos(m);
        QVERIFY(p.UH[1000] == UnidadHomogenea{});
    }

    // Zr para una confiabilidad R. Los esperados de 60 a 99 salen del cálculo aparte
    // (herramientas/diseno-aparte.py: la misma falsa posición escrita desde el método);
    // se comparan a 1e-12 y con las cuatro cifras que muestran las propiedades.
    void valoresConocidos_data() {
        Columnas<double, double, QString>({"entrada", "esperado", "mostrado"});
        // "R esperado mostrado"; de 100 en adelante y de 50 hacia abajo, fuera del intervalo
        // de la falsa posición.
        for (const char* fila :
             {"60 0.25334751165289626 0.2533", "60.5 0.26631062821195745 0.2663",
              "70 0.52440280184198029 0.5244", "75 0.67449776620877522 0.6745",
              "80 0.84162989334634641 0.8416", "85 1.036463426310005 1.0365",
              "90 1.2816194349579355 1.2816", "95 1.6450268896363673 1.6450",
              "97 1.8812207805455818 1.8812", "99 2.3278264684488699 2.3278", "100 10 10.0000",
              "120 10 10.0000", "50 0 0.0000", "40 0 0.0000", "nan -1 -1.0000"}) {
            const QStringList c = QString::fromLatin1(fila).split(u' ');
            QTest::addRow("Zr %s", fila) << c[0].toDouble() << c[1].toDouble() << c[2];
        }
    }
    void valoresConocidos() {
        TOMAR((entrada, esperado, mostrado), double, double, QString);
        const double x = CalcularZr(entrada / 100 - 0.5);
        QVERIFY2(std::fabs(x - esperado) < 1e-12, qPrintable(QString::number(x, 'g', 17)));
        QCOMPARE(Formato(x, u"0.0000"), mostrado);
    }

    // SN para W18, ZR, So, DeltaPSI y MR. Los esperados con más de tres decimales se
    // obtuvieron aparte: la ecuación evaluada en 300000 puntos de [0, 30], cada cambio
    // de signo refinado por bisección y tomada la mayor raíz (-1: ninguna).
    void numeroEstructural_data() {
        QTest::addColumn<QList<double>>("v"); // W18, ZR, So, DeltaPSI, MR, esperado, tolerancia
        const double zr = -CalcularZr(0.4);
        const auto fila = [](const char* nombre, QList<double> v) { QTest::newRow(nombre) << v; };
        fila("R 90, CBR 10, W18 1000", {1000, zr, 0.44, 2.2, MrCbr10, 0.825, 5e-4});
        fila("W18 10000", {10000, zr, 0.44, 2.2, MrCbr10, 1.337, 5e-4});
        fila("W18 500000", {500000, zr, 0.44, 2.2, MrCbr10, 2.586, 5e-4});
        // Con pt 4.1 Newton no se asienta aunque haya una sola raíz.
        fila("una raíz, Newton sin asentarse",
             {480000, -1.0365, 0.44, 0.1, 8465.6, 7.583688048, 1e-8});
        // Con pt 4.1 hay vuelta, pero Newton llega a la mayor raíz: su iterado tal cual, no la
        // raíz exacta (1.6e-6 más arriba). Newton repetido aparte, en otra implementación.
        fila("vuelta, Newton en la mayor raíz",
             {30000, zr, 0.44, 4.2 - 4.1, ModuloSubrasante(7), 2.0491724460546754, 1e-10});
        // Raíces 2.93860, 3.03468 y 5.20183: Newton daba la primera.
        fila("tres raíces, la mayor", {10000, -1.645, 0.49, 0.1, 5161.2, 5.201829557, 1e-8});
        // CBR 80 y 150 con muy poco tránsito: Newton salta por debajo de -1.
        fila("demanda muy baja, CBR 80", {100, -1.2816, 0.44, 2.2, 42205.4, 0.025698074, 1e-8});
        fila("demanda muy baja, CBR 150", {500, -1.2816, 0.44, 2.2, 63108.7, 0.102537469, 1e-8});
        // La ecuación ya es positiva en SN = 0 y sube: ninguna raíz en [0, 30].
        fila("sin raíz, CBR 100", {100, -1.2816, 0.44, 2.2, 48684.5, -1, 0});
        // Pérdida negativa: el logaritmo no existe.
        fila("pérdida negativa", {10000, -1.2816, 0.44, -1.0, MrCbr10, -1, 0});
    }
    void numeroEstructural() {
        QFETCH(QList<double>, v);
        const double x = NumeroEstructural(v[0], v[1], v[2], v[3], v[4]);
        QVERIFY2(std::fabs(x - v[5]) <= v[6], qPrintable(QString::number(x, 'g', 17)));
    }

    void particularidadesDelSolucionador() {
        // Para 90 % da 1.2816 a cuatro decimales; para 99 % queda algo por encima del cuantil
        // exacto (2.3263) porque la falsa posición se detiene por el tamaño de su corrección.
        QVERIFY(std::round(CalcularZr(0.4) * 10000) / 10000 == 1.2816 && CalcularZr(0.49) > 2.3264);

        QVERIFY(std::fabs(AreaNormal(1.96) - 0.475002) < 1e-5);
        QVERIFY(std::fabs(AreaNormal(5) - 0.5) < 1e-6 && AreaNormal(-1.3) == -AreaNormal(1.3));
        QVERIFY(AreaNormal(0) == 0.0 && std::fabs(DensidadNormal(0) - 0.3989422804014327) < 1e-13);

        // Tránsito para el cual SN = 2 anula la ecuación: el primer paso es casi nulo.
        const double zr = -CalcularZr(0.4);
        const double w18 = std::pow(10.0, EcuacionAASHTO(2.0, 1.0, zr, 0.44, 2.2, MrCbr10));
        QVERIFY(std::fabs(EcuacionAASHTO(2.0, w18, zr, 0.44, 2.2, MrCbr10)) < 1e-9);
        QVERIFY(NumeroEstructural(w18, zr, 0.44, 2.2, MrCbr10) == 2.0);
        // Con pérdida 0.17 la ecuación (100 ejes, 48684.5 psi) sube en todo [0, 30] y ya vale
        // 0.0397 en SN 0; la vuelta empieza por debajo de 0.1507 (evaluada aparte).
        QVERIFY(CumpleSinCapas(100, zr, 0.44, 0.17, 48684.5));
    }

    void bytesExactos() {
        Proyecto p;
        p.Nombre = u"Vía Rural El Páramo"_s;
        p.Descripcion = u"Tramo 1¦Tramo 2"_s;
        p.Ubicacion = u"Boyacá"_s;
        p.Confiabilidad = 90;
        p.Zr = 1.282;
        p.ServiciabilidadFinal = 2.5;
        p.ConfiabilidadTransito = true;
        p.So = 0.49;
        p.NumeroUH = 1;
        // clang-format off
        p.UH[1] = {"T-01", "", "1", "A", 0, 1250.5, 6, 150000, "Humedo", "Frio", 4.5, "Montañoso",
                   "AFR-1", 15, 0, 2.0458, 3, {"TPD 250", "Crecimiento 3%"}, {}, {"CBR 4.5"}};
        // clang-format on
        p.CostosUnitarios = {0,    12500.5, 95000, -0.5, 1e15, 1.5e-7, 0.0001, 123456789012345678.0,
                             0.44, 0,       0,     7};
        // Archivo escrito a mano según el formato; ver tests/datos/LEEME.md.
        const QByteArray esperado = LeerBytes(VAREK9_DATOS_PRUEBA u"/pequeno.vk9"_s);
        QCOMPARE(TextoProyecto(p), esperado);

        // Sin unidades: NumeroUH 0, los once costos y la confiabilidad del tránsito en F.
        const QString texto = DecodificarAnsi(TextoProyecto(Proyecto()));
        QVERIFY(texto.contains(u"\r\n 9 \r\n 0 \r\n 100 \r\n 11 \r\n[InicioCU]"_s) &&
                texto.endsWith(u"[FinCU]\r\n[FinProyecto]\r\n"_s) &&
                texto.contains(u"\r\n 7 \r\nF\r\n"_s));
    }

    void idaYVuelta_data() {
        QTest::addColumn<int>("unidades");
        for (const int n : {0, 3, 1500})
            QTest::addRow("%d unidades", n) << n;
    }

    void idaYVuelta() {
        QFETCH(int, unidades);
        Proyecto original;
        LlenarProyectoDeMuestra(original, unidades, 3);
        const QByteArray bytes = TextoProyecto(original);
        ModuloVarek9 leido;
        leido.Proyecto.Nombre = u"anterior"_s;
        const AvisoLectura aviso = LeerProyectoDatos(leido, bytes, u"x"_s);
        QVERIFY2(!aviso.HayAviso, qPrintable(aviso.Texto));
        const Proyecto& q = leido.Proyecto;
        QCOMPARE(Encabezado(q),
                 u"Línea uno¦Línea dos con ñ y €|  Boyacá, con blancos  |85|1.8|V|.49"_s);
        QVERIFY(q.Zr == original.Zr && q.CapacidadUH() >= unidades);
        for (int i = 1; i <= unidades; ++i)
            QVERIFY2(q.UH[i] == original.UH[i], qPrintable(u"unidad %1"_s.arg(i)));
        QCOMPARE(leido.ProyectoModificado, false);
        // Escribir lo leído da exactamente los mismos bytes: también el nombre, los costos y
        // el número de unidades.
        QCOMPARE(TextoProyecto(q), bytes);
    }

    void clavesMarcadoresYListas() {
        ModuloVarek9 m;
        QStringList costos{" 100 ", " 13 ", "[InicioCU]"};
        for (int i = 1; i <= 13; ++i)
            costos << QString::number(i);
        // Encabezado, la unidad 2 con una clave desconocida, la 1 con listas, los costos y
        // una segunda sección.
        const QByteArray datos =
            Archivo(L("basura antes|[Proyecto]| 01 |no es la clave 1| 1 |  Nombre con blancos "
                      "|77|valor ignorado|  4  |  95.5 xyz| 7 | v | 9 | 2 ") +
                    L(" 10 | 2 |[InicioUH]| 11 |B| 99 |ignorado| 33 |8|[FinUH]") +
                    L(" 10 | 1 |[InicioUH]| 11 |A| 33 |3| 50 | 4 |[InicioN82]|  uno|  "
                      "dos|[FinN82]| 51 | 1 |[InicioCLIMA]|  c|[FinCLIMA]|[FinUH]") +
                    costos +
                    L("[FinCU]| 55 |[FinProyecto]| 2 |no se lee: la sección terminó|[Proyecto]"
                      "| 3 |Ubicación de la segunda sección|[FinProyecto]"));
        const AvisoLectura aviso = LeerProyectoDatos(m, datos, u"P"_s);
        // Se saltan como siempre, pero se dicen: un fin de línea perdido desfasa el resto.
        QCOMPARE(aviso.Hallazgos, QStringList{"El Proyecto [P] tiene claves o marcadores fuera de "
                                              "lugar en las líneas 3, 7, 20, 61: se saltaron..."});
        const Proyecto& p = m.Proyecto;
        QCOMPARE(Resumen(p), u"  Nombre con blancos |2|A:3/uno+dos++|B:8|1"_s);
        QCOMPARE(Encabezado(p), u"|Ubicación de la segunda sección|95.5|2|V|.49"_s);
        QVERIFY(p.UH[1].CLIMA == L("c") && p.CostosUnitarios[11] == 11.0);
        // Leído otra vez con un solo costo, los que no trae quedan en 0.
        // La lista termina en su marcador aunque la cuenta diga más.
        QVERIFY(
            !LeerProyectoDatos(m, ConEncabezado(L("100|3|[InicioCU]|5|[FinCU]")), "P").HayAviso);
        QCOMPARE(std::accumulate(p.CostosUnitarios.begin(), p.CostosUnitarios.end(), 0.0), 5.0);
        LeerProyectoDatos(m, ConEncabezado(L("9|0")), "P"); // sin lista, ninguno
        QCOMPARE(std::accumulate(p.CostosUnitarios.begin(), p.CostosUnitarios.end(), 0.0), 0.0);

        // Las listas se escriben con dos blancos delante y se leen recortadas.
        m.Proyecto.NumeroUH = 1;
        m.Proyecto.UH[1].N82 = QStringList{u"  con blancos  "_s, u"x"_s};
        const QByteArray bytes = TextoProyecto(m.Proyecto);
        QVERIFY(bytes.contains("\r\n    con blancos  \r\n  x\r\n"));
        LeerProyectoDatos(m, bytes, u"x"_s);
        QCOMPARE(m.Proyecto.UH[1].N82, (QStringList{u"con blancos"_s, u"x"_s}));
        // Un salto dentro de un valor partiría la línea al leer: se escribe un blanco.
        m.Proyecto.UH[1].N82 = QStringList{u"a\nb\rc"_s};
        QVERIFY(TextoProyecto(m.Proyecto).contains("\r\n  a b c\r\n"));

        // La cuenta se cumple sin ver el marcador: la línea siguiente se descarta.
        const QByteArray sinCierre = ConEncabezado(
            L(" 9 | 1 | 10 | 1 |[InicioUH]| 52 | 2 |[InicioMR]|a|b|[FinMR]| 11 |T|[FinUH]"));
        QVERIFY(!LeerProyectoDatos(m, sinCierre, "P").HayAviso && m.Proyecto.UH[1].MR == L("a|b"));
        QCOMPARE(m.Proyecto.UH[1].CodigoTramo, u"T"_s);
    }

    // "V" es verdadero, cualquier otra cosa falso; R y pt se limitan (pt sin valor o
    // limitado es 2) y Zr y So se derivan.
    void encabezado_data() {
        Columnas<QStringList, QString>({"cuerpo", "esperado"});
        QTest::newRow("V") << L(" 7 |V") << u"d||70|2|V|.49"_s;
        QTest::newRow("v con blancos") << L(" 7 |  v ") << u"d||70|2|V|.49"_s;
        QTest::newRow("F") << L(" 7 |F") << u"d||70|2|F|.44"_s;
        QTest::newRow("Verdadero") << L(" 7 |Verdadero") << u"d||70|2|F|.44"_s;
        QTest::newRow("vacío") << L(" 7 |") << u"d||70|2|F|.44"_s;
        QTest::newRow("límites") << L(" 4 | 120 | 5 | 7.5 | 6 | .5 | 8 | 3 ") << u"d||99|2|F|.44"_s;
    }

    void encabezado() {
        QFETCH(QStringList, cuerpo);
        // La lectura parte de un proyecto nuevo (R 70, sin costos), pero la descripción
        // se conserva si el archivo no la trae. Las unidades anteriores y el estado
        // modificado, en lecturaDeArchivosDanados.
        ModuloVarek9 m;
        m.Proyecto.CostosUnitarios[2] = 9, m.Proyecto.Descripcion = u"d"_s;
        m.Proyecto.Confiabilidad = 95, m.Proyecto.ConfiabilidadTransito = true;
        LeerProyectoDatos(m, ConEncabezado(cuerpo), "P");
        QTEST(Encabezado(m.Proyecto), "esperado");
        QCOMPARE(m.Proyecto.CostosUnitarios[2], 0.0);
        QCOMPARE(m.Proyecto.Zr, CalcularZr(m.Proyecto.Confiabilidad / 100 - 0.5));
    }

    // Archivos dañados como los dejan los usuarios: lo que se lee y lo que se dice.
    void lecturaDeArchivosDanados_data() {
        Columnas<QByteArray, QString, QStringList>({"datos", "proyecto", "hallazgos"});
        const QStringList l = LineasBase();
        const QByteArray base = Tramo(l, 1, 41);
        const QString completo = u"Vía|3|A:3|B:4/n1+n2|C:5|7"_s;
        const QString anterior = u"anterior|1|Z:0|0"_s;
        const QString noEs =
            u"El archivo [P] no es un Proyecto (no tiene la línea [Proyecto]): no se cargó nada..."_s;
        const auto enLinea = [](const char* que, int linea) {
            return u"El Proyecto [P] %1 en la línea %2..."_s.arg(QString::fromUtf8(que)).arg(linea);
        };
        const auto cortado = [&](int l) { return enLinea("está incompleto: termina", l); };
        const auto invalido = [&](int l) { return enLinea("tiene un dato inválido", l); };
        const auto noNumerico = [&](int l) { return enLinea("tiene un valor no numérico", l); };
        const auto sinBloque = [&](QStringList extra) {
            return Tramo(l, 1, 35) + Tramo(extra, 1, int(extra.size())) + Tramo(l, 36, 41);
        };

        const auto fila = [](const char* nombre, const QByteArray& datos, const QString& proyecto,
                             const QStringList& hallazgos = {}) {
            QTest::newRow(nombre) << datos << proyecto << hallazgos;
        };

        fila("CR LF", base, completo);
        fila("marca UTF-8", "\xEF\xBB\xBF" + DecodificarAnsi(base).toUtf8(), completo);
        QByteArray marcas = DecodificarAnsi(base).toUtf8().replace("  n1", "\xEF\xBB\xBF n1");
        fila("marca y byte suelto en valores", "\xEF\xBB\xBF" + marcas.replace("n2", "n2\xE1"),
             u"Vía|3|A:3|B:4/\uFEFF n1+n2\uFFFD|C:5|7"_s);
        fila("UTF-8 sin marca es Windows-1252", DecodificarAnsi(base).toUtf8(),
             "V\u00C3\u00ADa|3|A:3|B:4/n1+n2|C:5|7");
        fila("un bloque con LF", Tramo(l, 1, 13) + Tramo(l, 14, 27, "\n") + Tramo(l, 28, 41),
             completo);
        fila("CR solo", Tramo(l, 1, 20, "\r") + Tramo(l, 21, 41), completo);
        // Un CR dentro de un valor de un archivo LF parte la línea: el resto del
        // bloque se salta y se dice.
        fila("LF con un CR en un valor", Tramo(l, 1, 9, "\n") + "A\rZ\n" + Tramo(l, 11, 41, "\n"),
             "Vía|3|A:0|B:4/n1+n2|C:5|7",
             {"El Proyecto [P] tiene claves o marcadores fuera de lugar en las líneas 11, 13: se "
              "saltaron..."});
        fila("cortado en el encabezado", Tramo(l, 1, 4), "Vía|0|0", {cortado(4)});
        fila("cortado en la unidad 2", Tramo(l, 1, 22), "Vía|2|A:3|B:4|0", {cortado(22)});
        fila("cortado en la lista", Tramo(l, 1, 24), "Vía|2|A:3|B:4/n1|0",
             {invalido(22), cortado(24)});
        fila("cortado a media línea", Tramo(l, 1, 34) + "[Fin", "Vía|3|A:3|B:4/n1+n2|C:5|0",
             {cortado(35), "El Proyecto [P] tiene claves o marcadores fuera de lugar en la línea "
                           "35: se saltaron..."});
        fila("sin el cierre", Tramo(l, 1, 40), completo, {cortado(40)});
        // ":" no es la clave 10 (":" sigue al "9"): se salta con su valor y se dice.
        fila("clave que no es un número", sinBloque(L(":|x")), completo,
             {"El Proyecto [P] tiene claves o marcadores fuera de lugar en la línea 36: se "
              "saltaron..."});
        fila("doce claves que no son números",
             sinBloque(QStringList(12, u":|x"_s).join(u'|').split(u'|')), completo,
             {"El Proyecto [P] tiene claves o marcadores fuera de lugar en las líneas 36, 38, 40, "
              "42, 44, 46, 48, 50, 52, 54 y 2 más: se saltaron..."});
        fila("índice repetido", sinBloque(L(" 10 | 2 |[InicioUH]| 11 |B2|[FinUH]")),
             "Vía|3|A:3|B2:0|C:5|7",
             {"La unidad 2 aparece dos veces (líneas 15 y 37): vale la de la línea 37..."});
        fila("índices fuera de rango",
             sinBloque(L(" 10 | 0 |[InicioUH]|[FinUH]| 10 | 7 |[InicioUH]| 11 |X|[FinUH]"
                         "| 10 | 1E6 |[InicioUH]|[FinUH]| 10 | 1E5 |[InicioUH]|[FinUH]")),
             completo,
             {"La unidad 0 (línea 37) tiene un índice fuera de 1 a 100000: se descartó...",
              "La unidad 1000000 (línea 47) tiene un índice fuera de 1 a 100000: se descartó...",
              "La unidad 7 (línea 41) pasa del número de unidades del proyecto (3): se "
              "descartó...",
              "La unidad 100000 (línea 51) pasa del número de unidades del proyecto (3): se "
              "descartó..."});
        QStringList negativos = l;
        negativos[11] = " -3 ";
        negativos.insert(34, " 17 ");
        negativos.insert(35, " -6.5 ");
        fila("valores negativos", Tramo(negativos, 1, 43), "Vía|3|A:-3|B:4/n1+n2|C:5|7",
             {"El Proyecto [P] tiene valores negativos que la tabla de unidades no acepta en las "
              "unidades 1 [A] (CBR), 3 [C] (Ancho Corona)..."});
        fila("vacío", QByteArray(), anterior, {noEs});
        fila("texto ajeno", "Lista de compras\r\n[Proyectos]\n", anterior, {noEs});
        fila("UTF-16 con marca",
             "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(DecodificarAnsi(base).utf16()),
                                     base.size() * 2),
             anterior, {noEs});
        fila("no numérico", ConEncabezado(L(" 4 |noventa| 6 |tampoco")), "P|0|0",
             {noNumerico(5), noNumerico(7)});
        fila("NumeroUH negativo", ConEncabezado(L(" 9 | -5 | 10 | 3 |[InicioUH]|[FinUH]")),
             "P|3|:0|:0|:0|0", {invalido(5)});
        // El mayor índice leído, no el último.
        fila("NumeroUH enorme",
             ConEncabezado(
                 L(" 9 | 1E9 | 10 | 3 |[InicioUH]| 11 |C|[FinUH]| 10 | 2 |[InicioUH]|[FinUH]")),
             "P|3|:0|:0|C:0|0", {invalido(5)});
        fila("alternativa enorme",
             ConEncabezado(L(" 9 | 1 | 10 | 1 |[InicioUH]| 41 | 40000 |[FinUH]")), "P|1|:0|0",
             {invalido(10)});
        fila("cuenta negativa",
             ConEncabezado(L(" 9 | 1 | 10 | 1 |[InicioUH]| 50 | -3 |[InicioN82]|[FinN82]|[FinUH]")),
             "P|1|:0|0", {invalido(10)});
        fila("cuenta cero",
             ConEncabezado(L(" 9 | 1 | 10 | 1 |[InicioUH]| 50 | 0 |[InicioN82]|[FinN82]|[FinUH]")),
             "P|1|:0|0", {});
        fila("desborde", ConEncabezado(L(" 4 | 1E999 ")), "P|0|0", {invalido(5)});
        QStringList muchos;
        QStringList hallazgos;
        for (int i = 0; i < 21; ++i) { // las que se muestran, y luego una más
            muchos += L(" 6 |x");
            hallazgos << noNumerico(5 + 2 * i);
            if (i == 19) fila("veinte", ConEncabezado(muchos), "P|0|0", hallazgos);
        }
        fila("más de veinte", ConEncabezado(muchos), "P|0|0", hallazgos);
    }

    void lecturaDeArchivosDanados() {
        TOMAR((datos, proyecto, hallazgos), QByteArray, QString, QStringList);
        ModuloVarek9 m;
        PonerUnidades(m.Proyecto, {UnidadTramo(u"Z"_s, 0, 1)});
        m.Proyecto.Nombre = u"anterior"_s;
        m.ProyectoModificado = true;
        const AvisoLectura aviso = LeerProyectoDatos(m, datos, u"P"_s);
        QVERIFY(Resumen(m.Proyecto) == proyecto && aviso.Hallazgos == hallazgos);
        // Un solo mensaje con los primeros veinte.
        QCOMPARE(aviso.HayAviso, !hallazgos.isEmpty());
        QString texto = hallazgos.mid(0, 20).join(u'\n');
        if (hallazgos.size() > 20) texto += u"\n(y %1 avisos más)..."_s.arg(hallazgos.size() - 20);
        QCOMPARE(aviso.Texto, texto);
        QCOMPARE(aviso.Titulo, hallazgos.isEmpty() ? QString() : u"CARGAR PROYECTO"_s);
        // El aviso apunta a la línea del primero (de 5 y 7).
        if (QByteArrayView(QTest::currentDataTag()) == "no numérico") QCOMPARE(aviso.Linea, 5);
        // Lo que no es un proyecto no reemplaza al actual ni cambia su estado.
        QCOMPARE(aviso.NoEsProyecto, proyecto == u"anterior|1|Z:0|0");
        QCOMPARE(m.ProyectoModificado, aviso.NoEsProyecto);
    }

    void archivosDanadosNoRompenNada() {
        ModuloVarek9 m;
        const auto leer = [&](const char* cuerpo) {
            LeerProyectoDatos(m, ConEncabezado(L(cuerpo)), "P");
        };
        // Índices imposibles se saltan con su bloque; uno mayor a la capacidad la amplía
        // solo si no pasa de NumeroUH.
        leer(" 10 | 2000 |[InicioUH]|[FinUH]| 9 | 1500 | 10 | 200000 |[InicioUH]| 11 |fuera|"
             "[FinUH]| 10 | 1500 |[InicioUH]| 11 |lejos|[FinUH]| 2 |después");
        QVERIFY(m.Proyecto.NumeroUH == 1500 && m.Proyecto.CapacidadUH() == 1500);
        QCOMPARE(m.Proyecto.UH[1500].CodigoTramo, u"lejos"_s);
        QCOMPARE(m.Proyecto.Descripcion, u"después"_s);

        // Una cuenta enorme no explota y la lista queda acotada (la negativa, en la
        // fila "cuenta negativa" de lecturaDeArchivosDanados).
        leer(" 9 | 1 | 10 | 1 |[InicioUH]| 51 | 1E300 |[InicioCLIMA]|a|b");
        // Quedan tres líneas tras el marcador: "a", "b" y el cierre del proyecto.
        QCOMPARE(m.Proyecto.UH[1].CLIMA, L("a|b|[FinProyecto]"));

        // Redondeo al par en los campos enteros, también los negativos.
        leer(" 9 | 2.5 | 10 | 1.5 |[InicioUH]| 41 | -4.5 |[FinUH]");
        QVERIFY(m.Proyecto.NumeroUH == 2 && m.Proyecto.UH[2].AlternativaSeleccionada == qint16(-4));

        // Bytes arbitrarios no rompen nada.
        QByteArray basura;
        for (int i = 0; i < 5000; ++i)
            basura.append(static_cast<char>((i * 7919) % 256));
        LeerProyectoDatos(m, "[Proyecto]\r\n" + basura, "P");
        QCOMPARE(m.Proyecto.NumeroUH, 0);
    }

    void archivosEnDiscoYFallaAlGuardar() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ModuloVarek9 m;
        m.ArchivoProyecto = dir.filePath(u"Tramo1"_s);
        m.Proyecto.Nombre = u"Con nombre"_s;
        m.Proyecto.NumeroUH = 2;
        m.Proyecto.UH[2].CodigoTramo = u"Z"_s;
        m.ProyectoModificado = true;
        QVERIFY(GuardarProyecto(m).Ok && m.ProyectoModificado == false);
        QCOMPARE(LeerBytes(dir.filePath(u"Tramo1.vk9"_s)), TextoProyecto(m.Proyecto));

        // Un archivo ausente da el proyecto vacío, sin nombre.
        ModuloVarek9 otro;
        otro.Proyecto.Nombre = u"anterior"_s;
        otro.ArchivoProyecto = dir.filePath(u"NoExiste"_s);
        QVERIFY(!LeerProyecto(otro).HayAviso);
        QCOMPARE(otro.Proyecto.Nombre + u'|' + Encabezado(otro.Proyecto), u"|||70|2|F|.44"_s);
        QCOMPARE(otro.Proyecto.Zr, CalcularZr(0.2));
        // Uno que no se puede abrir (una carpeta con su nombre) no lo cambia, y se dice.
        QVERIFY(QDir(dir.path()).mkdir(u"Carpeta.vk9"_s));
        const AvisoLectura carpeta = LeerProyectoDesde(otro, dir.filePath(u"Carpeta.vk9"_s));
        QVERIFY(carpeta.NoEsProyecto &&
                carpeta.Texto.startsWith(u"No se puede leer el Proyecto"_s));

#ifndef _WIN32
        // La extensión en mayúsculas se encuentra y se conserva al guardar.
        QVERIFY(QFile::rename(dir.filePath("Tramo1.vk9"), dir.filePath("Tramo1.VK9")));
        QVERIFY(!LeerProyecto(otro).HayAviso);
        otro.ArchivoProyecto = dir.filePath(u"Tramo1"_s);
        QVERIFY(!LeerProyecto(otro).HayAviso && otro.Proyecto.UH[2].CodigoTramo == u"Z"_s);
        QVERIFY(GuardarProyecto(otro).Ok && !QFile::exists(dir.filePath("Tramo1.vk9")));
        QVERIFY(QFile::exists(dir.filePath("Tramo1.VK9")));
#endif

        // Falla al guardar: el error del sistema y el proyecto sigue modificado.
        QVERIFY(EscribirBytes(dir.filePath("archivo"), "no soy un directorio"));
        m.ArchivoProyecto = dir.filePath(u"archivo/proyecto"_s);
        m.ProyectoModificado = true;
        const ErrorEscritura e = GuardarProyecto(m);
        QVERIFY(!e.Ok && e.Numero != 0 && !e.Descripcion.isEmpty() && m.ProyectoModificado);
#ifndef _WIN32
        // En palabras del programa. Una carpeta como archivo no es un error del sistema (0).
        const auto dicho = [](const ErrorEscritura& x) {
            return u"%1 %2"_s.arg(x.Numero).arg(x.Descripcion);
        };
        QCOMPARE(dicho(e), u"%1 Una parte de la ruta no es un directorio"_s.arg(ENOTDIR));
        QCOMPARE(dicho(EscribirArchivoSeguro(dir.filePath("falta/x"), "x")),
                 u"%1 No existe el archivo o el directorio"_s.arg(ENOENT));
        QCOMPARE(dicho(EscribirArchivoSeguro(dir.path(), "x")).left(2), u"0 "_s);
#endif
        QCOMPARE(ErrorEscritura::Titulo(), u"ERROR"_s);
        QVERIFY(e.Texto().startsWith(
            u"Se presentó un error en el sistema...\n\nError : %1 "_s.arg(e.Numero)));

        // Una escritura fallida no toca el archivo anterior ni deja temporales.
        QVERIFY(EscribirBytes(dir.filePath("bueno.vk9"), "contenido anterior"));
        const QStringList antes = QDir(dir.path()).entryList(QDir::Files);
        QVERIFY(!EscribirArchivoSeguro(dir.filePath("archivo/x"), "nuevo").Ok);
        QCOMPARE(LeerBytes(dir.filePath("bueno.vk9")), QByteArray("contenido anterior"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), antes);
    }

    void respaldoYUltimoProyecto() {
        QTemporaryDir dir;
        const DirectorioActual cd(dir.path());
        const QByteArray cortado = "[Proyecto]\r\n 1 \r\nP\r\n";
        QVERIFY(EscribirBytes("P.vk9", cortado) && EscribirBytes("P.vk9.bak", "copia vieja"));
        ModuloVarek9 m;
        m.ArchivoProyecto = u"P"_s;
        QVERIFY(LeerProyecto(m).HayAviso);
        // Guardar en otro archivo no copia nada.
        QVERIFY(GuardarProyectoEn(m, "Q.vk9").Respaldo.isEmpty());
        // La primera vez encima del archivo leído: antes, la copia tal como estaba.
        QVERIFY(GuardarProyecto(m).Respaldo == u"P.vk9.bak"_s && LeerBytes("P.vk9.bak") == cortado);
        QCOMPARE(LeerBytes("P.vk9"), TextoProyecto(m.Proyecto));
        // La segunda vez la copia no cambia: sigue siendo el archivo dañado.
        QVERIFY(GuardarProyecto(m).Respaldo.isEmpty() && LeerBytes("P.vk9.bak") == cortado);

        // Tras una lectura limpia no hay copia.
        QVERIFY(QFile::remove("P.vk9.bak") && !LeerProyecto(m).HayAviso);
        QVERIFY(GuardarProyecto(m).Respaldo.isEmpty() && !QFile::exists("P.vk9.bak"));

        // Si la copia no se puede escribir, el archivo tampoco se toca.
        QVERIFY(EscribirBytes("P.vk9", cortado) && LeerProyecto(m).HayAviso);
        QVERIFY(QDir().mkdir("P.vk9.bak") && !GuardarProyecto(m).Ok);
        QCOMPARE(LeerBytes("P.vk9"), cortado);

        // Un archivo que no es proyecto: el proyecto sigue y "Guardar" debe pedir nombre.
        QVERIFY(EscribirBytes("notas.vk9", "hola\r\n"));
        m.ArchivoProyecto = u"notas"_s;
        QVERIFY(LeerProyecto(m).NoEsProyecto && m.Proyecto.Nombre == u"P"_s);
        QVERIFY(ArchivoNoEsProyecto(m));
        m.ArchivoProyecto = u"P"_s;
        QVERIFY(!ArchivoNoEsProyecto(m));
        // Guardarlo encima (el usuario lo eligió) deja antes su copia, y ya es un proyecto.
        m.ArchivoProyecto = u"notas"_s;
        QCOMPARE(GuardarProyecto(m).Respaldo, u"notas.vk9.bak"_s);
        QVERIFY(LeerBytes("notas.vk9.bak") == QByteArray("hola\r\n") && !ArchivoNoEsProyecto(m));

        // El archivo del último proyecto: sin argumento ni archivo, "Defecto".
        QVERIFY(QDir().mkpath(u"obras"_s) && CargarUltimoProyecto(m, QString()) == u"Defecto"_s);

        // Dentro del directorio actual se guarda relativo.
        m.ArchivoProyecto = QDir::currentPath() + u"/obras/p1"_s;
        QVERIFY(GuardarUltimoProyecto(m).Ok);
        QCOMPARE(LeerBytes(NombreUltimoProyecto), QByteArray("obras/p1\r\n"));
        QCOMPARE(CargarUltimoProyecto(m, u"   "_s), u"obras/p1"_s);
        QCOMPARE(m.ArchivoProyecto, u"obras/p1"_s);

        // Fuera de él (aunque el nombre empiece igual) se guarda la ruta completa.
        m.ArchivoProyecto = QDir::currentPath() + u"ama/p2"_s;
        QVERIFY(GuardarUltimoProyecto(m).Ok);
        QCOMPARE(CargarUltimoProyecto(m, QString()), QDir::currentPath() + u"ama/p2"_s);

        // Un argumento manda sobre el archivo; ".vk9" se quita sin importar mayúsculas.
#ifdef _WIN32
        const QString esperado = u"obras/tramo1"_s;
#else
        const QString esperado = u"obras/Tramo1"_s;
#endif
        QCOMPARE(CargarUltimoProyecto(m, u"  obras/Tramo1.VK9 "_s), esperado);
        QCOMPARE(CargarUltimoProyecto(m, u"sin extension"_s), u"sin extension"_s);
        QCOMPARE(CargarUltimoProyecto(m, u".vk9"_s), u"Defecto"_s);

        // Nombres con acentos pasan por Windows-1252.
        m.ArchivoProyecto = u"Vía Peñas"_s;
        QVERIFY(GuardarUltimoProyecto(m).Ok);
        QCOMPARE(LeerBytes(NombreUltimoProyecto), QByteArray("V\355a Pe\361as\r\n"));
        QCOMPARE(CargarUltimoProyecto(m, QString()), u"Vía Peñas"_s);
        // Uno que no cabe en Windows-1252 va en UTF-8 con su marca.
        m.ArchivoProyecto = u"Vía Ω"_s;
        QVERIFY(GuardarUltimoProyecto(m).Ok && CargarUltimoProyecto(m, QString()) == u"Vía Ω"_s);
        QCOMPARE(LeerBytes(NombreUltimoProyecto), QByteArray("\xEF\xBB\xBFV\xC3\xAD"
                                                             "a \xCE\xA9\r\n"));

        // Un archivo vacío vuelve a "Defecto".
        QVERIFY(EscribirBytes(NombreUltimoProyecto, ""));
        QCOMPARE(CargarUltimoProyecto(m, QString()), u"Defecto"_s);
    }

    // Un bloqueo detiene solo si es de otra sesión viva: otro proceso que corre en
    // esta máquina, u otra máquina, y nunca si tiene más de 12 horas (43.200 s).
    void bloqueoAjenoVivo_data() {
        Columnas<QString, qint64, int, bool, bool>(
            {"maquina", "proceso", "segundosAtras", "vivo", "ajeno"});
        QTest::newRow("otro-proceso-vivo") << "pc1" << qint64(77) << 3600 << true << true;
        QTest::newRow("otro-proceso-muerto") << "pc1" << qint64(77) << 3600 << false << false;
        QTest::newRow("este-proceso") << "pc1" << qint64(10) << 3600 << true << false;
        QTest::newRow("otra-maquina-12-horas") << "pc2" << qint64(10) << 43200 << false << true;
        QTest::newRow("otra-maquina-vieja") << "PC2" << qint64(77) << 43201 << true << false;
        QTest::newRow("mayusculas-misma-maquina") << "PC1" << qint64(77) << 3600 << false << false;
        QTest::newRow("viejo-y-vivo") << "pc1" << qint64(77) << 13 * 3600 << true << false;
    }

    void bloqueoAjenoVivo() {
        TOMAR((maquina, proceso, segundosAtras, vivo, ajeno), QString, qint64, int, bool, bool);
        const DuenoBloqueo esta{"ana", "pc1", 10, Ahora};
        const DuenoBloqueo dueno{"luis", maquina, proceso, Ahora.addSecs(-segundosAtras)};
        QCOMPARE(BloqueoAjenoVivo(dueno, esta, [&](qint64) { return vivo; }), ajeno);
    }

    void bloqueoYRecuperacion() {
        QTemporaryDir dir;
        const QString proyecto = dir.filePath("Vía 3");
        QVERIFY(EscribirBytes(proyecto + ".VK9", "[Proyecto]\r\n") && !LeerBloqueo(proyecto));
        qputenv("USER", "ana"); // el usuario que el bloqueo nombra sale del entorno
        QVERIFY(TomarBloqueo(proyecto, Ahora));
        // Junto al archivo real, con su extensión.
        QVERIFY(QFile::exists(proyecto + ".VK9.lock"));
        const std::optional<DuenoBloqueo> d = LeerBloqueo(proyecto);
        QVERIFY(d && d->Proceso == QCoreApplication::applicationPid());
        QVERIFY(d->Maquina == QSysInfo::machineHostName() && d->Fecha == Ahora);
        QCOMPARE(d->Usuario, u"ana"_s);
        // El propio no es ajeno; escrito por otro proceso vivo de esta máquina, sí.
        QVERIFY(!BloqueoAjeno(proyecto, Ahora));
#ifdef _WIN32
        // Windows no tiene un proceso que viva siempre: uno propio que espera su entrada.
        QProcess vivo;
        // Sin consola: Wine le daría un conhost que hereda la salida de ctest y lo hace
        // esperar hasta el tiempo límite.
        vivo.setCreateProcessArgumentsModifier(
            [](QProcess::CreateProcessArguments* a) { a->flags |= DETACHED_PROCESS; });
        vivo.start(u"cmd.exe"_s, QStringList());
        QVERIFY(vivo.waitForStarted());
        const QByteArray proceso = QByteArray::number(vivo.processId());
#else
        const QByteArray proceso = "1";
#endif
        QVERIFY(EscribirBytes(proyecto + ".VK9.lock",
                              "Usuario=luis\nMaquina=" + QSysInfo::machineHostName().toUtf8() +
                                  "\nProceso=" + proceso + "\nFecha=2026-12-06T09:00:00\n"));
        const std::optional<DuenoBloqueo> otro = BloqueoAjeno(proyecto, Ahora);
        QVERIFY(otro);
        QCOMPARE(TextoBloqueoAjeno("Vía 3", *otro),
                 QStringLiteral("El proyecto [Vía 3] está abierto por luis en %1 desde 06/12/2026 "
                                "09:00.")
                     .arg(QSysInfo::machineHostName()));
        // Soltar no borra el bloqueo de otro; uno ilegible (sin proceso) no detiene.
        SoltarBloqueo(proyecto);
        QVERIFY(QFile::exists(proyecto + ".VK9.lock"));
        QVERIFY(EscribirBytes(proyecto + ".VK9.lock",
                              "Maquina=otra\nProceso=0\nFecha=2026-12-06T09:00:00\n"));
        QVERIFY(!BloqueoAjeno(proyecto, Ahora) && TomarBloqueo(proyecto, Ahora));
        SoltarBloqueo(proyecto);
        QVERIFY(!QFile::exists(proyecto + ".VK9.lock"));
        QVERIFY(ProcesoVivo(QCoreApplication::applicationPid()) && !ProcesoVivo(0));
        QVERIFY(!ProcesoVivo(0x7ffffff0));

        // La copia de recuperación junto al proyecto, con la fecha dada, más reciente o
        // más antigua que él.
        ModuloVarek9 m;
        m.ArchivoProyecto = dir.filePath("Obra");
        m.Proyecto.Nombre = QStringLiteral("Nombre sin guardar");
        const QString copia = m.ArchivoProyecto + ".vk9.recuperar";
        QDir(CarpetaRecuperacionDatos()).removeRecursively(); // la de prueba de Qt
        QVERIFY(CopiasDelProyecto(m.ArchivoProyecto).isEmpty());
        QVERIFY(EscribirRecuperacion(m, copia, Ahora).Ok && !m.ProyectoModificado);
        QCOMPARE(EscribirRecuperacion(m, {}, Ahora).Texto(),
                 u"Se presentó un error en el sistema...\n\nError : 0 Sin carpeta de datos"_s);
        QCOMPARE(LeerBytes(copia), TextoProyecto(m.Proyecto));
        QVERIFY(Crear(m.ArchivoProyecto + ".vk9", "[Proyecto]\r\n", Ahora.date(), 9));
        QList<CopiaRecuperacion> copias = CopiasDelProyecto(m.ArchivoProyecto);
        QCOMPARE(copias.size(), 1);
        QVERIFY(copias[0].Fecha == Ahora && !copias[0].Antigua() && !copias[0].DeSoloLectura);
        QVERIFY(Crear(m.ArchivoProyecto + ".vk9", "[Proyecto]\r\n", Ahora.date(), 10));
        QVERIFY(CopiasDelProyecto(m.ArchivoProyecto)[0].Antigua());
        // La de la carpeta de datos nombra su proyecto en la primera línea; otro
        // proyecto del mismo nombre tiene la suya.
        const QString datos = RutaRecuperacionDatos(m.ArchivoProyecto);
        QVERIFY(datos.startsWith(CarpetaRecuperacionDatos()) &&
                QRegularExpression("^/Obra [0-9a-f]{8}\\.vk9")
                    .match(datos.mid(CarpetaRecuperacionDatos().size()))
                    .hasMatch());
        QVERIFY(datos != RutaRecuperacionDatos(dir.filePath("otra/Obra")));
        QVERIFY(EscribirRecuperacion(m, datos, Ahora).Ok);
        const QByteArray escrita = LeerBytes(datos);
        QVERIFY(escrita.startsWith("Recuperacion=file:") &&
                escrita.endsWith("\r\n" + TextoProyecto(m.Proyecto)));
        copias = CopiasDelProyecto(m.ArchivoProyecto);
        QVERIFY(copias.size() == 2 && copias[1].DeSoloLectura);
        QCOMPARE(copias[1].Proyecto, m.ArchivoProyecto);
        QCOMPARE(
            TextoCopiasPendientes(copias),
            u"Quedan otras copias de recuperación sin revisar:\n\n[%1] del 06/12/2026 10:00\n"
            "[%1] del 06/12/2026 10:00\n\nSe ofrecerán al volver a iniciar el programa..."_s.arg(
                m.ArchivoProyecto));
        QVERIFY(OtrasCopias(m.ArchivoProyecto).isEmpty());
        QCOMPARE(OtrasCopias(dir.filePath("Vía 3")).size(), 1);
        ModuloVarek9 recuperado;
        QVERIFY(!CargarRecuperacion(recuperado, datos).HayAviso);
        QCOMPARE(recuperado.Proyecto.Nombre, QStringLiteral("Nombre sin guardar"));
        QVERIFY(recuperado.ProyectoModificado && QFile::remove(datos));
    }

    void esperaYArchivoDirLib() {
        QTemporaryDir actual, sistema;
        const QString marcador = actual.filePath("registro.registrando");

        // Sin "DirLib" ni librerías no hay nada que decir ni marcador que dejar (ni
        // uno viejo, que nadie borraría).
        QVERIFY(EscribirBytes(marcador, "viejo"));
        Corrida c = Correr(actual.path(), sistema.path());
        QVERIFY(c.Resumen() == u"no||"_s && c.Lote.isNull());

        // Con un "DirLib" vacío (el directorio actual) se revisa igual: sin
        // "regsvr32.exe" no se ejecuta nada y el marcador queda, vacío.
        QVERIFY(EscribirBytes(actual.filePath("DirLib"), "\r\n"));
        QVERIFY(EscribirBytes(marcador, "viejo"));
        c = Correr(actual.path(), sistema.path());
        QVERIFY(c.Resumen() == u"si|*.OCX;*.DLL|M"_s && c.Lote.isNull());
        QCOMPARE(LeerBytes(marcador), QByteArray(""));

        QVERIFY(EscribirBytes(sistema.filePath("regsvr32.exe"), ""));
        c = Correr(actual.path(), sistema.path());
        QCOMPARE(c.Resumen(), u"si|*.OCX;*.DLL|"_s);
        QCOMPARE(c.Lote, QByteArray("@echo off\r\ndel registro.registrando\r\n"));

        // Un lote que no termina: el arranque sigue y el lote, todavía en uso, queda.
        QCOMPARE(Correr(actual.path(), sistema.path(), 0, 100ms).Resumen(),
                 u"si|*.OCX;*.DLL;El registro de librerías no terminó en 0.1 segundos...|ML"_s);
        QCOMPARE(Correr(actual.path(), sistema.path(), -1).Resumen(),
                 u"si|*.OCX;*.DLL;No fue posible iniciar [registro.bat]...|M"_s);

        // La espera atiende eventos: aquí el marcador lo borra un temporizador.
        QCOMPARE(Correr(actual.path(), sistema.path(), 2).Resumen(), u"si|*.OCX;*.DLL|"_s);

        // "DirLib": la primera línea; ruta absoluta, relativa al directorio actual,
        // inexistente y sin "DirLib".
        QTemporaryDir otra;
        const QString dirLib = actual.filePath("DirLib");
        QVERIFY(EscribirBytes(dirLib, "\r\nlib\r\n"));
        QCOMPARE(DirectorioLibrerias(actual.path()), QString());
#ifdef Q_OS_WIN
        QVERIFY(EscribirBytes(dirLib, "C:\\Lib\r\n"));
        QCOMPARE(DirectorioLibrerias(actual.path()), QString("C:\\Lib\\"));
#endif
        QVERIFY(EscribirBytes(dirLib, CodificarAnsi("  " + otra.path()) + "  \r\notra\r\n"));
#ifdef Q_OS_WIN
        // Windows termina la carpeta con su separador.
        QCOMPARE(DirectorioLibrerias(actual.path()), otra.path() + '\\');
#else
        QCOMPARE(DirectorioLibrerias(actual.path()), otra.path() + '/');
#endif
        QVERIFY(EscribirBytes(otra.filePath("Abs.ocx"), "a"));
        QVERIFY(EscribirBytes(actual.filePath("Actual.dll"), "x"));
        const auto lineas = [&] { return Correr(actual.path(), sistema.path()).Lineas; };
        QCOMPARE(lineas(), QStringList({"*.OCX", "copiando: Abs.ocx", "*.DLL"}));
        QVERIFY(QDir(actual.path()).mkdir("libs") && EscribirBytes(dirLib, "libs"));
        QVERIFY(EscribirBytes(actual.filePath("libs/Rel.DLL"), "r"));
        QCOMPARE(lineas(), QStringList({"*.OCX", "*.DLL", "copiando: Rel.DLL"}));
        QVERIFY(EscribirBytes(dirLib, "no-existe") && lineas() == QStringList({"*.OCX", "*.DLL"}));
        QVERIFY(QFile::remove(dirLib));
        QCOMPARE(lineas(), QStringList({"*.OCX", "*.DLL", "copiando: Actual.dll"}));
    }

    void comparacionPorFecha() {
        QTemporaryDir actual, sistema;
        const auto lib = [&](const char* n) { return actual.filePath(QString::fromUtf8(n)); };
        const auto sis = [&](const char* n) { return sistema.filePath(QString::fromUtf8(n)); };
        QVERIFY(EscribirBytes(sis("regsvr32.exe"), ""));
        QVERIFY(Crear(lib("A.OCX"), "nueva", {2021, 6, 10}));
        QVERIFY(Crear(sis("A.OCX"), "vieja", {2020, 1, 2}));
        QVERIFY(QFile::setPermissions(sis("A.OCX"), QFileDevice::ReadOwner));
        // El mismo día aunque más tarde no se copia.
        QVERIFY(Crear(lib("c.ocx"), "lib", {2020, 5, 5}, 18) &&
                Crear(sis("c.ocx"), "sis", {2020, 5, 5}, 8));
        QVERIFY(Crear(lib("B.Dll"), "lib", {2019, 1, 1}) &&
                Crear(sis("B.Dll"), "sis", {2020, 1, 1}));
        QVERIFY(Crear(lib("Diseño.DLL"), "d", {2020, 1, 1}));
        // Copia imposible: en el sistema hay una carpeta con ese nombre.
        QVERIFY(Crear(lib("E.DLL"), "e", {2099, 1, 1}) && QDir(sistema.path()).mkdir("E.DLL"));
        const QDate carpeta = QFileInfo(sis("E.DLL")).lastModified().date();
        QVERIFY(EscribirBytes(lib("nota.txt"), "x") && QDir(actual.path()).mkdir("X.DLL"));

        const Corrida c = Correr(actual.path(), sistema.path());
        QCOMPARE(
            c.Lineas,
            QStringList(
                {"*.OCX", "actualizando: A.OCX " + Dia({2021, 6, 10}) + " sys:" + Dia({2020, 1, 2}),
                 "pasando: c.ocx " + Dia({2020, 5, 5}) + " sys:" + Dia({2020, 5, 5}), "*.DLL",
                 "pasando: B.Dll " + Dia({2019, 1, 1}) + " sys:" + Dia({2020, 1, 1}),
                 "copiando: Diseño.DLL",
                 "actualizando: E.DLL " + Dia({2099, 1, 1}) + " sys:" + Dia(carpeta) + " error!"}));
        const QByteArray s =
            CodificarAnsi(QDir::toNativeSeparators(sistema.path()) + QDir::separator());
        QCOMPARE(c.Lote, "@echo off\r\n" + s + "regsvr32 " + s + "A.OCX /s\r\n" + s + "regsvr32 " +
                             s + "Dise\xf1o.DLL /s\r\ndel registro.registrando\r\n");
        QCOMPARE(c.Datos.Librerias, QStringList({sis("A.OCX"), sis("Diseño.DLL")}));
        QCOMPARE(LeerBytes(sis("A.OCX")), QByteArray("nueva"));
        QCOMPARE(QFileInfo(sis("A.OCX")).lastModified(),
                 QDateTime(QDate(2021, 6, 10), QTime(12, 0)));
        QCOMPARE(LeerBytes(sis("c.ocx")) + LeerBytes(sis("B.Dll")), QByteArray("sissis"));
        QCOMPARE(LeerBytes(sis("Diseño.DLL")), QByteArray("d"));
    }

    void carpetaDeTrabajo_data() {
        // esperada (vacía: se queda donde está).
        Columnas<QString, QString, QString>({"actual", "documentos", "esperada"});
        const QString casa = "/home/ana";
        QTest::newRow("menú del escritorio")
            << casa << casa + "/Documentos" << casa + "/Documentos/Varek-9";
        QTest::newRow("con barra final")
            << casa + "/" << casa + "/Documentos/" << casa + "/Documentos/Varek-9";
        QTest::newRow("sin carpeta de documentos") << casa << QString() << casa + "/Varek-9";
        QTest::newRow("terminal en otra carpeta")
            << casa + "/obras" << casa + "/Documentos" << QString();
        QTest::newRow("terminal en la raíz") << "/" << casa + "/Documentos" << QString();
    }

    void carpetaDeTrabajo() {
        TOMAR((actual, documentos), QString, QString);
        QTEST(CarpetaDeTrabajo(actual, "/home/ana", documentos), "esperada");
    }

    void carpetaDeTrabajoConCasaFalsa() {
#ifdef _WIN32
        QSKIP("En Windows HOME y XDG_CONFIG_HOME no mueven la carpeta personal ni Documentos");
#endif
        QTemporaryDir casa;
        QVERIFY(QDir(casa.path()).mkpath("obras/dos"));
        QVERIFY(EscribirBytes(casa.filePath("obras/Vía.vk9"), "x"));
        const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
        const auto restaurar = qScopeGuard([&] {
            qputenv("HOME", home);
            config.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", config);
        });
        qputenv("HOME", casa.path().toLocal8Bit());
        // Sin user-dirs.dirs los documentos son $HOME/Documents.
        qputenv("XDG_CONFIG_HOME", casa.filePath(".config").toLocal8Bit());
        const QString documentos = casa.filePath("Documents/Varek-9");
        {
            // Desde una terminal en otra carpeta nada cambia.
            const DirectorioActual aqui(casa.filePath("obras"));
            QStringList argumentos{"varek9", "Vía"};
            QVERIFY(!EntrarEnCarpetaDeTrabajo(argumentos));
            QCOMPARE(QDir::currentPath(), casa.filePath("obras"));
            QCOMPARE(argumentos, QStringList({"varek9", "Vía"}));
        }
        {
            // Desde la carpeta personal: a la de documentos, creada; el proyecto
            // nombrado desde la carpeta personal se sigue encontrando.
            const DirectorioActual aqui(casa.path());
            // El nombre del programa no es un proyecto, aunque haya un archivo así llamado.
            QVERIFY(EscribirBytes(casa.filePath("varek9"), "programa"));
            QStringList argumentos{"varek9", "obras/Vía", "obras/dos", "otro"};
            QVERIFY(EntrarEnCarpetaDeTrabajo(argumentos) && QDir::currentPath() == documentos);
            QCOMPARE(argumentos, QStringList({"varek9", casa.filePath("obras/Vía"),
                                              casa.filePath("obras/dos"), "otro"}));
            // Ya creada, se vuelve a usar.
            QVERIFY(QDir::setCurrent(casa.path()) && EntrarEnCarpetaDeTrabajo(argumentos));
            QCOMPARE(QDir::currentPath(), documentos);
        }
    }

    // La primera vez, la configuración de la carpeta de trabajo se copia a la del
    // usuario; lo que ya está allí no se pisa. El último proyecto queda completo.
    void configuracionAnteriorTomada() {
        QTemporaryDir d;
        const DirectorioActual aqui(d.path());
        QVERIFY(QDir().mkpath(u"antes"_s));
        EscribirBytes(u"antes/Imprime.set"_s, "Puerto : LPT2\r\n");
        EscribirBytes(u"antes/varek-9.ult"_s, "obras/p1\r\n");
        EscribirBytes(u"antes/Ultimo.inf"_s, "r00\r\n");
        {
            const CarpetasSesion sesion(d.filePath(u"config"_s), d.path());
            QCOMPARE(TomarConfiguracionAnterior(d.filePath(u"antes"_s)),
                     QStringList({u"Imprime.set"_s, u"Ultimo.inf"_s, u"varek-9.ult"_s}));
            QCOMPARE(LeerBytes(u"config/Imprime.set"_s), QByteArray("Puerto : LPT2\r\n"));
            QCOMPARE(LeerBytes(u"config/varek-9.ult"_s),
                     (d.filePath(u"antes/obras/p1"_s) + u"\r\n"_s).toLocal8Bit());
            QCOMPARE(LeerBytes(u"antes/varek-9.ult"_s), QByteArray("obras/p1\r\n"));
            ModuloVarek9 m;
            QCOMPARE(CargarUltimoProyecto(m, QString()), d.filePath(u"antes/obras/p1"_s));
            // Otra carpeta más tarde no cambia la configuración ya tomada.
            EscribirBytes(u"antes/Imprime.set"_s, "Puerto : LPT3\r\n");
            QCOMPARE(TomarConfiguracionAnterior(d.filePath(u"antes"_s)), QStringList());
            QCOMPARE(LeerBytes(u"config/Imprime.set"_s), QByteArray("Puerto : LPT2\r\n"));
            // En la sesión el último proyecto se recuerda con su ruta completa.
            m.ArchivoProyecto = u"obras/p2"_s;
            QVERIFY(GuardarUltimoProyecto(m).Ok);
            QCOMPARE(LeerBytes(u"config/varek-9.ult"_s),
                     (d.filePath(u"obras/p2"_s) + u"\r\n"_s).toLocal8Bit());
            QVERIFY(!QFileInfo::exists(u"varek-9.ult"_s));
        }
        // Sin sesión no hay carpeta de configuración que llenar.
        QCOMPARE(TomarConfiguracionAnterior(d.filePath(u"antes"_s)), QStringList());
    }

    void plataformaSinWindows() {
#ifdef Q_OS_WIN
        QSKIP("Solo donde no hay directorio de componentes del sistema");
#else
        QTemporaryDir actual, sistema;
        qunsetenv("VAREK9_DIR_SISTEMA");
        // En las pruebas, la carpeta de datos del usuario es la de prueba de Qt.
        const QString propio = DirectorioSistemaPlataforma();
        QCOMPARE(propio, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                             "/sistema");
        QVERIFY(QFileInfo(propio).isDir());

        // Un "regsvr32.exe" que anota sus argumentos: las órdenes corren sin el lote.
        const QString herramienta = sistema.filePath("regsvr32.exe");
        const QByteArray anotados = sistema.filePath("anotados").toLocal8Bit();
        QVERIFY(EscribirBytes(herramienta, "#!/bin/sh\necho \"$@\" >> \"" + anotados + "\"\n"));
        QVERIFY(QFile::setPermissions(herramienta, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QVERIFY(EscribirBytes(actual.filePath("Z.OCX"), "") &&
                EscribirBytes(actual.filePath("Y.DLL"), ""));
        qputenv("VAREK9_DIR_SISTEMA", sistema.path().toLocal8Bit());
        QStringList lineas;
        {
            const DirectorioActual enActual(actual.path());
            PrepararLibrerias([&](const QString& l) { lineas.append(l); });
        }
        qunsetenv("VAREK9_DIR_SISTEMA");
        QCOMPARE(lineas, QStringList({"*.OCX", "copiando: Z.OCX", "*.DLL", "copiando: Y.DLL"}));
        QCOMPARE(LeerBytes(anotados),
                 (sistema.filePath("Z.OCX") + " /s\n" + sistema.filePath("Y.DLL") + " /s\n")
                     .toLocal8Bit());
        QCOMPARE(QDir(actual.path()).entryList({"registro.*"}), QStringList());
#endif
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasArchivoProyecto)
#include "PruebasArchivoProyecto.moc"
