#include "framework/rtl/Component.h"

#include <algorithm>

#include "framework/rtl/Exceptions.h"

namespace {

bool IsIdentifier(const AnsiString& S) {
  if (S.empty()) return false;
  const auto ok = [](char c, bool first) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           (!first && c >= '0' && c <= '9');
  };
  if (!ok(S[0], true)) return false;
  return std::all_of(S.begin() + 1, S.end(), [&](char c) { return ok(c, false); });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->Insert(this);
}

TComponent::~TComponent() {
  // Owned components go first, newest last-in first-out as the framework does.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    FComponents.pop_back();
    c->FOwner = nullptr;
    delete c;
  }
  if (FOwner) FOwner->Remove(this);
}

void TComponent::ValidateName(const AnsiString& NewName, TComponent* AOwner) const {
  if (NewName.empty()) return;
  if (!IsIdentifier(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (AOwner) {
    TComponent* other = AOwner->FindComponent(NewName);
    if (other && other != this)
      throw EComponentError("A component named " + NewName + " already exists");
  }
}

void TComponent::SetName(const AnsiString& NewName) {
  if (NewName == FName) return;
  ValidateName(NewName, FOwner);
  FName = NewName;
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
  if (AName.empty()) return nullptr;
  const AnsiString key = UpperCaseAscii(AName);
  for (TComponent* c : FComponents)
    if (UpperCaseAscii(c->FName) == key) return c;
  return nullptr;
}

void TComponent::ChangeOwner(TComponent* NewOwner) {
  if (NewOwner == FOwner) return;
  ValidateName(FName, NewOwner);
  if (FOwner) FOwner->Remove(this);
  if (NewOwner) NewOwner->Insert(this);
}

void TComponent::Insert(TComponent* C) {
  FComponents.push_back(C);
  C->FOwner = this;
}

void TComponent::Remove(TComponent* C) {
  // Also while this owner is being destroyed: deleting one owned control can
  // delete others (a widget's children), which then leave the list here.
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), C), FComponents.end());
  C->FOwner = nullptr;
}
