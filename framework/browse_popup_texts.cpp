#include "framework/browse_popup_texts.h"

#include <mutex>

namespace fw {

namespace {

std::mutex g_mu;
BrowsePopupTexts& texts() {
  static BrowsePopupTexts t;
  return t;
}
PopupPresenter& presenter() {
  static PopupPresenter p;
  return p;
}

}  // namespace

void SetBrowsePopupTexts(const BrowsePopupTexts& t) {
  std::lock_guard<std::mutex> lk(g_mu);
  texts() = t;
}

BrowsePopupTexts GetBrowsePopupTexts() {
  std::lock_guard<std::mutex> lk(g_mu);
  return texts();
}

void SetBrowsePopupPresenter(PopupPresenter p) {
  std::lock_guard<std::mutex> lk(g_mu);
  presenter() = std::move(p);
}

int ShowBrowsePopup(rt::Window& window, const std::vector<std::string>& entries) {
  PopupPresenter p;
  {
    std::lock_guard<std::mutex> lk(g_mu);
    p = presenter();
  }
  if (!p || entries.empty()) return 0;
  const int choice = p(window, entries);
  return choice >= 1 && choice <= static_cast<int>(entries.size()) ? choice : 0;
}

}  // namespace fw
