#pragma once
// The framework's exception family. Every error the library raises derives
// from Exception and carries the text shown to the user in Message.
#include <exception>
#include <utility>

#include "framework/rtl/AnsiString.h"

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString Msg) : Message(std::move(Msg)) {}
  const char* what() const noexcept override { return Message.c_str(); }

  AnsiString Message;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EVariantError : public Exception {
 public:
  using Exception::Exception;
};

class EMathError : public Exception {
 public:
  using Exception::Exception;
};

class EZeroDivide : public EMathError {
 public:
  EZeroDivide() : EMathError("Floating point division by zero") {}
};

class EInvalidOp : public EMathError {
 public:
  EInvalidOp() : EMathError("Invalid floating point operation") {}
};

class EOverflow : public EMathError {
 public:
  EOverflow() : EMathError("Floating point overflow") {}
};

class EOleSysError : public Exception {
 public:
  EOleSysError(AnsiString Msg, long Code = 0) : Exception(std::move(Msg)), ErrorCode(Code) {}
  long ErrorCode;
};

// ErrorCode is the database's own (extended) result code, so that callers
// decide by code, not by text; 0 when the data access was misused.
class EDatabaseError : public Exception {
 public:
  explicit EDatabaseError(AnsiString Msg, int Code = 0)
      : Exception(std::move(Msg)), ErrorCode(Code) {}
  int ErrorCode;
};

class EComponentError : public Exception {
 public:
  using Exception::Exception;
};
