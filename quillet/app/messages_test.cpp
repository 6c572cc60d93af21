#include "quillet/app/messages.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/error_catalogue_english.h"
#include "framework/error_class.h"
#include "runtime/codepage.h"

namespace {

constexpr std::uint8_t Q = fw::Severity_Question;
constexpr std::uint8_t P = fw::Severity_ProgramError;
constexpr std::uint8_t F = fw::Severity_Fatal;
constexpr std::uint8_t N = fw::Severity_Notice;

struct Expected {
  std::uint16_t id;
  std::uint8_t severity;
  std::string title;  // UTF-8
  std::string text;   // UTF-8
};

// The messages Quillet's users see, written out independently of the catalogue's source.
const std::vector<Expected> kExpected = {
    {1, N, "Error de Retribución",
     "Error: (%ErrorText) al intentar acceder al registro de tabla %File .  Regresando a ventana previa."},
    {2, N, "Acceso Denegado", "No pudo obtener acceso de escritura en Tabla %File"},
    {3, Q, "Registro Agregado", "Refistro agregado al archivo. ¿ Desea agregar otro ?"},
    {4, N, "Error en Agregar",
     "Un error fue experimentado durante la creación del registro. Error: %ErrorText."},
    {5, N, "¿Agregar nuevo registro?", "Registro no encontrado, ¿desea agregar una nuevo?"},
    {6, N, "Error de Acceso", "El Archivo %File no puede ser cerrado.  Error: %ErrorText."},
    {7, N, "Registro no fue Actualizado",
     "El registro puede haber sido fue modificado por otra estación."},
    {8, N, "Registro no Actualizado",
     "Este registro fue modificado por otra estación. Los cambios serán mostrados ahora. Use el botón Ditto or Ctrl+' para restaurar sus cambios."},
    {9, N, "Error al traer el Regisro",
     "Este registro fue modificado por otra estación. Los cambios serán mostrados ahora.|Error: (%ErrorText) "},
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
     "Este registro esta siendo referenciado desde la tabla %File. Este registro no puede ser eliminado mientras exista esta referencia."},
    {34, N, "Error de Integridad Referencial (Actualización)",
     "Este registro esta siendo referenciado desde la tabla %File. Los campo(s) linkeado(s) fueron configurados para que no permitan el cambio (RESTRICT en DCT) y serán vueltos a su valor original."},
    {35, Q, "Error AutoNumeración",
     "Los intentos para numerar automaticamente han fallado. Error: %ErrorText. ¿ Intentar nuevamente?"},
    {36, Q, "Error en Borrar Registro",
     "Un error fue experimentado al borrar el registro. ¿Desea intentar borrar nuevamente?"},
    {37, Q, "Error al Actualizar",
     "Un error se ha producido al grabar el registro. ¿Desea intentar grabarlo nuevamente?"},
    {38, Q, "Guardar Registro", "¿ Desea guardar los cambios?"},
    {39, Q, "Comienzo de Archivo",
     "El comienzo del archivo fue encontrado. ¿ Desea comenzar nuevamente desde el final del archivo?"},
    {40, Q, "Error Fin de Archivo",
     "El fin de Archivo fue encontrado . ¿ Desea comenzar nuevamente desde el comienzo ?"},
    {41, N, "Pedido Inválido", "Esta Ficha no puede ser usada para Actualizar un registro"},
    {42, P, "Error de Uso", "Se ha intentado utilizar la tabla (%File) antes de estar ABIERTA"},
    {43, N, "Error al Abrir Vista",
     "Error: (%ErrorText) al intentar abrir la vista (VIEW) actual. Filtros y Rangos serán ignorados."},
    {44, N, "Columna no soportada en QBE",
     "La columna salbada en el QBE , %Field no es soportado."},
    {45, N, "Error SMTP", "Ha ocurrido el siguiente Error SMTP: %Message "},
    {46, N, "NNTP Error", "%Message "},
    {47, N, "Error Winsock ", "%Message "},
    {48, F, "WMF Parser Error", "Adding record to queue failed. Parsing %File."},
    {49, F, "WMF Error", "El Archivo %File no es un WMF Valido."},
    {50, F, "WMF Error", "Invalid %Field control found. Parsing %File."},
    {51, F, "WMF Error", "No se ha encontrado el campo %Field en el Archivo %File."},
    {53, N, "Report Writer Error", "Propiedad desconocida %Message."},
    {52, N, "Report Writer Error",
     "Poorly Formed Comment String \"%Message\" at Position %Field."},
};

// The placeholder names a text uses ("%File", "%ErrorText" ...).
std::set<std::string> placeholdersOf(const std::string& text) {
  std::set<std::string> names;
  for (std::size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 1)) {
    std::size_t end = i + 1;
    while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) ++end;
    names.insert(text.substr(i, end - i));
  }
  return names;
}

