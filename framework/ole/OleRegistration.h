#pragma once
// Where programmatic identifiers ("Excel.Application") meet in-process
// servers: class factories that start an instance, and the table of running
// instances that clients attach to. For each identifier the newest
// registration wins; revoking it uncovers the one before, so a test can lay
// a recording server over the real one for its own lifetime.
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/ole/Dispatch.h"

using TOleFactory = std::function<std::shared_ptr<IDispatch>()>;
using TOleCookie = uint32_t;

// Create starts a new instance and returns a reference to it.
TOleCookie RegisterOleClass(const AnsiString& ProgID, TOleFactory Create);
// The installed server of ProgID: used only while no RegisterOleClass
// registration of ProgID stands, whichever came first.
TOleCookie RegisterDefaultOleClass(const AnsiString& ProgID, TOleFactory Create);
// A running instance: Attach returns a new reference to it.
TOleCookie RegisterActiveObject(const AnsiString& ProgID, TOleFactory Attach);
// Either kind; an unknown or revoked cookie is ignored.
void RevokeOleRegistration(TOleCookie Cookie);

// The newest registration of ProgID (matched without regard to case); empty
// when there is none.
TOleFactory FindOleClass(const AnsiString& ProgID);
TOleFactory FindActiveObject(const AnsiString& ProgID);

// Revokes its registration when it goes.
class TOleRegistration {
 public:
  TOleRegistration() = default;
  explicit TOleRegistration(TOleCookie Cookie) : FCookie(Cookie) {}
  TOleRegistration(TOleRegistration&& Other) noexcept : FCookie(Other.FCookie) {
    Other.FCookie = 0;
  }
  TOleRegistration& operator=(TOleRegistration&& Other) noexcept;
  TOleRegistration(const TOleRegistration&) = delete;
  TOleRegistration& operator=(const TOleRegistration&) = delete;
  ~TOleRegistration() { Revoke(); }

  void Revoke();
  bool Active() const { return FCookie != 0; }

 private:
  TOleCookie FCookie = 0;
};
