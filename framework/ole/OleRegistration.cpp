#include "framework/ole/OleRegistration.h"

#include <mutex>
#include <vector>

namespace {

enum TKind { kDefaultClass, kClass, kRunning };

struct TEntry {
  TOleCookie Cookie;
  TKind Kind;
  AnsiString ProgID;
  TOleFactory Factory;
};

struct TTable {
  std::mutex Lock;
  std::vector<TEntry> Entries;
  TOleCookie LastCookie = 0;
};

// Destroyed at exit with the instances still running, which discards what
// they have not written; nothing revokes from a destructor.
TTable& Table() {
  static TTable table;
  return table;
}

TOleCookie Add(const AnsiString& ProgID, TKind Kind, TOleFactory Factory) {
  TTable& t = Table();
  std::lock_guard lock(t.Lock);
  const TOleCookie cookie = ++t.LastCookie;
  t.Entries.push_back({cookie, Kind, UpperCaseAscii(ProgID), std::move(Factory)});
  return cookie;
}

TOleFactory Find(const AnsiString& ProgID, TKind Kind) {
  const AnsiString key = UpperCaseAscii(ProgID);
  TTable& t = Table();
  std::lock_guard lock(t.Lock);
  for (auto it = t.Entries.rbegin(); it != t.Entries.rend(); ++it)
    if (it->Kind == Kind && it->ProgID == key) return it->Factory;
  return {};
}

}  // namespace

TOleCookie RegisterOleClass(const AnsiString& ProgID, TOleFactory Create) {
  return Add(ProgID, kClass, std::move(Create));
}

TOleCookie RegisterDefaultOleClass(const AnsiString& ProgID, TOleFactory Create) {
  return Add(ProgID, kDefaultClass, std::move(Create));
}

TOleCookie RegisterActiveObject(const AnsiString& ProgID, TOleFactory Attach) {
  return Add(ProgID, kRunning, std::move(Attach));
}

void RevokeOleRegistration(TOleCookie Cookie) {
  TOleFactory gone;  // released outside the lock: it may hold the last reference to a server
  TTable& t = Table();
  std::lock_guard lock(t.Lock);
  for (auto it = t.Entries.begin(); it != t.Entries.end(); ++it) {
    if (it->Cookie == Cookie) {
      gone = std::move(it->Factory);
      t.Entries.erase(it);
      break;
    }
  }
}

TOleFactory FindOleClass(const AnsiString& ProgID) {
  TOleFactory found = Find(ProgID, kClass);
  return found ? found : Find(ProgID, kDefaultClass);
}

TOleFactory FindActiveObject(const AnsiString& ProgID) { return Find(ProgID, kRunning); }

TOleRegistration& TOleRegistration::operator=(TOleRegistration&& Other) noexcept {
  if (this != &Other) {
    Revoke();
    FCookie = Other.FCookie;
    Other.FCookie = 0;
  }
  return *this;
}

void TOleRegistration::Revoke() {
  if (FCookie) RevokeOleRegistration(FCookie);
  FCookie = 0;
}
