#pragma once
// Browse_Cabecera: the invoice header browse, started from the frame's "&Tablas" menu on a thread
// of its own. For now a placeholder (placeholder_browse.h): an MDI child "Recorrer la tabla
// Cabecera" with its "&Cerrar" button, to be replaced by the browse with its list, sort orders and
// form.

namespace quillet {

namespace browse_cabecera {
inline constexpr int CLOSE = 8;  // "&Cerrar"
}

void Browse_Cabecera();

}  // namespace quillet
