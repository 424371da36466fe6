#include "framework/ole/OleRegistration.h"

#include <mutex>
#include <vector>

namespace {

struct TEntry {
  TOleCookie Cookie;
  bool Running;
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

TOleCookie Add(const AnsiString& ProgID, bool Running, TOleFactory Factory) {
  TTable& t = Table();
  std::lock_guard lock(t.Lock);
  const TOleCookie cookie = ++t.LastCookie;
  t.Entries.push_back({cookie, Running, UpperCaseAscii(ProgID), std::move(Factory)});
  return cookie;
}

TOleFactory Find(const AnsiString& ProgID, bool Running) {
  const AnsiString key = UpperCaseAscii(ProgID);
  TTable& t = Table();
  std::lock_guard lock(t.Lock);
  for (auto it = t.Entries.rbegin(); it != t.Entries.rend(); ++it)
    if (it->Running == Running && it->ProgID == key) return it->Factory;
  return {};
}

}  // namespace

TOleCookie RegisterOleClass(const AnsiString& ProgID, TOleFactory Create) {
  return Add(ProgID, false, std::move(Create));
}

TOleCookie RegisterActiveObject(const AnsiString& ProgID, TOleFactory Attach) {
  return Add(ProgID, true, std::move(Attach));
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

TOleFactory FindOleClass(const AnsiString& ProgID) { return Find(ProgID, false); }

TOleFactory FindActiveObject(const AnsiString& ProgID) { return Find(ProgID, true); }

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
