#pragma once
// A recording automation server for tests. Registered under a programmatic
// identifier for its lifetime (over any other server of that identifier), it
// accepts every member name, records each request (object, member, kind,
// arguments, locale) in order, and answers property reads and method calls
// with further recording objects, so a client's whole conversation can be
// checked. Faults can be injected per member or per request.
#include <memory>
#include <set>
#include <vector>

#include "framework/ole/Dispatch.h"
#include "framework/ole/OleRegistration.h"

enum class TRequestKind { Get, Put, Call };

struct TRecordedRequest {
  AnsiString
      Object;  // "Application", or the request that gave it: Workbooks, Range("A:A"), Borders(1)
  AnsiString Name;
  TRequestKind Kind;
  std::vector<TVariantArg> Args;
  LCID Locale;

  // Application.Visible = True, Application.Range("A:A"), Workbooks.Add(),
  // Range("A:A").ColumnWidth = 9. Texts are quoted, doubles carry a decimal
  // point ("9.0"), booleans read True/False.
  AnsiString Text() const;
};

class TRecordingAutomation {
 public:
  explicit TRecordingAutomation(const AnsiString& ProgID = "Excel.Application");

  // Also registered as a running instance, so GetActiveOleObject attaches.
  void SetRunning(bool Running);
  // Starting an instance fails, as when the application is not installed.
  void SetCanStart(bool CanStart);

  // The look-up of Name fails.
  void UnknownName(const AnsiString& Name);
  // The Occurrence-th request whose member name or whole Text() equals What fails.
  void FailRequest(const AnsiString& What, int Occurrence = 1);
  // A property read of Name yields a null object.
  void NoObject(const AnsiString& Name);

  const std::vector<TRecordedRequest>& Requests() const;
  std::vector<AnsiString> Texts() const;
  int Starts() const;
  int Attaches() const;
  // Recording objects that clients still hold.
  int LiveObjects() const;

  struct TState;

 private:
  std::shared_ptr<TState> FState;
  AnsiString FProgID;
  TOleRegistration FClass;
  TOleRegistration FRunning;
};
