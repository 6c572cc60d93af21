#include "quillet/app/messages.h"

#include <array>

namespace quillet {
namespace {

constexpr std::uint8_t Q = fw::Severity_Question;
constexpr std::uint8_t P = fw::Severity_ProgramError;
constexpr std::uint8_t F = fw::Severity_Fatal;
constexpr std::uint8_t N = fw::Severity_Notice;

// Identifier, severity, title, text, exactly as the users of Quillet know them (spelling slips
// included). There is no message 32.
constexpr std::array<fw::ErrorText, 52> kSpanish{{
    {1, N, "Error de Retribución",
     "Error: (%ErrorText) al intentar acceder al registro de tabla %File .  Regresando a ventana "
     "previa."},
    {2, N, "Acceso Denegado", "No pudo obtener acceso de escritura en Tabla %File"},
    {3, Q, "Registro Agregado", "Refistro agregado al archivo. ¿ Desea agregar otro ?"},
    {4, N, "Error en Agregar",
     "Un error fue experimentado durante la creación del registro. Error: %ErrorText."},
    {5, N, "¿Agregar nuevo registro?", "Registro no encontrado, ¿desea agregar una nuevo?"},
    {6, N, "Error de Acceso", "El Archivo %File no puede ser cerrado.  Error: %ErrorText."},
    {7, N, "Registro no fue Actualizado",
     "El registro puede haber sido fue modificado por otra estación."},
    {8, N, "Registro no Actualizado",
     "Este registro fue modificado por otra estación. Los cambios serán mostrados ahora. Use el "
     "botón Ditto or Ctrl+' para restaurar sus cambios."},
    {9, N, "Error al traer el Regisro",
     "Este registro fue modificado por otra estación. Los cambios serán mostrados ahora.|Error: "
     "(%ErrorText) "},
    {10, Q, "Cambios no seran Realizados!", "¿Desea Ud.cancelar?"},
    {11, Q, "Confirmar Borrado", "¿ Está seguro que desea eliminar el registro seleccionado?"},
    {12, F, "Error en creación de Tabla", "Error: (%ErrorText) creando %File."},
    {13, N, "Registro no fue Borrado",
     "Un error (%ErrorText) fue experimentado al borrar del Archivo %File ."},
    {14, N, "Pedido Inválido", "Esta Ficha no puede ser usada para Borrar un registro"},
    {15, N, "Error Clave Duplicada",
     "Agregar este registro crea una clave duplicada para la clave: %Message"},
    {16, N, "Error en Contenido de campo", "El valor de %Field debe existir en tabla %Message."},
    {17, N, "Error en Valor", "El valor del campo %Field debe estar en esta lista : %Message."},
    {18, N, "Error de Rango", "El valor de %Field debe ser entre %Message."},
    {19, N, "Error en Rango", "El valor de %Field debe ser menor que %Message."},
    {20, N, "Error de Rango", "El valor de %Field debe ser mayor que %Message."},
    {21, N, "Error Carga Archivo", "Archivo %File no pudo cargarse.  Error: %ErrorText."},
    {22, F, "WMF Error", "La lectura del siguiente registro de %File ha fallado."},
    {23, N, "Pedido Inválido", "Esta Ficha no puede ser usada para insertar un registro"},
    {24, N, "Transacción Cancelada",
     "Error: (%ErrorText) al intentar enmarcar una transacción sobre tabla %File."},
    {25, N, "No hay Registros", "No se encontraron registros disponibles para procesar."},
    {26, F, "Error de Acceso", "Archivo (%File) no pudo ser abierto.  Error: %ErrorText."},
    {27, N, "Procedimiento no definido", "El Procedimiento %Message no fue definido."},
    {28, N, "Registro no fue Actualizado",
     "Un error (%ErrorText) fue experimentado al realizar cambioses to the %File file."},
    {29, F, "Clave no fue reconstruida", "Error: (%ErrorText) reparando clave para tabla: %File."},
    {30, N, "Clave Inválida", "%File : Clave inválida. Clave debe ser reconstruida."},
    {31, N, "Registro NO leido",
     "Un registro bloqueado por otra terminal fue encontrado al leer de tabla %File ."},
    {33, N, "Error de Integridad Referencial (Borrado)",
     "Este registro esta siendo referenciado desde la tabla %File. Este registro no puede ser "
     "eliminado mientras exista esta referencia."},
    {34, N, "Error de Integridad Referencial (Actualización)",
     "Este registro esta siendo referenciado desde la tabla %File. Los campo(s) linkeado(s) "
     "fueron configurados para que no permitan el cambio (RESTRICT en DCT) y serán vueltos a su "
     "valor original."},
    {35, Q, "Error AutoNumeración",
     "Los intentos para numerar automaticamente han fallado. Error: %ErrorText. ¿ Intentar "
     "nuevamente?"},
    {36, Q, "Error en Borrar Registro",
     "Un error fue experimentado al borrar el registro. ¿Desea intentar borrar nuevamente?"},
    {37, Q, "Error al Actualizar",
     "Un error se ha producido al grabar el registro. ¿Desea intentar grabarlo nuevamente?"},
    {38, Q, "Guardar Registro", "¿ Desea guardar los cambios?"},
    {39, Q, "Comienzo de Archivo",
     "El comienzo del archivo fue encontrado. ¿ Desea comenzar nuevamente desde el final del "
     "archivo?"},
    {40, Q, "Error Fin de Archivo",
     "El fin de Archivo fue encontrado . ¿ Desea comenzar nuevamente desde el comienzo ?"},
    {41, N, "Pedido Inválido", "Esta Ficha no puede ser usada para Actualizar un registro"},
    {42, P, "Error de Uso", "Se ha intentado utilizar la tabla (%File) antes de estar ABIERTA"},
    {43, N, "Error al Abrir Vista",
     "Error: (%ErrorText) al intentar abrir la vista (VIEW) actual. Filtros y Rangos serán "
     "ignorados."},
    {44, N, "Columna no soportada en QBE", "La columna salbada en el QBE , %Field no es soportado."},
    {45, N, "Error SMTP", "Ha ocurrido el siguiente Error SMTP: %Message "},
    {46, N, "NNTP Error", "%Message "},
    {47, N, "Error Winsock ", "%Message "},
    {48, F, "WMF Parser Error", "Adding record to queue failed. Parsing %File."},
    {49, F, "WMF Error", "El Archivo %File no es un WMF Valido."},
    {50, F, "WMF Error", "Invalid %Field control found. Parsing %File."},
    {51, F, "WMF Error", "No se ha encontrado el campo %Field en el Archivo %File."},
    {52, N, "Report Writer Error",
     "Poorly Formed Comment String \"%Message\" at Position %Field."},
    {53, N, "Report Writer Error", "Propiedad desconocida %Message."},
}};

}  // namespace

std::span<const fw::ErrorText> SpanishErrorTexts() { return kSpanish; }

const fw::ErrorBlock& DefaultErrors() {
  // A failure (a text too long for the block) would leave an empty table; the catalogue's test
  // rules it out.
  static const fw::ErrorBlock block = [] {
    fw::ErrorBlockResult r = fw::buildErrorBlock(kSpanish);
    return r.ok ? std::move(r.block) : fw::ErrorBlock{0, 0};
  }();
  return block;
}

}  // namespace quillet
