// varek9-cli: el núcleo de cálculo y el archivo de proyecto desde la consola.
#include "alternatives/Cantidades.h"
#include "alternatives/Diseno.h"
#include "alternatives/Reportes.h"
#include "alternatives/Verificacion.h"
#include "cli/OrdenesImpresion.h"
#include "cli/OrdenesUnidades.h"
#include "cli/SalidaEntrada.h"
#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "project/ArchivoProyecto.h"
#include "project/ModuloVarek9.h"
#include "project/Solucionador.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <optional>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int SalidaBien = 0;
constexpr int SalidaEscritura = 1;
constexpr int SalidaUso = 2;

void Escribir(std::FILE* destino, const QString& texto) {
    const QByteArray bytes = texto.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
}

const char16_t* const Ayuda =
    u"Uso: varek9-cli ORDEN [ARGUMENTOS]\n"
    u"\n"
    u"Órdenes:\n"
    u"  zr R                          Zr para la confiabilidad R en por ciento\n"
    u"                                (R menor que 50 cuenta como 50; 100 o más, como 99)\n"
    u"  sn W18 ZR So DeltaPSI MR      número estructural requerido (pulgadas) para el\n"
    u"                                tránsito W18, la desviación ZR con su signo, So,\n"
    u"                                la pérdida de serviciabilidad y el módulo MR (psi);\n"
    u"                                la mayor raíz de la ecuación; -1 si no tiene\n"
    u"                                ninguna entre 0 y 30\n"
    u"  guardar ENTRADA.vk9 SALIDA.vk9\n"
    u"                                lee un proyecto y lo escribe de nuevo; si SALIDA\n"
    u"                                es ENTRADA y la lectura avisó algo, antes copia\n"
    u"                                ENTRADA tal como estaba a ENTRADA.bak\n"
    u"  diseno PROYECTO.vk9           diseña todas las unidades: por unidad, separados por\n"
    u"                                tabulador, número, SN requerido, alternativa\n"
    u"                                seleccionada y, por alternativa, aplicable (1/0),\n"
    u"                                espesores de las capas 1 a 4 (mm) y costo; al final\n"
    u"                                TOTAL con el costo total de cada alternativa\n"
    u"  reporte N PROYECTO.vk9 [--salida ARCHIVO]\n"
    u"                                escribe el reporte N: 1 unidades homogéneas,\n"
    u"                                2 espesores de las alternativas, 3 costos de las\n"
    u"                                alternativas, 4 alternativas seleccionadas,\n"
    u"                                5 verificación estructural, 6 cantidades de obra;\n"
    u"                                sin --salida reserva un nombre en la carpeta actual y\n"
    u"                                lo escribe en la salida\n"
    u"  importar PROYECTO.vk9 UNIDADES SALIDA.vk9 [--separador coma|punto] [--hoja NOMBRE]\n"
    u"                                agrega bajo la última unidad las filas de UNIDADES:\n"
    u"                                un CSV (\";\", \",\" o tabulador; UTF-8 o\n"
    u"                                Windows-1252) o un libro XLSX (la primera hoja, o\n"
    u"                                NOMBRE). Con fila de títulos, las columnas se toman\n"
    u"                                por su título (\"Código Tramo\", \"CBR (%)\", \"W18\"...);\n"
    u"                                sin ella, por su posición, de Código Tramo a Espesor\n"
    u"                                Capa de Subrasante (como la copia \"exportar\").\n"
    u"                                Dice en la salida de errores cada celda rechazada,\n"
    u"                                ambigua o fuera de lo usual; con una rechazada no\n"
    u"                                guarda y sale con 1; si no, revisa y guarda SALIDA\n"
    u"  exportar PROYECTO.vk9 [--separador coma|punto]\n"
    u"                                escribe la tabla de unidades como la copia\n"
    u"                                \"Copiar al Portapapeles\" (Windows-1252): los\n"
    u"                                números con su valor exacto\n"
    u"  hoja PROYECTO.vk9 --salida ARCHIVO.xlsx|.csv [--separador coma|punto]\n"
    u"                                escribe los resultados en un libro de hoja de\n"
    u"                                cálculo: hojas Unidades, Alternativas, Selección y\n"
    u"                                Cantidades (en CSV, una tras otra con su nombre;\n"
    u"                                \";\" y coma decimal o \",\" y punto decimal)\n"

    u"  texto REPORTE                 escribe la copia de texto del reporte (sin prefijos,\n"
    u"                                con saltos de página) y muestra su nombre\n"
    u"  dos REPORTE [--desde A] [--hasta B] [--copias C] [--fecha \"dd/MM/aaaa HH:mm:ss\"]\n"
    u"      [--salida ARCHIVO]        escribe la cola del puerto de texto según Imprime.set\n"
    u"                                (sin enviarla); sin --salida reserva un nombre\n"
    u"  pdf REPORTE SALIDA.pdf [--desde A] [--hasta B] [--fecha F] [--papel carta|a4]\n"
    u"                                imprime el reporte en un PDF como la impresora\n"
    u"                                (papel de la región si no se da)\n"
    u"  cantidades PROYECTO.vk9       cantidades de obra de la alternativa seleccionada,\n"
    u"                                separadas por tabulador: por unidad, número,\n"
    u"                                alternativa, área de superficie (m²) y, por capa,\n"
    u"                                código, cantidad (m² o m³) y costo; luego TOTAL con\n"
    u"                                código, unidad, cantidad y costo de cada material,\n"
    u"                                AFIRMADO con el costo del afirmado existente (no es\n"
    u"                                obra) y SELECCION con el costo de la selección\n"
    u"  verificar PROYECTO.vk9        verificación estructural de cada alternativa,\n"
    u"                                separada por tabulador: SN requerido y aportado\n"
    u"                                con su resultado, y sobre la base y la subbase la\n"
    u"                                capa, el requerido, el aportado y el resultado\n"
    u"  sensibilidad PROYECTO.vk9 UNIDAD --salida ARCHIVO.pdf|.svg|.png\n"
    u"                                dibuja el SN requerido y el costo de la alternativa\n"
    u"                                más barata de la unidad contra la confiabilidad,\n"
    u"                                el CBR y el tránsito\n"
    u"  diagrama PROYECTO.vk9 --salida ARCHIVO.pdf|.svg|.png\n"
    u"                                dibuja el diagrama lineal de estructuras con la\n"
    u"                                alternativa seleccionada de cada unidad: PDF por\n"
    u"                                páginas; SVG con un grupo por unidad, un archivo por\n"
    u"                                página (ARCHIVO-1.svg, ARCHIVO-2.svg... si hay más\n"
    u"                                de una); PNG a 200 ppp, tan ancho como el camino pide\n"
    u"                                (ARCHIVO-1.png... pasados 16384 píxeles)\n"
    u"  memoria PROYECTO.vk9 --salida ARCHIVO.pdf [--papel carta|a4] [--separador coma|punto]\n"
    u"                                escribe la memoria de diseño: parámetros, catálogo,\n"
    u"                                unidades, estructura y verificación de cada unidad,\n"
    u"                                cantidades y diagrama (papel de la región si no se da)\n"
    u"  --ayuda                       muestra esta ayuda\n"
    u"  --version                     muestra la versión\n"
    u"\n"
    u"--separador: el separador decimal de los números escritos (\"215.000\" es 215000\n"
    u"con coma y 215 con punto); sin la opción, la preferencia \"Separador decimal\" del\n"
    u"usuario. Un texto cuyas celdas muestran su separador (\"13.250,50\") se lee con él.\n"
    u"\n"
    u"Ninguna orden escribe sobre su archivo de entrada (salvo guardar e importar, que\n"
    u"guardan el proyecto sobre sí mismo): un nombre reservado salta la entrada y una\n"
    u"salida dada igual a la entrada termina con el código 2.\n"
    u"\n"
    u"Salida: 0 si todo salió bien, 1 si no se pudo escribir, 2 si faltan datos, el\n"
    u"archivo de entrada no existe o no es un proyecto, o la salida es la entrada.\n";

