#pragma once
// TBitBtn: a push button with a glyph. Of the close kind it closes its form
// itself and does not raise OnClick.
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkClose };

class TBitBtn : public QPushButton, public TWinControl {
  Q_OBJECT
  Q_PROPERTY(int Kind READ KindValue WRITE SetKindValue)
  // The stored glyph: NumGlyphs images side by side.
  Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
  Q_PROPERTY(QPixmap Glyph READ GlyphPixmap WRITE SetGlyphPixmap)
 public:
  explicit TBitBtn(TOwnerArg AOwner);
  QWidget* Widget() override { return this; }
  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

  AnsiString Caption() const;
  void SetCaption(const AnsiString& Value);
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  // A bitmap of NumGlyphs square images side by side: normal, then disabled.
  // The colour of its bottom-left pixel is transparent.
  void SetGlyph(const QImage& Bitmap, int NumGlyphs);
  int NumGlyphs() const { return FNumGlyphs; }

  TNotifyEvent OnClick;

  virtual void Click();

 protected:
  // Enter presses a focused button, as Space does.
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  int KindValue() const { return FKind; }
  void SetKindValue(int Value) { SetKind(static_cast<TBitBtnKind>(Value)); }
  void SetNumGlyphs(int Value) { SetGlyph(FGlyph, Value); }
  QPixmap GlyphPixmap() const { return QPixmap::fromImage(FGlyph); }
  void SetGlyphPixmap(const QPixmap& Value) { SetGlyph(Value.toImage(), FNumGlyphs); }
  TBitBtnKind FKind = bkCustom;
  QImage FGlyph;
  int FNumGlyphs = 1;
};
