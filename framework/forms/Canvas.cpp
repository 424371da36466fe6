#include "framework/forms/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "framework/rtl/CodePage.h"

QColor ToQColor(TColor Color) {
  return QColor(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

void TCanvas::Polygon(const std::vector<QPoint>& Points) {
  if (!FPainter || Points.empty()) return;
  FPainter->save();
  FPainter->setRenderHint(QPainter::Antialiasing, false);
  FPainter->setPen(ToQColor(Pen.Color));
  FPainter->setBrush(ToQColor(Brush.Color));
  FPainter->drawPolygon(QPolygon(QList<QPoint>(Points.begin(), Points.end())));
  FPainter->restore();
}

int TCanvas::TextWidth(const AnsiString& Text) const {
  return QFontMetrics(FOwner->font()).horizontalAdvance(AnsiToQString(Text));
}
