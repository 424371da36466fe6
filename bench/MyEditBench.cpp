// A keystroke in a validated edit box holding 10,000 characters: the key
// press, the insertion, and on release the whole text re-filtered with the
// Italian capitalisation. Beside it the same keystroke in a plain Qt line
// edit holding the same text.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "bench/BenchSupport.h"
#include "controls/MyEdit.h"
#include "framework/rtl/CodePage.h"

namespace {

AnsiString LongText() {
  AnsiString text;
  const char* words[] = {"via ", "della ", "repubblica ", "e ", "piazza ", "dei ", "mille "};
  for (size_t i = 0; text.size() < 10000; ++i) text += words[i % 7];
  text.resize(10000);
  return text;
}

// One typed letter and one Backspace: two keystrokes, the text back as it was.
void TypeAndErase(QWidget* w) {
  QTest::keyClick(w, Qt::Key_A);
  QTest::keyClick(w, Qt::Key_Backspace);
}

// Caret inside a word (the usual case: the text filter leaves the rest of the
// text alone), or at a word's start, where the typed letter takes the capital
// from the letter after it, so the release rewrites the text. With a listener
// on OnKeyUp the typed letter must be seen as typed, so it is inserted first
// and re-cased on the release: the text is laid out twice.
void BM_MyEditKeystroke10k(benchmark::State& state) {
  TMyEdit edit(nullptr);
  if (state.range(1)) edit.OnKeyUp = [](TObject*, WORD&, TShiftState) {};
  edit.SetCharFilter(chFirstCapCong);
  edit.SetMaxLength(0);
  edit.SetText(LongText());
  edit.show();
  edit.setFocus();
  edit.UpdEdit();
  edit.SetSelStart(static_cast<int>(state.range(0)));
  for (auto _ : state) TypeAndErase(&edit);
  state.SetItemsProcessed(state.iterations() * 2);  // items/s = keystrokes per second
}
BENCHMARK(BM_MyEditKeystroke10k)
    ->ArgNames({"caret", "listener"})
    ->Args({5002, 0})
    ->Args({5000, 0})
    ->Args({5002, 1})
    ->Args({5000, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_QLineEditKeystroke10k(benchmark::State& state) {
  QLineEdit edit;
  edit.setMaxLength(32767);
  edit.setText(AnsiToQString(LongText()));
  edit.show();
  edit.setFocus();
  edit.setCursorPosition(5002);
  for (auto _ : state) TypeAndErase(&edit);
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_QLineEditKeystroke10k)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
