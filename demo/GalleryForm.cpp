#include "demo/GalleryForm.h"

TGalleryForm* GalleryForm = nullptr;

TGalleryForm::TGalleryForm(TOwnerArg AOwner) : TForm(AOwner) {
  SetCaption("Astrevo Gallery");
  resize(760, 520);
}