int ErrorUso(const QString& texto) {
    Escribir(stderr, texto + QStringLiteral("\n\n") + QString::fromUtf16(Ayuda));
    return SalidaUso;
}

std::optional<double> Numero(const QString& texto) {
    bool ok = false;
    const double v = QLocale::c().toDouble(texto.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

int OrdenZr(const QStringList& args) {
    if (args.size() != 1) return ErrorUso(QStringLiteral("La orden zr lleva un argumento: R."));
    const auto r = Numero(args[0]);
    if (!r) return ErrorUso(QStringLiteral("La confiabilidad [%1] no es un número.").arg(args[0]));
    Proyecto p;
    p.Confiabilidad = *r;
    AplicarReglasDerivadas(p);
    Escribir(stdout, Formato17(p.Zr) + u'\n');
    return SalidaBien;
}

int OrdenSn(const QStringList& args) {
    if (args.size() != 5)
        return ErrorUso(
            QStringLiteral("La orden sn lleva cinco argumentos: W18 ZR So DeltaPSI MR."));
    double v[5];
    for (int i = 0; i < 5; ++i) {
        const auto n = Numero(args[i]);
        if (!n) return ErrorUso(QStringLiteral("El valor [%1] no es un número.").arg(args[i]));
        v[i] = *n;
    }
    if (v[0] <= 0 || v[3] <= 0 || v[4] <= 0)
        return ErrorUso(QStringLiteral("W18, DeltaPSI y MR deben ser mayores que 0."));
    Escribir(stdout, Formato17(NumeroEstructural(v[0], v[1], v[2], v[3], v[4])) + u'\n');
    return SalidaBien;
}

QString SinExtension(const QString& ruta) {
    return ruta.endsWith(QStringLiteral(".vk9"), Qt::CaseInsensitive) ? ruta.chopped(4) : ruta;
}

// Lee el proyecto de la línea de comandos; false (tras avisar) si no existe o no
// es un proyecto.
bool CargarProyecto(const QString& entrada, ModuloVarek9& modulo) {
    if (!QFileInfo(entrada).isFile()) {
        Escribir(stderr, QStringLiteral("El Proyecto [%1] NO existe...\n").arg(entrada));
        return false;
    }
    modulo.ArchivoProyecto = SinExtension(entrada);
    const AvisoLectura aviso = LeerProyectoDesde(modulo, entrada);
    if (aviso.HayAviso) Escribir(stderr, aviso.Titulo + QStringLiteral(": ") + aviso.Texto + u'\n');
    // Sin proyecto no hay nada que guardar, diseñar ni reportar.
    return !aviso.NoEsProyecto;
}

int OrdenGuardar(const QStringList& args) {
    if (args.size() != 2)
        return ErrorUso(
            QStringLiteral("La orden guardar lleva dos argumentos: ENTRADA.vk9 SALIDA.vk9."));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    const QString& salida = args[1];
    modulo.ArchivoProyecto = SinExtension(salida);
    const GuardadoProyecto error = GuardarProyectoEn(modulo, salida);
    if (!error.Ok) {
        Escribir(stderr, ErrorEscritura::Titulo() + QStringLiteral(": ") + error.Texto() + u'\n');
        return SalidaEscritura;
    }
    if (!error.Respaldo.isEmpty())
        Escribir(stderr,
                 QStringLiteral("GUARDAR PROYECTO: ") + TextoRespaldo(error.Respaldo) + u'\n');
    return SalidaBien;
}

// Una línea por unidad, campos separados por TAB, como la ventana llena su grilla.
int OrdenDiseno(const QStringList& args) {
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden diseno lleva un argumento: PROYECTO.vk9."));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    EstadoDiseno estado;
    QString salida;
    DisenarProyecto(modulo, estado, [&](int i) {
        const UnidadHomogenea& u = modulo.Proyecto.UH[i];
        QStringList campos{QString::number(i), Formato17(u.SNRequerido),
                           QString::number(u.AlternativaSeleccionada)};
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            const AlternativaUH& alt = modulo.AlternativaUH[n];
            campos << (alt.Aplicable ? QStringLiteral("1") : QStringLiteral("0"));
            for (int k = 1; k <= 4; ++k)
                campos << Formato17(k <= alt.NumeroCapas ? alt.Capas[k].Espesor : 0.0);
            campos << Formato17(estado.CostoAlternativa[n]);
        }
        salida += campos.join(u'\t') + u'\n';
    });
    QStringList totales{QStringLiteral("TOTAL")};
    for (int n = 1; n <= NumeroAlternativas; ++n)
        totales << Formato17(estado.CostoTotal[n]);
    salida += totales.join(u'\t') + u'\n';
    Escribir(stdout, salida);
    return SalidaBien;
}

// Escribe el reporte N como lo haría su botón en la ventana de alternativas.
int OrdenReporte(QStringList args) {
    QString salida;
    const qsizetype posSalida = args.indexOf(QStringLiteral("--salida"));
    if (posSalida >= 0) {
        if (posSalida + 1 >= args.size())
            return ErrorUso(QStringLiteral("Falta el archivo después de --salida."));
        salida = args[posSalida + 1];
        args.remove(posSalida, 2);
    }
    if (args.size() != 2)
        return ErrorUso(
            QStringLiteral("La orden reporte lleva dos argumentos: N (1 a 6) y PROYECTO.vk9."));
    bool ok = false;
    const int numero = args[0].toInt(&ok);
    if (!ok || numero < 1 || numero > 6)
        return ErrorUso(
            QStringLiteral("El reporte [%1] no existe: use un número de 1 a 6.").arg(args[0]));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[1], modulo)) return SalidaUso;
    const bool nombreReservado = salida.isEmpty();
    if (nombreReservado)
        salida = NombreArchivoReporte(QString(), args[1]);
    else if (SalidaSobreEntrada(salida, args[1]) ||
             SalidaProhibida(salida, ClaseSalida::Archivo, args[1]))
        return SalidaUso;
    EstadoDiseno estado;
    const ErrorEscritura error = EscribirReporte(numero, modulo, estado, salida);
    if (!error.Ok) {
        Escribir(stderr, ErrorEscritura::Titulo() + QStringLiteral(": ") + error.Texto() + u'\n');
        return SalidaEscritura;
    }
    if (nombreReservado) Escribir(stdout, salida + u'\n');
    return SalidaBien;
}

