#include "quillet/windows/browse_articulos.h"

#include "quillet/windows/placeholder_browse.h"

namespace quillet {

// Placeholder until the article browse exists: its window, title and close button only.
void Browse_Articulos() {
  rt::WindowSpec spec("Recorrer la tabla Articulos");
  spec.mdiChild()
      .size(261, 198)
      .frame(rt::FrameKind::Double)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Browse:Articulos")
      .control(rt::ControlSpec::button(browse_articulos::CLOSE, "&Cerrar")
                   .at(207, 180, 49, 14)
                   .status("Cerrar la ventana")
                   .icon("Close.ico"));
  RunPlaceholderBrowse("Browse:Articulos", spec, browse_articulos::CLOSE);
}

}  // namespace quillet
