#include "framework/browse_popup_texts.h"

#include <mutex>

#include "runtime/popup_menu.h"

namespace fw {

namespace {

std::mutex g_mu;
BrowsePopupTexts& texts() {
  static BrowsePopupTexts t;
  return t;
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

int ShowBrowsePopup(const std::vector<std::string>& entries) {
  if (entries.empty()) return 0;
  std::vector<rt::PopupItem> items;
  for (const std::string& e : entries) items.push_back(rt::PopupItem{e, false, false});
  const int choice = rt::popup(items);
  return choice >= 1 && choice <= static_cast<int>(entries.size()) ? choice : 0;
}

}  // namespace fw