// Cantidades de obra de la selección, como el reporte 6, separadas por TAB.
int OrdenCantidades(const QStringList& args) {
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden cantidades lleva un argumento: PROYECTO.vk9."));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    EstadoDiseno estado;
    const CantidadesProyecto c = CalcularCantidades(modulo, estado);
    QString salida;
    for (const CantidadesUnidad& u : c.Unidades) {
        QStringList campos{QString::number(u.Unidad), QString::number(u.Alternativa),
                           Formato17(u.Area)};
        for (const CantidadCapa& capa : u.Capas)
            campos << modulo.TipoCapa[capa.Tipo].Codigo << Formato17(capa.Cantidad)
                   << Formato17(capa.Costo);
        salida += campos.join(u'\t') + u'\n';
    }
    for (int t = 1; t <= NumeroTiposCapa; ++t)
        if (c.Cantidad[t] != 0 || c.Costo[t] != 0)
            salida += QStringList{QStringLiteral("TOTAL"), modulo.TipoCapa[t].Codigo,
                                  modulo.TipoCapa[t].Unidad, Formato17(c.Cantidad[t]),
                                  Formato17(c.Costo[t])}
                          .join(u'\t') +
                      u'\n';
    salida += QStringLiteral("AFIRMADO\t") + Formato17(c.CostoAfirmado) + u'\n';
    salida += QStringLiteral("SELECCION\t") + Formato17(c.CostoSeleccion) + u'\n';
    Escribir(stdout, salida);
    return SalidaBien;
}

