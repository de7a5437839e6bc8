// Se encuentra antes que la cabecera real solo al compilar el núcleo.
#error "varek9_core solo puede usar QtCore: esta cabecera pertenece a las ventanas"
