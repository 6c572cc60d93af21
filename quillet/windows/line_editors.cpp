#include "quillet/windows/line_editors.h"

#include <cstring>

#include "framework/request_codes.h"
#include "quillet/app/globals.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/dictionary.h"
#include "quillet/windows/browse_articulos.h"
#include "runtime/event.h"
#include "runtime/message_box.h"
#include "runtime/vocabulary.h"
#include "runtime/window_decl.h"

namespace quillet {
namespace {

void warn(const char* text) {
  rt::message(text, kValidationCaption, rt::ICON_Exclamation, rt::BUTTON_OK);
}

bool totalFits(const LinesQueueRecord& row) {
  return FitsTotal(row.ITE_UNITARIO.value() * row.ITE_CANTIDAD.value());
}

}  // namespace

int ForwardEntryClass::TakeEvent(int event) {
  if (event != rt::EVENT_AlertKey) return 0;
  const int action = rt::keyCode() == rt::EnterKey ? 1 : fw::EditClass::TakeEvent(event);
  if (window_ != nullptr && Feq != 0) (void)window_->update(Feq);
  return action;
}

bool ForwardEntryClass::fillLine(bool tell) {
  if (FillLine(row_, ART) == FillResult::Ok) return true;
  if (tell) warn(kLineTotalTooLargeText);
  return false;
}

int QuantityEditClass::TakeEvent(int event) {
  const int result = ForwardEntryClass::TakeEvent(event);
  if (result == 0 || result == 4) return result;
  if (window_ != nullptr && Feq != 0) (void)window_->update(Feq);
  if (row_.ITE_CANTIDAD.value().isZero()) {
    warn(kQuantityMissingText);
    return 8;
  }
  if (!fillLine(true)) return 8;
  if (window_ != nullptr) window_->display();
  return result;
}

int QuantityEditClass::TakeAccepted(int action) {
  const int r = ForwardEntryClass::TakeAccepted(action);
  if (r == 0 || r == 4) return r;
  if (row_.ITE_CANTIDAD.value().isZero()) {
    warn(kQuantityMissingText);
    return 4;
  }
  if (!totalFits(row_)) {
    warn(kLineTotalTooLargeText);
    return 4;
  }
  return r;
}

int ArticleEditClass::CreateControl() {
  rt::ControlDecl decl = rt::ControlDecl::dropCombo(0, ColumnPicture());
  decl.dropButtonOnly().icon("...");
  return MakeCellControl(decl);
}

bool ArticleEditClass::pick() {
  GlobalRequest = static_cast<std::uint8_t>(fw::SelectRecord);
  Browse_Articulos();
  return ART.IDARTICULO != 0;
}

int ArticleEditClass::TakeEvent(int event) {
  const int result = ForwardEntryClass::TakeEvent(event);
  // A total that does not fit is told here when the user moves within the row; when the row is
  // being completed (Down, Up) the quantity's completion check tells it and keeps the row open.
  const bool tell = result != 5 && result != 6;
  if (result != 0 && result != 4) {
    if (window_ != nullptr && Feq != 0) (void)window_->update(Feq);
    ART.IDARTICULO = row_.ITE_IDARTICULO;
    if (Access_ARTICULO->TryFetch(ART_POR_IDARTICULO) == fw::Level_Benign) {
      (void)fillLine(tell);
    } else {
      // No article with that code: the user picks one (the list opens at the first article).
      Access_ARTICULO->ClearBuffer();
      ART.IDARTICULO = 0;
      if (pick()) {
        row_.ITE_IDARTICULO = ART.IDARTICULO;
        (void)fillLine(tell);
      } else {
        row_.ITE_IDARTICULO = 0;
      }
      ResetControl();
    }
    if (window_ != nullptr) window_->display();
  }
  if (event == rt::EVENT_DroppingDown) {
    // "...": the picker opens at the article in the buffer.
    if (pick()) {
      row_.ITE_IDARTICULO = ART.IDARTICULO;
      (void)fillLine(true);
      if (window_ != nullptr) window_->pressKey(rt::EnterKey);
    } else {
      row_.ITE_IDARTICULO = 0;
    }
    ResetControl();
    if (window_ != nullptr) window_->display();
    return 0;
  }
  return result;
}

}  // namespace quillet