// La verificación estructural, como el reporte 5, separada por TAB.
int OrdenVerificar(const QStringList& args) {
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden verificar lleva un argumento: PROYECTO.vk9."));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    EstadoDiseno estado;
    const QList<VerificacionUnidad> lista = VerificarProyecto(modulo, estado);
    QString salida = QStringLiteral(
        "UH\tCodigo\tAlt\tSN requerido\tSN aportado\tTotal\tCapa base\tRequerido base\t"
        "Aportado base\tBase\tCapa subbase\tRequerido subbase\tAportado subbase\tSubbase\n");
    const auto comprobacion = [&](QStringList& campos, const Comprobacion& c, bool conCapa) {
        if (conCapa) campos << (c.Existe ? modulo.TipoCapa[c.Tipo].Codigo : QString());
        if (!c.Existe) {
            campos << QString() << QString() << QString();
            return;
        }
        campos << Formato17(c.Requerido) << Formato17(c.Aportado) << TextoCumple(c.Cumple);
    };
    for (const VerificacionUnidad& v : lista) {
        const QString uh = QString::number(v.Unidad);
        const QString& codigo = modulo.Proyecto.UH[v.Unidad].CodigoTramo;
        if (v.Causa != CausaSinDiseno::Ninguna) {
            salida +=
                QStringList{uh, codigo, QString(), TextoSinDiseno(v.Causa)}.join(u'\t') + u'\n';
            continue;
        }
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            const VerificacionAlternativa& a = v.Alternativas[n];
            QStringList campos{uh, codigo, QString::number(n)};
            if (!a.Aplicable) {
                campos << QStringLiteral("No aplica");
            } else {
                comprobacion(campos, a.Total, false);
                comprobacion(campos, a.Base, true);
                comprobacion(campos, a.Subbase, true);
            }
            salida += campos.join(u'\t') + u'\n';
        }
    }
    Escribir(stdout, salida);
    return SalidaBien;
}

