// The one file-error flow: message building, the run's message history, the ignore modes
// and the retry entries the callers loop on. The window itself is a
// platform service (Qt dialog, or scripted answers when headless).
#pragma once

#include <string>
#include <vector>

namespace kelvra {

struct FileFault;

enum IOErrorKind { ekIO = 0, ekFile = 1, ekInternal = 2 };

// Ignore modes: 0 show every error, 1 skip texts already in the history, 2 show nothing.
struct TIOErrorState {
  std::vector<std::string> history;  // every text shown in this run, in order
  int ignoreMode = 0;
};
extern TIOErrorState gIOError;

void ResetIOErrors();  // tests only: a new run

void IOError(const std::string& fileName, int code);
bool IOErrorRetry(std::string& fileName, int code);
void FileError(const std::string& fileName, const std::string& message);
bool FileErrorRetry(std::string& fileName, const std::string& message);
void ErrorMsg(const std::string& message);

// Offers a retry for a failed file operation: the IO error dialog for an OS error code,
// the file error dialog for a content message ("Unexpected end of file" when it has none).
// True when the user chose Retry; `fileName` may have been changed through "&File...".
bool RetryFault(std::string& fileName, const FileFault& fault);

// The platform's text for an error code on one line, then " (" + code + ")".
std::string IOErrorMessage(int code);
// "&File..." filter for a file name: "(*.ext)|*.ext|Any file (*.*)|*.*".
std::string IOErrorFileFilter(const std::string& fileName);

}  // namespace kelvra
