// Archivos de las pruebas: leer y escribir bytes, y trabajar en otra carpeta.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

QByteArray LeerBytes(const QString& ruta);
// Escribe los bytes tal cual; false si no pudo.
bool EscribirBytes(const QString& ruta, const QByteArray& datos);

#ifdef VAREK9_DATOS_PRUEBA
// Un texto UTF-8 escrito a mano en tests/datos, sin los blancos de los extremos.
inline QString TextoDeDatos(const QString& nombre) {
    return QString::fromUtf8(LeerBytes(QStringLiteral(VAREK9_DATOS_PRUEBA "/") + nombre)).trimmed();
}
// Las filas del bloque "## nombre" de un archivo de datos, hasta la línea vacía, con sus
// campos separados por "|"; las líneas "# ..." son comentarios.
inline QList<QStringList> FilasDeDatos(const QString& archivo, const QString& bloque) {
    QList<QStringList> filas;
    for (const QString& b : TextoDeDatos(archivo).split(QStringLiteral("\n\n")))
        if (b.startsWith(QStringLiteral("## ") + bloque + u'\n'))
            for (const QString& l : b.section(u'\n', 1).split(u'\n'))
                if (!l.startsWith(QStringLiteral("# "))) filas << l.split(u'|');
    return filas;
}
#endif

// Cambia el directorio actual mientras vive y lo restaura al final.
class DirectorioActual {
public:
    explicit DirectorioActual(const QString& dir) : anterior_(QDir::currentPath()) {
        QDir::setCurrent(dir);
    }
    ~DirectorioActual() { QDir::setCurrent(anterior_); }
    DirectorioActual(const DirectorioActual&) = delete;
    DirectorioActual& operator=(const DirectorioActual&) = delete;

private:
    QString anterior_;
};
