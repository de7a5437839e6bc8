// Presentación del programa: nombre, versión y propósito. Se cierra con Enter,
// Escape o un clic en cualquier parte.
#pragma once

#include <QDialog>

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
};
