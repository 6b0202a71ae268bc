// The file error dialog's logic: texts, history, ignore modes and the retry entries.
#include "base/IOError.h"

#include <algorithm>
#include <cstring>

#include "base/FileIO.h"
#include "base/Paths.h"
#include "platform/Services.h"

namespace kelvra {

TIOErrorState gIOError;

void ResetIOErrors() {
  gIOError = TIOErrorState{};
}

std::string IOErrorMessage(int code) {
  std::string text = std::strerror(code);
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  size_t b = text.find_first_not_of(' ');
  size_t e = text.find_last_not_of(' ');
  text = b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
  return text + " (" + std::to_string(code) + ")";
}

std::string IOErrorFileFilter(const std::string& fileName) {
  std::string ext = ExtractFileExt(fileName);
  if (ext.empty()) return "Any file (*.*)|*.*";
  return "(*." + ext + ")|*." + ext + "|Any file (*.*)|*.*";
}

namespace {

const char* const kCaption[3] = {"IO Error", "File Error", "Internal Error"};

// Shows one error; returns true for retry. `fileName` may be replaced by "&File...".
bool ShowError(int kind, const std::string& message, std::string* fileName, bool retry,
               FileOwner owner) {
  std::string text = message;
  if (fileName && !fileName->empty()) text += "\r\n" + *fileName;

  if (gIOError.ignoreMode == 2) return false;
  if (gIOError.ignoreMode == 1 &&
      std::find(gIOError.history.begin(), gIOError.history.end(), text) != gIOError.history.end())
    return false;
  gIOError.history.push_back(text);

  PlatformServices& platform = Platform();
  platform.Beep();
  IOErrorRequest request;
  request.kind = kind;
  request.caption = kCaption[kind];
  request.text = text;
  request.history = &gIOError.history;
  request.retryOffered = retry;
  request.fileButton = retry && kind != ekInternal;
  request.fileName = fileName ? *fileName : std::string();
  request.quitOffered = owner == FileOwner::User;

  IOErrorReply reply = platform.FileErrorDialog(request);
  switch (reply.choice) {
    case IOErrorChoice::Retry:
      if (!retry) return false;
      if (fileName && reply.chosenFile) *fileName = *reply.chosenFile;
      return true;
    case IOErrorChoice::Ignore:
      return false;
    case IOErrorChoice::IgnoreAll:
      gIOError.ignoreMode = 1;
      return false;
    case IOErrorChoice::IgnoreReallyAll:
      gIOError.ignoreMode = 2;
      return false;
    case IOErrorChoice::Close:
      if (owner != FileOwner::User) return false;  // not offered: an old answer script
      // Closing may be asked while a save that closing itself started is in progress:
      // the request is queued, never run inside the dialog.
      platform.RequestMainClose();
      return false;
    case IOErrorChoice::Terminate:
      if (owner != FileOwner::User) return false;
      platform.Terminate(1);
  }
  return false;
}

}  // namespace

void IOError(const std::string& fileName, int code, FileOwner owner) {
  std::string name = fileName;
  ShowError(ekIO, IOErrorMessage(code), &name, false, owner);
}

bool IOErrorRetry(std::string& fileName, int code, FileOwner owner) {
  return ShowError(ekIO, IOErrorMessage(code), &fileName, true, owner);
}

void FileError(const std::string& fileName, const std::string& message, FileOwner owner) {
  std::string name = fileName;
  ShowError(ekFile, message, &name, false, owner);
}

bool FileErrorRetry(std::string& fileName, const std::string& message, FileOwner owner) {
  return ShowError(ekFile, message, &fileName, true, owner);
}

void ErrorMsg(const std::string& message, FileOwner owner) {
  ShowError(ekInternal, message, nullptr, false, owner);
}

bool RetryFault(std::string& fileName, const FileFault& fault, FileOwner owner) {
  if (fault.code != 0) return IOErrorRetry(fileName, fault.code, owner);
  return FileErrorRetry(fileName, fault.message.empty() ? "Unexpected end of file" : fault.message,
                        owner);
}

}  // namespace kelvra
