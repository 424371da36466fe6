#pragma once
// The gallery window: the library's controls placed on one form.
#include "framework/forms/Form.h"

class TGalleryForm : public TForm {
  Q_OBJECT
 public:
  explicit TGalleryForm(TOwnerArg AOwner);
};

extern TGalleryForm* GalleryForm;
