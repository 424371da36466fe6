#pragma once
// TCanvas: what a control draws with in its Paint: a brush that fills, a pen
// that outlines, polygons and text measure. Colours are the framework's
// TColor values (0x00BBGGRR). Outside a paint it still measures text in the
// control's font.
#include <QPoint>
#include <QWidget>
#include <vector>

#include "framework/rtl/AnsiString.h"

class QPainter;

using TColor = int;
constexpr TColor clBlack = 0x000000;
constexpr TColor clGreen = 0x008000;
constexpr TColor clWhite = 0xFFFFFF;

QColor ToQColor(TColor Color);

struct TBrush {
  TColor Color = clWhite;
};

struct TPen {
  TColor Color = clBlack;
};

class TCanvas {
 public:
  explicit TCanvas(QWidget* Owner) : FOwner(Owner) {}

  TBrush Brush;
  TPen Pen;

  // A polygon outlined with the pen and filled with the brush; needs a paint.
  void Polygon(const std::vector<QPoint>& Points);
  // The width of Text in pixels, in the control's font.
  int TextWidth(const AnsiString& Text) const;

  // Set by the control for the length of a paint.
  void SetPainter(QPainter* Painter) { FPainter = Painter; }
  QPainter* Painter() const { return FPainter; }

 private:
  QWidget* FOwner;
  QPainter* FPainter = nullptr;
};
