#include "framework/forms/FocusTracker.h"

#include <QApplication>
#include <vector>

#include "framework/forms/HandlerGuard.h"
#include "framework/forms/WinControl.h"

namespace {

TFocusTracker* g_tracker = nullptr;

// The focus-taking controls containing W, innermost first, below its window.
std::vector<QPointer<QWidget>> ControlChain(QWidget* W) {
  std::vector<QPointer<QWidget>> chain;
  for (QWidget* w = W; w && !w->isWindow(); w = w->parentWidget())
    if (TWinControl::FromWidget(w)) chain.emplace_back(w);
  return chain;
}

bool Contains(const std::vector<QPointer<QWidget>>& Chain, QWidget* W) {
  for (const auto& p : Chain)
    if (p == W) return true;
  return false;
}

}  // namespace

void TFocusTracker::Install() {
  if (g_tracker || !qApp) return;
  g_tracker = new TFocusTracker(qApp);
}

QWidget* TFocusTracker::FocusedIn(QWidget* Window) {
  return g_tracker ? g_tracker->FLast.value(Window).data() : nullptr;
}

TFocusTracker::TFocusTracker(QObject* Parent) : QObject(Parent) {
  connect(qApp, &QApplication::focusChanged, this, &TFocusTracker::FocusChanged);
}

void TFocusTracker::FocusChanged(QWidget*, QWidget* Now) {
  if (!Now) return;  // the application lost activation: nothing left or entered
  QWidget* window = Now->window();
  if (!FLast.contains(window)) {
    connect(window, &QObject::destroyed, this, [this, window] { FLast.remove(window); });
  }
  QPointer<QWidget> previous = FLast.value(window);
  if (previous == Now) return;
  FLast[window] = Now;

  const auto left = ControlChain(previous);
  const auto entered = ControlChain(Now);
  // A handler may move the focus again; the newer move then takes over.
  const auto superseded = [&] { return FLast.value(window) != Now; };
  for (const auto& w : left) {
    if (superseded()) return;
    if (w && !Contains(entered, w)) {
      if (auto* control = TWinControl::FromWidget(w.data())) Guarded([&] { control->DoExit(); });
    }
  }
  for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
    if (superseded()) return;
    if (*it && !Contains(left, *it)) {
      if (auto* control = TWinControl::FromWidget(it->data())) Guarded([&] { control->DoEnter(); });
    }
  }
}
