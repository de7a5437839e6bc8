// Todo lo que las ventanas piden fuera del proceso pasa por aquí: mensajes,
// diálogos de archivo, ventanas modales, procesos, documentos, impresora y
// portapapeles. La aplicación usa PlataformaQt; las pruebas, una con guion.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QPrinter;
class QWidget;

// Un programa iniciado que quien lo inició vigila hasta que termina.
class ProgramaIniciado {
public:
    virtual ~ProgramaIniciado() = default;
    virtual bool Terminado() = 0;
    // Identificador del proceso en el sistema; 0 si no hay uno.
    virtual qint64 Identificador() const { return 0; }
};

enum class IconoMensaje { Ninguno, Critico, Pregunta, Exclamacion, Informacion };
// SoloLecturaCancelar: "Solo lectura" responde Aceptar.
// TodasPorDefectoCancelar: "Todas" (Si), "Solo las que tienen la alternativa por
// defecto" (No) y "Cancelar". BuscarCancelar: "Buscar..." responde Aceptar.
enum class BotonesMensaje {
    Aceptar,
    AceptarCancelar,
    SiNo,
    SiNoCancelar,
    SoloLecturaCancelar,
    TodasPorDefectoCancelar,
    BuscarCancelar
};
enum class RespuestaMensaje { Aceptar, Cancelar, Si, No };

// Filtro de los diálogos de proyecto.
inline const QString FiltroProyectos =
    QStringLiteral("Archivos de Datos (*.vk9);;Todos los archivos (*.*)");

class Plataforma;
// La plataforma Qt de la aplicación (la define app/): los programas
// complementarios la piden sin depender de la carpeta de la aplicación.
std::unique_ptr<Plataforma> CrearPlataformaQt();

class Plataforma {
public:
    virtual ~Plataforma() = default;

    virtual RespuestaMensaje Mensaje(QWidget* padre, const QString& titulo, const QString& texto,
                                     IconoMensaje icono, BotonesMensaje botones,
                                     RespuestaMensaje porDefecto) = 0;
    // Ruta elegida; vacía si el usuario cancela.
    virtual QString AbrirArchivo(QWidget* padre, const QString& titulo, const QString& filtro) = 0;
    // propuesto: ruta que el diálogo ofrece; con confirmarReemplazo el propio
    // diálogo pregunta antes de elegir un archivo que ya existe.
    virtual QString GuardarArchivo(QWidget* padre, const QString& titulo, const QString& filtro,
                                   const QString& propuesto = QString(),
                                   bool confirmarReemplazo = false) = 0;
    // Muestra la ventana modal y devuelve su resultado (QDialog::Accepted...).
    virtual int MostrarModal(QDialog& ventana) = 0;
    // Inicia un programa sin esperarlo; false si no se pudo.
    virtual bool IniciarProceso(const QString& programa, const QStringList& argumentos) = 0;
    // Inicia un programa para esperarlo (el directorio actual es el suyo); nulo si
    // no se pudo. La implementación común usa QProcess.
    virtual std::unique_ptr<ProgramaIniciado> IniciarPrograma(const QString& programa,
                                                              const QStringList& argumentos);
    // Abre un documento con el programa predeterminado del sistema.
    virtual bool AbrirDocumento(const QString& ruta) = 0;
    // Diálogo de impresora sobre la impresora dada (elegir "imprimir a archivo" da un
    // PDF); false si el usuario cancela.
    virtual bool ConfigurarImpresora(QWidget* padre, QPrinter& impresora) = 0;
    // La impresora del programa: la elegida por última vez (al principio, la
    // predeterminada del sistema).
    virtual QPrinter& Impresora() = 0;
    virtual QString LeerPortapapeles() = 0;
    virtual void EscribirPortapapeles(const QString& texto) = 0;

    // El tiempo de las esperas por archivos compartidos y programas: las pruebas
    // recorren la misma secuencia sin dormir.
    // Pausa que atiende los eventos pendientes (o no, si atenderEventos es false).
    virtual void Pausa(int milisegundos, bool atenderEventos = true);
    // Número al azar en [0, 1).
    virtual double Azar();
    // Intervalo que se da a un temporizador de ventana que pide milisegundos.
    virtual int Intervalo(int milisegundos) { return milisegundos; }
    // Pausa al azar entre minimo y maximo segundos.
    void PausaAlAzar(double minimo, double maximo, bool atenderEventos = true);

    // Atajos de los mensajes más comunes.
    void Aviso(QWidget* padre, const QString& titulo, const QString& texto,
               IconoMensaje icono = IconoMensaje::Exclamacion) {
        Mensaje(padre, titulo, texto, icono, BotonesMensaje::Aceptar, RespuestaMensaje::Aceptar);
    }
};
