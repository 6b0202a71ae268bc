// The one file-error flow: message building, the run's message history, the ignore modes
// and the retry entries the callers loop on. The window itself is a
// platform service (Qt dialog, or scripted answers when headless).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra {

struct FileFault;

enum IOErrorKind { ekIO = 0, ekFile = 1, ekInternal = 2 };

// Whose file a failure is about. The dialog's "Quit Kelvra" is offered only for what the
// user chose (a level set, a score file, a picture picked in the editor): leaving is a way
// out of a chain of errors on such a file. For the program's own files (the manual, the
// pictures and sounds of its data folder) quitting mends nothing, so it is not offered.
enum class FileOwner : uint8_t { User, Program };

// Ignore modes: 0 show every error, 1 skip texts already in the history, 2 show nothing.
struct TIOErrorState {
  std::vector<std::string> history;  // every text shown in this run, in order
  int ignoreMode = 0;
};
extern TIOErrorState gIOError;

void ResetIOErrors();  // tests only: a new run

void IOError(const std::string& fileName, int code, FileOwner owner = FileOwner::User);
bool IOErrorRetry(std::string& fileName, int code, FileOwner owner = FileOwner::User);
void FileError(const std::string& fileName, const std::string& message,
               FileOwner owner = FileOwner::User);
bool FileErrorRetry(std::string& fileName, const std::string& message,
                    FileOwner owner = FileOwner::User);
void ErrorMsg(const std::string& message, FileOwner owner = FileOwner::User);

// Offers a retry for a failed file operation: the IO error dialog for an OS error code,
// the file error dialog for a content message ("Unexpected end of file" when it has none).
// True when the user chose Retry; `fileName` may have been changed through "&File...".
bool RetryFault(std::string& fileName, const FileFault& fault, FileOwner owner = FileOwner::User);

// The platform's text for an error code on one line, then " (" + code + ")".
std::string IOErrorMessage(int code);
// "&File..." filter for a file name: "(*.ext)|*.ext|Any file (*.*)|*.*".
std::string IOErrorFileFilter(const std::string& fileName);

}  // namespace kelvra
