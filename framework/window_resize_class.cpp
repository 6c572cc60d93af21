#include "framework/window_resize_class.h"

#include <algorithm>
#include <cmath>

#include "framework/request_codes.h"
#include "runtime/event.h"
#include "runtime/vocabulary.h"

namespace fw {

namespace {

// Controls that take the room a larger window offers.
bool stretches(int type) {
  switch (type) {
    case rt::CONTROL_List:
    case rt::CONTROL_Sheet:
    case rt::CONTROL_Panel:
    case rt::CONTROL_Group:
    case rt::CONTROL_Box:
    case rt::CONTROL_Region:
    case rt::CONTROL_Image:
    case rt::CONTROL_Text:
    case rt::CONTROL_RichText:
      return true;
    default:
      return false;
  }
}

// Controls that hold others by position.
bool contains_others(int type) {
  return type == rt::CONTROL_Sheet || type == rt::CONTROL_Panel || type == rt::CONTROL_Group ||
         type == rt::CONTROL_Box || type == rt::CONTROL_Option;
}

bool inside(const rt::Rect& inner, const rt::Rect& outer) {
  int iw = inner.has_size ? inner.w : 0, ih = inner.has_size ? inner.h : 0;
  return outer.x <= inner.x && outer.y <= inner.y && inner.x + iw <= outer.x + outer.w &&
         inner.y + ih <= outer.y + outer.h;
}

long long area(const rt::Rect& r) { return r.has_size ? static_cast<long long>(r.w) * r.h : 0; }

bool sameRect(const rt::Rect& a, const rt::Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h && a.has_pos == b.has_pos &&
         a.has_size == b.has_size;
}

int scaled(int v, int to, int from) {
  return static_cast<int>(std::lround(static_cast<double>(v) * to / from));
}

// Along one axis: the control's new start and length inside its parent, which moved by `shift`
// and grew by `growth`.
void anchor(ResizeAnchor a, int start, int length, int shift, int growth, int* out_start, int* out_length) {
  *out_start = start + shift;
  *out_length = length;
  if (a == ResizeAnchor::Far) *out_start += growth;
  if (a == ResizeAnchor::Stretch) *out_length = std::max(0, length + growth);
}

constexpr int kMaxDepth = 64;  // parents form no loops; this only bounds a broken table

}  // namespace

int WindowResizeClass::Init(rt::Window& window, int strategy, int min_w, int min_h, int max_w, int max_h) {
  window_ = nullptr;
  items_.clear();
  strategy_ = Resize_None;
  if (strategy < Resize_None || strategy > Resize_Spread) return Level_Notify;
  if (min_w < kDesignSize || min_h < kDesignSize || max_w < 0 || max_h < 0) return Level_Notify;
  if (!window.isOpen()) return Level_Notify;
  auto view = rt::viewOf(window.id());
  if (!view || view->pos.w <= 0 || view->pos.h <= 0) return Level_Notify;

  window_ = &window;
  strategy_ = strategy;
  design_w_ = view->pos.w;
  design_h_ = view->pos.h;
  min_w_ = min_w == kDesignSize ? design_w_ : min_w;
  min_h_ = min_h == kDesignSize ? design_h_ : min_h;
  max_w_ = max_w;
  max_h_ = max_h;

  std::map<int, int> declared;  // control -> the SHEET or TAB it was declared in
  for (const rt::ControlView& c : view->controls) {
    if (c.parent != 0) declared[c.feq] = c.parent;
    if (!c.pos.has_pos || c.over_list != 0) continue;  // tabs; cell editors belong to their lists
    Item item;
    item.feq = c.feq;
    item.type = c.type;
    item.design = c.pos;
    items_.push_back(item);
  }
  // A control declared in a TAB belongs to the TAB's sheet: remember that sheet as its declared
  // parent for SetParentDefaults.
  declared_.clear();
  for (const auto& [feq, parent] : declared) {
    int p = parent;
    if (Find(p) == nullptr) {
      auto up = declared.find(p);
      p = up != declared.end() ? up->second : 0;
    }
    if (Find(feq) != nullptr && Find(p) != nullptr && p != feq) declared_[feq] = p;
  }
  return Level_Benign;
}

void WindowResizeClass::SetParentDefaults() {
  for (Item& item : items_) item.parent = 0;
  for (Item& item : items_) {
    if (auto d = declared_.find(item.feq); d != declared_.end()) {
      item.parent = d->second;
      continue;
    }
    const Item* best = nullptr;
    for (const Item& c : items_) {
      if (&c == &item || !contains_others(c.type) || !c.design.has_size) continue;
      if (!inside(item.design, c.design)) continue;
      // Equal rectangles: the one declared first holds the other, never both ways.
      if (area(c.design) < area(item.design)) continue;
      if (area(c.design) == area(item.design) && c.feq > item.feq) continue;
      if (!best || area(c.design) < area(best->design) ||
          (area(c.design) == area(best->design) && c.feq > best->feq))
        best = &c;
    }
    item.parent = best ? best->feq : 0;
  }
  // A declared parent may still have been grouped under one of its own children by position;
  // break such loops by sending the child to the window.
  for (Item& item : items_)
    if (item.parent != 0 && IsAncestor(item.feq, item.parent)) item.parent = 0;
}

bool WindowResizeClass::IsAncestor(int ancestor, int feq) const {
  int p = feq;
  for (int depth = 0; depth < kMaxDepth && p != 0; ++depth) {
    if (p == ancestor) return true;
    const Item* i = Find(p);
    p = i ? i->parent : 0;
  }
  return p != 0;  // too deep: treat as a loop
}

bool WindowResizeClass::SetParent(int feq, int parent_feq) {
  Item* item = Find(feq);
  if (!item) return false;
  if (parent_feq != 0 && (Find(parent_feq) == nullptr || IsAncestor(feq, parent_feq))) return false;
  item->parent = parent_feq;
  return true;
}

int WindowResizeClass::GetParent(int feq) const {
  const Item* item = Find(feq);
  return item ? item->parent : 0;
}

bool WindowResizeClass::SetStrategy(int feq, ResizeAnchor horizontal, ResizeAnchor vertical) {
  Item* item = Find(feq);
  if (!item) return false;
  item->h = horizontal;
  item->v = vertical;
  return true;
}

const WindowResizeClass::Item* WindowResizeClass::Find(int feq) const {
  for (const Item& i : items_)
    if (i.feq == feq) return &i;
  return nullptr;
}

WindowResizeClass::Item* WindowResizeClass::Find(int feq) {
  return const_cast<Item*>(static_cast<const WindowResizeClass*>(this)->Find(feq));
}

void WindowResizeClass::ParentRects(int parent, int w, int h, rt::Rect* design, rt::Rect* placed, int depth) const {
  const Item* p = parent != 0 ? Find(parent) : nullptr;
  if (!p || depth >= kMaxDepth) {
    *design = rt::Rect{0, 0, design_w_, design_h_, true, true};
    *placed = rt::Rect{0, 0, w, h, true, true};
    return;
  }
  *design = p->design;
  *placed = Place(*p, w, h, depth + 1);
}

rt::Rect WindowResizeClass::Place(const Item& item, int w, int h, int depth) const {
  rt::Rect r = item.design;
  if (strategy_ == Resize_None) return r;
  if (strategy_ == Resize_Scale) {
    r.x = scaled(r.x, w, design_w_);
    r.y = scaled(r.y, h, design_h_);
    if (r.has_size) {
      r.w = scaled(r.w, w, design_w_);
      r.h = scaled(r.h, h, design_h_);
    }
    return r;
  }

  rt::Rect pd, pp;
  ParentRects(item.parent, w, h, &pd, &pp, depth);
  auto rule = [&](ResizeAnchor given, int start, int length, int parent_start, int parent_length) {
    if (given != ResizeAnchor::Auto) return given;
    int offset = start - parent_start;
    if (stretches(item.type) && item.design.has_size) {
      // A stretching control that starts in the far half (a second list beside the first, a
      // panel at the right) moves with the far edge instead, so that neighbours never overlap.
      return 2 * offset > parent_length ? ResizeAnchor::Far : ResizeAnchor::Stretch;
    }
    // Centre in the far half of the parent: keep the distance from the far edge.
    int twice_centre = 2 * offset + (item.design.has_size ? length : 0);
    return twice_centre > parent_length ? ResizeAnchor::Far : ResizeAnchor::Fixed;
  };
  ResizeAnchor ha = rule(item.h, r.x, r.w, pd.x, pd.w);
  ResizeAnchor va = rule(item.v, r.y, r.h, pd.y, pd.h);
  if (!item.design.has_size) {  // a control of natural size only moves
    if (ha == ResizeAnchor::Stretch) ha = ResizeAnchor::Fixed;
    if (va == ResizeAnchor::Stretch) va = ResizeAnchor::Fixed;
  }
  anchor(ha, item.design.x, item.design.w, pp.x - pd.x, pp.w - pd.w, &r.x, &r.w);
  anchor(va, item.design.y, item.design.h, pp.y - pd.y, pp.h - pd.h, &r.y, &r.h);
  return r;
}

rt::Rect WindowResizeClass::PlacementFor(int feq, int w, int h) const {
  const Item* item = Find(feq);
  return item ? Place(*item, w, h, 0) : rt::Rect{};
}

int WindowResizeClass::Resize() {
  if (!window_ || !window_->isOpen()) return Level_Notify;
  rt::Rect pos = window_->position();
  int w = pos.w, h = pos.h;
  if (min_w_ > 0) w = std::max(w, min_w_);
  if (min_h_ > 0) h = std::max(h, min_h_);
  if (max_w_ > 0) w = std::min(w, max_w_);
  if (max_h_ > 0) h = std::min(h, max_h_);
  if (w != pos.w || h != pos.h || !pos.has_size) {
    pos.w = w;
    pos.h = h;
    pos.has_size = true;
    window_->setPosition(pos);
  }
  for (const Item& item : items_) {
    rt::Rect r = Place(item, w, h, 0);
    if (!sameRect(r, window_->controlPosition(item.feq))) window_->setControlPosition(item.feq, r);
  }
  return Level_Benign;
}

int WindowResizeClass::TakeEvent() {
  if (!window_ || rt::field() != 0) return Level_Benign;
  int e = rt::event();
  if (e == rt::EVENT_Sized || e == rt::EVENT_Maximize || e == rt::EVENT_Restore) Resize();
  return Level_Benign;
}

void WindowResizeClass::Kill() {
  window_ = nullptr;
  items_.clear();
  declared_.clear();
}

}  // namespace fw