std::map<std::uint16_t, fw::ErrorEntry> decodeById(const fw::ErrorBlock& block) {
  fw::ErrorEntriesResult r = fw::decodeErrorBlock(block);
  EXPECT_TRUE(r.ok) << r.error;
  std::map<std::uint16_t, fw::ErrorEntry> byId;
  for (const fw::ErrorEntry& e : r.entries) {
    EXPECT_TRUE(byId.emplace(e.id, e).second) << "identifier " << e.id << " appears twice";
  }
  return byId;
}

TEST(QuilletMessages, BlockHoldsExactlyTheSpanishCatalogue) {
  const auto byId = decodeById(quillet::DefaultErrors());
  ASSERT_EQ(byId.size(), kExpected.size());
  EXPECT_EQ(byId.count(32), 0u);
  for (const Expected& want : kExpected) {
    SCOPED_TRACE("message " + std::to_string(want.id));
    auto it = byId.find(want.id);
    ASSERT_NE(it, byId.end());
    EXPECT_EQ(it->second.severity, want.severity);
    EXPECT_EQ(rt::cp1252ToUtf8(it->second.title), want.title);
    EXPECT_EQ(rt::cp1252ToUtf8(it->second.text), want.text);
  }
}

TEST(QuilletMessages, BlockLayoutIsCountThenLatin1Entries) {
  const fw::ErrorBlock& block = quillet::DefaultErrors();
  ASSERT_GE(block.size(), 2u);
  EXPECT_EQ(block[0] | (block[1] << 8), 52);

  // Walk the raw bytes to message 1 and check its title is stored in Latin-1, one byte per
  // character ("Retribución": ó is 0xF3), with the lengths in front.
  std::size_t pos = 2;
  bool found = false;
  while (pos + 3 <= block.size()) {
    const int id = block[pos] | (block[pos + 1] << 8);
    const std::size_t title_len = block[pos + 3];
    const std::string title(block.begin() + pos + 4, block.begin() + pos + 4 + title_len);
    const std::size_t text_len = block[pos + 4 + title_len];
    if (id == 1) {
      EXPECT_EQ(block[pos + 2], N);
      EXPECT_EQ(title, std::string("Error de Retribuci\xF3n"));
      found = true;
      break;
    }
    pos += 4 + title_len + 1 + text_len;
  }
  EXPECT_TRUE(found);
}

TEST(QuilletMessages, EnglishDefaultsCoverEveryIdentifierWithTheSameSeverity) {
  const auto spanish = decodeById(quillet::DefaultErrors());
  const auto english = decodeById(fw::englishDefaultErrors());
  for (const auto& [id, es] : spanish) {
    SCOPED_TRACE("message " + std::to_string(id));
    auto it = english.find(id);
    ASSERT_NE(it, english.end());
    EXPECT_EQ(it->second.severity, es.severity);
    EXPECT_FALSE(it->second.title.empty());
    EXPECT_FALSE(it->second.text.empty());
    // Both languages fill in the same values.
    EXPECT_EQ(placeholdersOf(it->second.text), placeholdersOf(es.text));
  }
  EXPECT_EQ(english.size(), spanish.size());
}

// Shows nothing; remembers the last box and whether the program was told to end.
class LastBox final : public fw::MessagePresenter {
 public:
  int show(std::string_view text, std::string_view caption, fw::MessageIcon, int,
           int default_button) override {
    text_ = text;
    caption_ = caption;
    return default_button;
  }
  void endProgram(int) override { ended_ = true; }
  std::string text_, caption_;
  bool ended_ = false;
};

TEST(QuilletMessages, SpanishTextsReplaceTheEnglishOnesInTheErrorManager) {
  auto box = std::make_shared<LastBox>();
  fw::ErrorClass errors(box);
  fw::ErrorStatusClass status;
  errors.Init(status);
  ASSERT_TRUE(errors.AddErrors(quillet::DefaultErrors()));

  struct Case {
    int code;
    const char* text;
    int store_code;
    const char* store_text;
    const char* expected;  // UTF-8
  };
  const Case cases[] = {
      {2, "File Not Found", 0, "", "Error: (File Not Found (2)) creando CABECERA."},
      {90, "File System Error", 13, "Permission denied",
       "Error: (Permission denied (13)) creando CABECERA."},
  };
  for (const Case& c : cases) {
    box->ended_ = false;
    errors.SetErrors(c.code, c.text, c.store_code, c.store_text);
    errors.ThrowFile(12, "CABECERA");
    EXPECT_EQ(rt::cp1252ToUtf8(box->caption_), "Error en creación de Tabla");
    EXPECT_EQ(rt::cp1252ToUtf8(box->text_),
              std::string(c.expected) + "  Press OK to end this application");
    EXPECT_TRUE(box->ended_);
  }

  // The bar of message 9 becomes a line break.
  errors.Throw(9);
  EXPECT_EQ(rt::cp1252ToUtf8(box->text_),
            "Este registro fue modificado por otra estación. Los cambios serán mostrados "
            "ahora.\nError: (Permission denied (13)) ");
}

}  // namespace
