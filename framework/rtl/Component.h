#pragma once
// TObject and TComponent: the owner relation (an owner destroys what it owns)
// and names unique among an owner's components.
#include <functional>
#include <utility>
#include <vector>

#include "framework/rtl/AnsiString.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

// Event types: object-bound callbacks raised with the component as Sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Binds a method of Obj as an event handler: Bind(form, &TMainForm::CalcButtonClick).
template <class C, class... Args>
std::function<void(Args...)> Bind(C* Obj, void (C::*Method)(Args...)) {
  return [Obj, Method](Args... args) { (Obj->*Method)(std::forward<Args>(args)...); };
}

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const AnsiString& Name() const { return FName; }
  // Throws EComponentError for a name that is not an identifier or that
  // another component of the same owner already has (case-insensitive).
  void SetName(const AnsiString& NewName);

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const { return FComponents.at(static_cast<size_t>(Index)); }
  TComponent* FindComponent(const AnsiString& AName) const;

  // Moves this component to another owner, keeping its name.
  void ChangeOwner(TComponent* NewOwner);

  int Tag = 0;

 private:
  void Insert(TComponent* C);
  void Remove(TComponent* C);
  void ValidateName(const AnsiString& NewName, TComponent* Owner) const;

  TComponent* FOwner = nullptr;
  AnsiString FName;
  std::vector<TComponent*> FComponents;
};
