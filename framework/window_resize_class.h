#pragma once
// WindowResizeClass: the resize manager of a window. It remembers the design rectangle of every
// control and, each time the window has been resized (EVENT_Sized, also after EVENT_Maximize and
// EVENT_Restore), places the controls for the window's new size by its strategy. Controls are
// always placed from their design rectangles, so any number of resizes never drifts.
//
//   rt::Window& w = ThisWindow.Window();       // after the window has opened
//   Resizer.Init(w, fw::Resize_Spread);        // minimum size = design size, no maximum
//   Resizer.SetParentDefaults();               // group controls by position
//   ThisWindow.AddItem(Resizer);               // it takes the window's events from now on
//
// Strategies:
//   Resize_None    controls keep their design rectangles.
//   Resize_Scale   every rectangle scales with the window (x and width by the width ratio, y
//                  and height by the height ratio).
//   Resize_Spread  the anchoring rule, applied to each control within its parent (the window, or
//                  the sheet/panel/group/box that holds it, see SetParentDefaults):
//                  - lists, sheets, panels, groups, boxes, regions, images and multi-line texts
//                    stretch: they keep their distances from both edges of the parent along
//                    each axis, except along an axis where they start in the parent's far half
//                    (a second list beside the first, a panel at the right): there they keep
//                    their size and their distance from the far edge, so neighbours never
//                    overlap;
//                  - every other control keeps its size; horizontally it keeps its distance from
//                    the parent's right edge when its centre lies in the right half of the parent
//                    (so buttons at the right move with it) and from the left edge otherwise;
//                    vertically it keeps its distance from the bottom edge when its centre lies
//                    in the lower half (so buttons below a list follow the bottom edge) and from
//                    the top edge otherwise.
//                  A parent's move carries its children with it; a parent's growth is what its
//                  children anchor to.
// SetStrategy overrides the rule of one control.
//
// Size limits: the window is never left smaller than the minimum size (the design size unless
// given) nor larger than a maximum when one is given: a resize outside them is clamped with the
// runtime's Window::setPosition before the controls are placed.
//
// Controls made at run time (createControl, e.g. an in-list editor's entry) are not the
// resizer's: it leaves them to their owners.
//
// Failure: Init returns Level_Notify (and the resizer stays idle) when the window is not open or
// the strategy is unknown; SetParent and SetStrategy return false for a control that Init did not
// find (or a parent that would make a loop). Threads: the window's thread only.

#include <map>
#include <vector>

#include "framework/window_component.h"
#include "runtime/frontend.h"
#include "runtime/window.h"

namespace fw {

enum ResizeStrategy {
  Resize_None = 0,
  Resize_Scale = 1,
  Resize_Spread = 2,
};

// How one control follows its parent along one axis.
enum class ResizeAnchor {
  Auto,     // the strategy's rule decides
  Fixed,    // keeps its distance from the left (top) edge and its size
  Far,      // keeps its distance from the right (bottom) edge and its size
  Stretch,  // keeps its distances from both edges
};

class WindowResizeClass : public WindowComponent {
 public:
  static constexpr int kDesignSize = -1;  // a minimum equal to the design size
  static constexpr int kNoLimit = 0;      // no minimum / no maximum along that axis

  // Records the window's current size as its design size and every control's rectangle: call it
  // right after the window opens, before a size remembered elsewhere (an INI file) is restored.
  // min_w/min_h: kDesignSize, kNoLimit or a size; max_w/max_h: kNoLimit or a size.
  virtual int Init(rt::Window& window, int strategy = Resize_Spread, int min_w = kDesignSize,
                   int min_h = kDesignSize, int max_w = kNoLimit, int max_h = kNoLimit);

  // The default grouping: a control declared inside a SHEET or TAB belongs to that sheet; any
  // other control belongs to the smallest sheet, panel, group, box or option group whose design
  // rectangle contains its own (a container never holds itself or an enclosing container); the
  // rest belong to the window (parent 0).
  virtual void SetParentDefaults();
  [[nodiscard]] bool SetParent(int feq, int parent_feq);
  int GetParent(int feq) const;  // 0 = the window (or not a control of the resizer)

  [[nodiscard]] bool SetStrategy(int feq, ResizeAnchor horizontal, ResizeAnchor vertical);

  // Places every control for the window's current size, after clamping that size to the limits.
  // Returns Level_Benign, or Level_Notify when the resizer is idle.
  int Resize();

  // The rectangle Resize gives control `feq` for a window of width w and height h (no clamping).
  // has_size false when the control has no design size (it is only moved).
  rt::Rect PlacementFor(int feq, int w, int h) const;

  // The size limits in force (0 = none).
  int MinWidth() const { return min_w_; }
  int MinHeight() const { return min_h_; }
  int MaxWidth() const { return max_w_; }
  int MaxHeight() const { return max_h_; }

  int TakeEvent() override;
  void Kill() override;

 private:
  struct Item {
    int feq = 0;
    int type = 0;
    int parent = 0;
    rt::Rect design;
    ResizeAnchor h = ResizeAnchor::Auto, v = ResizeAnchor::Auto;
  };

  const Item* Find(int feq) const;
  Item* Find(int feq);
  // The parent's rectangle: design and placed, for a window of w x h.
  void ParentRects(int parent, int w, int h, rt::Rect* design, rt::Rect* placed, int depth) const;
  rt::Rect Place(const Item& item, int w, int h, int depth) const;
  bool IsAncestor(int ancestor, int feq) const;

  rt::Window* window_ = nullptr;
  int strategy_ = Resize_None;
  int design_w_ = 0, design_h_ = 0;
  int min_w_ = 0, min_h_ = 0, max_w_ = 0, max_h_ = 0;
  std::vector<Item> items_;
  std::map<int, int> declared_;  // control -> the sheet it was declared in (directly or by its tab)
};

}  // namespace fw
