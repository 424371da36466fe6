#include "framework/forms/BitBtn.h"

#include <QBitmap>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QStyle>

#include "framework/forms/Form.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

TBitBtn::TBitBtn(TOwnerArg AOwner) : QPushButton(AOwner.Parent), TWinControl(AOwner.Owner) {
  SetTabStop(true);
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] { Guarded([this] { Click(); }); });
}

AnsiString TBitBtn::Caption() const { return QStringToAnsi(text()); }

void TBitBtn::SetCaption(const AnsiString& Value) { setText(AnsiToQString(Value)); }

namespace {

// The toolkit's glyph of a kind, decoded once: loading it costs more than
// building the rest of a small form.
QIcon KindIcon(QStyle* Style, QStyle::StandardPixmap Pixmap) {
  static QHash<int, QIcon> cache;
  auto it = cache.find(Pixmap);
  if (it == cache.end()) it = cache.insert(Pixmap, Style->standardIcon(Pixmap));
  return *it;
}

}  // namespace

void TBitBtn::SetKind(TBitBtnKind Value) {
  FKind = Value;
  if (Value == bkClose) setIcon(KindIcon(style(), QStyle::SP_DialogCloseButton));
  if (Value == bkOK) setIcon(KindIcon(style(), QStyle::SP_DialogOkButton));
  if (Value == bkCancel) setIcon(KindIcon(style(), QStyle::SP_DialogCancelButton));
}

void TBitBtn::SetGlyph(const QImage& Bitmap, int NumGlyphs) {
  FGlyph = Bitmap;
  FNumGlyphs = std::max(1, NumGlyphs);
  if (Bitmap.isNull()) return;
  const int side = Bitmap.width() / FNumGlyphs;
  const QRgb transparent = Bitmap.pixel(0, Bitmap.height() - 1);
  QIcon icon;
  for (int i = 0; i < FNumGlyphs && i < 2; ++i) {
    QPixmap image = QPixmap::fromImage(Bitmap.copy(i * side, 0, side, Bitmap.height()));
    image.setMask(image.createMaskFromColor(QColor::fromRgb(transparent), Qt::MaskInColor));
    icon.addPixmap(image, i == 0 ? QIcon::Normal : QIcon::Disabled);
  }
  setIcon(icon);
  setIconSize(QSize(side, Bitmap.height()));
}

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (auto* form = dynamic_cast<TForm*>(window())) {
      form->Close();
      return;
    }
  }
  if (OnClick) OnClick(this);
}

void TBitBtn::keyPressEvent(QKeyEvent* Event) {
  const int key = Event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
      (Event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    Event->accept();
    if (!Event->isAutoRepeat()) click();
    return;
  }
  QPushButton::keyPressEvent(Event);
}

bool TBitBtn::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnClick") {
    Method.BindTo(OnClick);
    return true;
  }
  return TWinControl::BindEvent(Event, Method);
}
