#pragma once
// Browse_Articulos: the article browse, started from the frame's "&Tablas" menu on a thread of its
// own. For now a placeholder (placeholder_browse.h): an MDI child "Recorrer la tabla Articulos"
// with its "&Cerrar" button, to be replaced by the browse with its list, sort orders and form.

namespace quillet {

namespace browse_articulos {
inline constexpr int CLOSE = 10;  // "&Cerrar"
}

void Browse_Articulos();

}  // namespace quillet
