// Ventana principal: comandos del proyecto y botones de las ventanas de trabajo.
#pragma once

#include "project/ModuloVarek9.h"

#include <QDateTime>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QStringList>

#include <functional>

class Plataforma;
struct CopiaRecuperacion;
class QAction;
class QDialog;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class frmVarek9 : public QMainWindow {
    Q_OBJECT
public:
    // lineaComando: el texto de la línea de comandos tras el nombre del programa.
    frmVarek9(ModuloVarek9& modulo, Plataforma& plataforma, const QString& lineaComando,
              QWidget* parent = nullptr);
    ~frmVarek9() override;

    // Pregunta si guardar un proyecto modificado; true si quien llama puede seguir.
    bool ChequeoGuardarProyecto(bool noCancela = false);
    // El diálogo de abrir y la lectura: true si quedó abierto el proyecto elegido.
    bool AbrirProyecto();
    bool GuardarProyectoComo();
    void ActualizarTitulo();
    // Entradas del menú "Proyecto" (0, 1, 3, 4, 10) y de la barra ("PRY" + n).
    void MenuProyecto(int indice);
    // Acción del botón de índice i de la ventana.
    void PulsarBoton(int indice);

    // Escribe la copia de recuperación si hay cambios sin guardar (el temporizador
    // la llama cada dos minutos y la tabla de unidades tras cada revisión): junto al
    // proyecto o, si esta sesión no puede escribir allí, en la carpeta de datos.
    void GuardarRecuperacion();
    // El reloj que fecha las copias de recuperación (las pruebas ponen el suyo).
    void PonerReloj(std::function<QDateTime()> reloj) { reloj_ = std::move(reloj); }
    // La copia de recuperación que esta sesión escribió o recuperó; vacía si no hay.
    const QString& CopiaRecuperacionActual() const { return copiaRecuperacion_; }
    // Fin de la sesión del escritorio: true si puede terminar. Sin interacción
    // no se puede preguntar: queda la copia de recuperación.
    bool CierreDeSesion(bool interactivo);

    bool YaActivado() const { return yaActivado_; }
    bool SoloLectura() const { return soloLectura_; }
    const QStringList& Argumentos() const { return argumentos_; }
    QPushButton* Boton(int indice) const { return botones_.value(indice); }

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CrearMenus();
    void CrearBotones(QWidget* centro);
    void PrimeraActivacion();
    // Lee el proyecto y toma su bloqueo; un archivo que no es proyecto no cambia
    // nada y da false. Luego ofrece sus copias de recuperación y, al arrancar, las
    // de otros proyectos.
    bool CargarProyecto(const QString& archivoProyecto, bool soloLectura, bool alArrancar = false);
    // Bloqueo de otra sesión sobre el proyecto: pregunta si abrirlo de solo
    // lectura; false si el usuario cancela.
    bool ComprobarBloqueo(const QString& archivoProyecto, bool& soloLectura);
    void SoltarBloqueoActual();
    void PonerSoloLectura(const QString& archivoProyecto, bool soloLectura);
    // Ofrece las copias una a una hasta recuperar una; las demás se nombran.
    void OfrecerCopias(const QList<CopiaRecuperacion>& copias);
    bool OfrecerCopia(const CopiaRecuperacion& copia);
    bool RecuperarCopia(const CopiaRecuperacion& copia);
    void BorrarCopiaPropia();
    // Guarda y, si falla, muestra el error del sistema; true si quedó guardado.
    // Con pedirNombre, un proyecto sin nombre pide primero dónde guardarse; uno de
    // solo lectura lo pide siempre.
    bool Guardar(bool pedirNombre = false);
    void MostrarErrorEscritura(const QString& texto);
    void AbrirDocumentoReferencia(const QString& archivo);
    // La presentación, sin detener a nadie; una sola a la vez.
    void MostrarAcercaDe();
    void AbrirManual();
    void ResaltarBoton(int indice);
    bool SobreUnBoton(QEvent* evento) const;
    void Salir();

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    QStringList argumentos_;
    bool yaActivado_ = false;
    bool activacionPendiente_ = false;
    bool resaltadoBotones_ = false;
    bool botonesListos_ = false;
    bool saliendo_ = false;
    bool soloLectura_ = false;
    bool sinEscritura_ = false; // de solo lectura porque el archivo no se puede escribir
    QString bloqueado_;         // proyecto cuyo bloqueo tiene esta sesión
    QString copiaRecuperacion_; // la copia escrita o recuperada por esta sesión
    std::function<QDateTime()> reloj_ = [] { return QDateTime::currentDateTime(); };
    QMap<int, QPushButton*> botones_;
    QAction* mnuGuardar_ = nullptr;
    QPlainTextEdit* txtLib_ = nullptr;
    QLabel* lbSoloLectura_ = nullptr;
    QPointer<QDialog> acerca_;
    QTimer* tiempo_ = nullptr;
    QTimer* tmrRecuperacion_ = nullptr;
};
