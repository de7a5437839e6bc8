// Programa complementario Transito: una ventana sobre el protocolo de intercambio.
#include "companions/Principal.h"
#include "companions/frmTransito.h"

int main(int argc, char** argv) {
    return EjecutarCompanero<frmTransito>(argc, argv, u"11");
}
