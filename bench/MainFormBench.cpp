// Start-up cost of the main window: construction from the stored layout to
// its first painted frame on the offscreen platform, beside the same layout
// built from plain Qt widgets and an empty Qt window, measured the same way.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "app/MainForm.h"
#include "framework/forms/Application.h"

namespace {

// Sets a flag when the window receives its first paint event.
struct PaintWatch : QObject {
  bool painted = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void ShowUntilPainted(QWidget* w) {
  PaintWatch watch;
  w->installEventFilter(&watch);
  w->show();
  while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
  w->removeEventFilter(&watch);
}

// The main window's controls as plain Qt widgets, with the same geometry.
QWidget* PlainLayout() {
  auto* form = new QWidget;
  form->resize(462, 212);
  QFont font = form->font();
  font.setPointSize(8);
  form->setFont(font);
  const auto starBox = [form](int top, const char* title) {
    auto* box = new QGroupBox(title, form);
    box->setGeometry(12, top, 229, 85);
    const char* captions[] = {"Image 1", "X", "Y", "Image 2", "X", "Y"};
    const int lefts[] = {16, 86, 156};
    for (int i = 0; i < 6; ++i) (new QLabel(captions[i], box))->move(lefts[i % 3], i < 3 ? 26 : 54);
    for (int i = 0; i < 4; ++i)
      (new QLineEdit(box))->setGeometry(i % 2 ? 168 : 98, i < 2 ? 22 : 50, 43, 21);
  };
  starBox(12, " STAR 1 ");
  starBox(106, " STAR 2  ");
  (new QPushButton("Calculate", form))->setGeometry(284, 120, 129, 25);
  (new QPushButton("Exit", form))->setGeometry(284, 152, 129, 25);
  auto* result = new QGroupBox(" Result ", form);
  result->setGeometry(254, 12, 189, 85);
  const char* captions[] = {"Resize", "%", "Rotate", "degrees"};
  for (int i = 0; i < 4; ++i)
    (new QLabel(captions[i], result))->move(i % 2 ? 134 : 16, i < 2 ? 26 : 54);
  for (int i = 0; i < 2; ++i) {
    auto* edit = new QLineEdit(result);
    edit->setGeometry(62, i ? 50 : 22, 63, 21);
    edit->setReadOnly(true);
  }
  return form;
}

void BM_MainFormFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<TMainForm> form(new TMainForm(nullptr));
    ShowUntilPainted(form.get());
  }
}
BENCHMARK(BM_MainFormFirstPaint)->Unit(benchmark::kMicrosecond);

void BM_PlainQtLayoutFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<QWidget> form(PlainLayout());
    ShowUntilPainted(form.get());
  }
}
BENCHMARK(BM_PlainQtLayoutFirstPaint)->Unit(benchmark::kMicrosecond);

void BM_EmptyQtWindowFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    QWidget form;
    form.resize(462, 212);
    ShowUntilPainted(&form);
  }
}
BENCHMARK(BM_EmptyQtWindowFirstPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TApplication application;
  // One-time costs (font database, style, resources) are paid before timing.
  {
    std::unique_ptr<TMainForm> form(new TMainForm(nullptr));
    ShowUntilPainted(form.get());
    std::unique_ptr<QWidget> plain(PlainLayout());
    ShowUntilPainted(plain.get());
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
