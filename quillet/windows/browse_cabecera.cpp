#include "quillet/windows/browse_cabecera.h"

#include "quillet/windows/placeholder_browse.h"

namespace quillet {

// Placeholder until the header browse exists: its window, title and close button only.
void Browse_Cabecera() {
  rt::WindowSpec spec("Recorrer la tabla Cabecera");
  spec.mdiChild()
      .size(459, 290)
      .frame(rt::FrameKind::Resizable)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Browse:Cabecera")
      .control(rt::ControlSpec::button(browse_cabecera::CLOSE, "&Cerrar")
                   .at(373, 266, 49, 14)
                   .status("Cerrar la ventana"));
  RunPlaceholderBrowse("Browse:Cabecera", spec, browse_cabecera::CLOSE);
}

}  // namespace quillet