int OrdenDiagrama(QStringList args, int argc, char** argv) {
    const qsizetype posSalida = args.indexOf(QStringLiteral("--salida"));
    if (posSalida < 0 || posSalida + 1 >= args.size())
        return ErrorUso(QStringLiteral("La orden diagrama lleva --salida ARCHIVO.pdf|.svg|.png."));
    const QString salida = args[posSalida + 1];
    args.remove(posSalida, 2);
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden diagrama lleva un argumento: PROYECTO.vk9."));
    const QString extension = QFileInfo(salida).suffix().toLower();
    if (extension != u"pdf" && extension != u"svg" && extension != u"png")
        return ErrorUso(QStringLiteral("El archivo [%1] no es .pdf, .svg ni .png.").arg(salida));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    return DibujarDiagrama(modulo, salida, argc, argv);
}

// Quita "--opcion VALOR" de los argumentos; vacío sin la opción, nulo si le falta el valor.
std::optional<QString> TomarOpcion(QStringList& args, const QString& opcion) {
    const qsizetype pos = args.indexOf(opcion);
    if (pos < 0) return QString();
    if (pos + 1 >= args.size()) return std::nullopt;
    const QString valor = args[pos + 1];
    args.remove(pos, 2);
    return valor;
}

int OrdenMemoria(QStringList args, int argc, char** argv) {
    const std::optional<QString> salida = TomarOpcion(args, QStringLiteral("--salida"));
    const std::optional<QString> papel = TomarOpcion(args, QStringLiteral("--papel"));
    const std::optional<QString> separador = TomarOpcion(args, QStringLiteral("--separador"));
    if (!salida || salida->isEmpty() || !papel || !separador)
        return ErrorUso(QStringLiteral("La orden memoria lleva --salida ARCHIVO.pdf."));
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden memoria lleva un argumento: PROYECTO.vk9."));
    SeparadorDecimal convencion = LeerSeparadorDecimal();
    if (!separador->isEmpty()) {
        const std::optional<SeparadorDecimal> elegido = SeparadorDeNombre(*separador);
        if (!elegido) return ErrorUso(QStringLiteral("La opción --separador lleva coma o punto."));
        convencion = *elegido;
    }
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    return EscribirMemoriaPdf(modulo, *salida, *papel, convencion, argc, argv);
}

int OrdenSensibilidad(QStringList args, int argc, char** argv) {
    const qsizetype posSalida = args.indexOf(QStringLiteral("--salida"));
    if (posSalida < 0 || posSalida + 1 >= args.size())
        return ErrorUso(
            QStringLiteral("La orden sensibilidad lleva --salida ARCHIVO.pdf|.svg|.png."));
    const QString salida = args[posSalida + 1];
    args.remove(posSalida, 2);
    if (args.size() != 2)
        return ErrorUso(
            QStringLiteral("La orden sensibilidad lleva dos argumentos: PROYECTO.vk9 y UNIDAD."));
    const QString extension = QFileInfo(salida).suffix().toLower();
    if (extension != u"pdf" && extension != u"svg" && extension != u"png")
        return ErrorUso(QStringLiteral("El archivo [%1] no es .pdf, .svg ni .png.").arg(salida));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    bool ok = false;
    const int unidad = args[1].toInt(&ok);
    if (!ok || unidad < 1 || unidad > modulo.Proyecto.NumeroUH)
        return ErrorUso(QStringLiteral("La unidad [%1] no existe: el proyecto tiene %2.")
                            .arg(args[1])
                            .arg(modulo.Proyecto.NumeroUH));
    return DibujarSensibilidadUnidad(modulo, unidad, salida, argc, argv);
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Las líneas salen con LF, como en Linux: el modo texto les antepondría CR.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty()) return ErrorUso(QStringLiteral("Falta la orden."));
    const QString orden = args.takeFirst();
    if (orden == u"--ayuda" || orden == u"-h" || orden == u"--help") {
        Escribir(stdout, QString::fromUtf16(Ayuda));
        return SalidaBien;
    }
    if (orden == u"--version") {
        Escribir(stdout,
                 QStringLiteral("varek9-cli (Varek-9) %1\n").arg(QStringLiteral(VAREK9_VERSION)));
        return SalidaBien;
    }
    if (orden == u"zr") return OrdenZr(args);
    if (orden == u"sn") return OrdenSn(args);
    if (orden == u"guardar") return OrdenGuardar(args);
    if (orden == u"diseno") return OrdenDiseno(args);
    if (orden == u"reporte") return OrdenReporte(args);
    if (orden == u"importar") return OrdenImportar(args);
    if (orden == u"exportar") return OrdenExportar(args);
    if (orden == u"hoja") return OrdenHoja(args);
    if (orden == u"texto") return OrdenTexto(args);
    if (orden == u"dos") return OrdenDos(args);
    if (orden == u"pdf") return OrdenPdf(args, argc, argv);
    if (orden == u"cantidades") return OrdenCantidades(args);
    if (orden == u"verificar") return OrdenVerificar(args);
    if (orden == u"sensibilidad") return OrdenSensibilidad(args, argc, argv);
    if (orden == u"diagrama") return OrdenDiagrama(args, argc, argv);
    if (orden == u"memoria") return OrdenMemoria(args, argc, argv);
    return ErrorUso(QStringLiteral("Orden desconocida: [%1].").arg(orden));
}
